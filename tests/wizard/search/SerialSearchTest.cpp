// The serial search against virtual registers on ptys: the rate order, the
// excluded USB identifiers, stopping, and setting up the driver afterwards.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "driver/Zelvox.h"
#include "tests/support/PtyPair.h"
#include "tests/support/TempConfig.h"
#include "tests/wizard/search/EmuProcess.h"
#include "wizard/device/search/DeviceSelect.h"
#include "wizard/device/search/DriverCheck.h"
#include "wizard/device/search/SerialSearch.h"
#include "wizard/device/search/ZelvoxBaudrate.h"
#include "wizard/device/search/ZelvoxSearchDevice.h"

namespace zel {
namespace {

using namespace std::chrono_literals;
using test::EmuProcess;

// Waits up to limit for pred; true when it came.
template <class Pred>
bool WaitFor(Pred pred, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!pred()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

EmuProcess Register(int com, int baud, const std::string& serial, std::vector<std::string> more = {}) {
  std::vector<std::string> args = {"--com", std::to_string(com), "--baud", std::to_string(baud), "--strict-baud",
                                   "--serial", serial};
  args.insert(args.end(), more.begin(), more.end());
  return EmuProcess(args);
}

// The ports present now, without the machine's own.
TSerialPorts PortsOf(std::initializer_list<int> numbers) {
  TSerialPorts all, ours;
  all.EnumPorts();
  for (const auto& p : all.Items)
    for (int n : numbers)
      if (p.ComNumber == n) ours.Add(p);
  return ours;
}

TSerialPortRec UsbPort(int com, const std::string& hwStr) {
  TSerialPortRec rec;
  rec.ComNumber = com;
  rec.Name = "COM" + std::to_string(com);
  rec.FriendlyName = "USB Serial (COM" + std::to_string(com) + ")";
  rec.HWStr = hwStr;
  return rec;
}

TEST(ZelvoxBaudrateTest, CodesBothWays) {
  const int rates[] = {2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600};
  for (int code = 0; code < 10; ++code) {
    EXPECT_EQ(TZelvoxBaudrate::BaudrateToCode(rates[code]), code);
    EXPECT_EQ(TZelvoxBaudrate::CodeToBaudrate(code), rates[code]);
  }
  EXPECT_EQ(TZelvoxBaudrate::BaudrateToCode(1200), 6);
  EXPECT_EQ(TZelvoxBaudrate::CodeToBaudrate(10), 115200);
  EXPECT_EQ(TZelvoxBaudrate::CodeToBaudrate(-1), 115200);
}

class SerialSearchTest : public ::testing::Test {
 protected:
  test::ScopedConfigHome FHome;
};

TEST_F(SerialSearchTest, FindsEachRegisterAtItsRateInTheFixedOrder) {
  EmuProcess fast = Register(71, 115200, "0000000071");
  EmuProcess slow = Register(72, 9600, "0000000072");
  TSerialSearch search;
  search.Start(PortsOf({71, 72, 73}));  // 73: a number with nothing behind it
  ASSERT_EQ(search.Devices().size(), 2u);
  ASSERT_TRUE(WaitFor([&] { return search.AllFinished(); }, 40s));

  const std::vector<TFoundDevice> found = search.TakeFound();
  ASSERT_EQ(found.size(), 2u);
  EXPECT_TRUE(search.TakeFound().empty()) << "a result is listed once";

  const TSearchState f = search.Find(71)->GetState();
  EXPECT_EQ(f.Attempt, 1);
  EXPECT_EQ(search.Find(71)->GetParams().Baudrate, 115200);
  EXPECT_EQ(search.Find(71)->GetSerial(), "0000000071");
  EXPECT_NE(found[0].Text.find(", COM71, 115200, ЗН: 0000000071"), std::string::npos) << found[0].Text;
  EXPECT_GT(f.DeviceID, 0);

  const TSearchState s = search.Find(72)->GetState();
  EXPECT_EQ(s.Attempt, 8);
  EXPECT_EQ(search.Find(72)->GetParams().Baudrate, 9600);
  EXPECT_EQ(found[1].PortNumber, 72);

  // The wizard's driver then reaches the slow one at its rate and is let go again.
  TZelvox driver;
  const TSelectedDevice selected = UseSearchedDevice(driver, *search.Find(72));
  EXPECT_EQ(selected.Serial, "0000000072");
  EXPECT_FALSE(selected.Name.empty());
  EXPECT_EQ(driver.get_BaudRate(), 2);
  EXPECT_FALSE(driver.get_Connected());
}

TEST_F(SerialSearchTest, PortWithoutRegisterEndsNotFound) {
  TSerialSearch search;
  TSerialPorts ports;
  ports.Add(UsbPort(74, "USB\\VID_1234&PID_5678"));  // no device behind COM74
  search.Start(ports);
  ASSERT_TRUE(WaitFor([&] { return search.AllFinished(); }, 20s));
  const TSearchState state = search.Find(74)->GetState();
  EXPECT_FALSE(state.Succeded);
  EXPECT_EQ(state.Text, "Не найдено");
  EXPECT_EQ(state.Attempt, 10);
  EXPECT_TRUE(search.TakeFound().empty());
}

TEST_F(SerialSearchTest, ExcludedUsbIdentifiersAreNeverProbed) {
  test::PtyPair excludedVid, excludedPid, allowed;
  test::LinkCom(75, excludedVid.SlavePath());
  test::LinkCom(76, excludedPid.SlavePath());
  test::LinkCom(77, allowed.SlavePath());
  TSerialPorts ports;
  ports.Add(UsbPort(75, "USB\\VID_0E8D&PID_0003"));
  ports.Add(UsbPort(76, "USB\\VID_1234&PID_2012"));
  ports.Add(UsbPort(77, "USB\\VID_1234&PID_5678"));
  TSerialSearch search;
  search.Start(ports);
  ASSERT_EQ(search.Devices().size(), 1u);
  EXPECT_EQ(search.Find(75), nullptr);
  EXPECT_EQ(search.Find(76), nullptr);
  EXPECT_FALSE(allowed.Receive(1, 3000).empty()) << "the allowed port is probed";
  search.Stop();
  EXPECT_TRUE(excludedVid.ReceiveAll(200).empty());
  EXPECT_TRUE(excludedPid.ReceiveAll(200).empty());
}

TEST_F(SerialSearchTest, StopEndsTheProbeAfterItsCurrentAttempt) {
  test::PtyPair silent;  // takes the bytes, never answers
  test::LinkCom(78, silent.SlavePath());
  TZelvoxSearchDevice device;
  device.SetParams({78, 0, 300});
  device.Search();
  ASSERT_TRUE(WaitFor([&] { return device.GetState().Attempt >= 2; }, 10s));
  const auto stopped = std::chrono::steady_clock::now();
  device.Stop();
  // An attempt on a silent line lasts the driver's five unanswered ENQs of a second each.
  ASSERT_TRUE(WaitFor([&] { return device.GetState().Finished; }, 12s));
  EXPECT_LT(std::chrono::steady_clock::now() - stopped, 7s) << "the current attempt at most";
  EXPECT_LE(device.GetState().Attempt, 3);
  EXPECT_FALSE(device.GetState().Succeded);
  EXPECT_EQ(device.GetState().Text, "Поиск отменен");
}

TEST_F(SerialSearchTest, StopRightAfterSearchIsNotLost) {
  test::PtyPair silent;
  test::LinkCom(79, silent.SlavePath());
  TZelvoxSearchDevice device;
  device.SetParams({79, 0, 300});
  device.Search();
  device.Stop();
  // At most the first attempt runs (five unanswered ENQs); without the stop all ten would.
  ASSERT_TRUE(WaitFor([&] { return device.GetState().Finished; }, 10s));
  EXPECT_EQ(device.GetState().Text, "Поиск отменен");
  EXPECT_LE(device.GetState().Attempt, 1);
}

TEST_F(SerialSearchTest, FailedSerialReadIsNotTakenForTheSerial) {
  EmuProcess reg = Register(80, 115200, "0000000080", {"--mute-command", "ReadSerialNumber"});
  TZelvoxSearchDevice device;
  device.SetParams({80, 0, 300});
  device.Search();
  ASSERT_TRUE(WaitFor([&] { return device.GetState().Finished; }, 10s));
  EXPECT_TRUE(device.GetState().Succeded) << "the register did answer";
  EXPECT_EQ(device.GetSerial(), "");
  EXPECT_EQ(device.GetState().Text.find("0000000080"), std::string::npos);
}

TEST_F(SerialSearchTest, UnansweredStatusIsADriverErrorAndTheDriverLetGo) {
  // No register at all: the status read fails and the step stays.
  TZelvoxSearchDevice device;
  device.SetParams({81, 115200, 300});
  TZelvox driver;
  EXPECT_THROW(UseSearchedDevice(driver, device), EDriverCheck);
  EXPECT_FALSE(driver.get_Connected());
}

// The firmware gate on the device the search found: the last refused day and the first accepted one.
TEST_F(SerialSearchTest, FirmwareOlderThanTheGateIsRefused) {
  struct TCase {
    const char* Date;
    const char* Shown;  // in the refusal; nullptr when accepted
  } cases[] = {{"2018-10-23", "23.10.2018"}, {"2018-10-24", nullptr}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Date);
    EmuProcess reg = Register(82, 115200, "0000000082", {"--firmware-date", c.Date});
    TZelvoxSearchDevice device;
    device.SetParams({82, 0, 300});
    device.Search();
    ASSERT_TRUE(WaitFor([&] { return device.GetState().Finished; }, 10s));
    ASSERT_TRUE(device.GetState().Succeded);
    TZelvox driver;
    if (c.Shown) {
      try {
        UseSearchedDevice(driver, device);
        ADD_FAILURE() << "accepted";
      } catch (const EDriverCheck& e) {
        ADD_FAILURE() << e.what();
      } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), std::string("Прошивка ККТ устарела (") + c.Shown +
                                             ").\r\n Требуется обновить прошивку");
      }
    } else {
      EXPECT_EQ(UseSearchedDevice(driver, device).Serial, "0000000082");
    }
    EXPECT_FALSE(driver.get_Connected()) << "the driver is let go on every path";
  }
}

}  // namespace
}  // namespace zel
