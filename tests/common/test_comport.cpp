// TComPort against a real pty linked as COM12.
#include "common/ComPort.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <chrono>
#include <thread>

#include "common/ComResolver.h"
#include "common/DriverError.h"
#include "tests/support/LogCapture.h"
#include "tests/support/PortHolder.h"
#include "tests/support/PtyPair.h"
#include "tests/support/TempConfig.h"

namespace zel {
namespace {

using test::LogCapture;
using test::PtyPair;
using Clock = std::chrono::steady_clock;

const std::string kCyrillicEs = "\u0421";

long long MsSince(Clock::time_point t) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

// Expects body to raise EDriverError with code; returns its message.
template <class F>
std::string ExpectDriverError(int code, F&& body) {
  try {
    body();
  } catch (const EDriverError& e) {
    EXPECT_EQ(e.ErrorCode(), code) << e.what();
    return e.what();
  }
  ADD_FAILURE() << "no EDriverError " << code;
  return {};
}

class ComPortTest : public ::testing::Test {
 protected:
  ComPortTest() {
    test::LinkCom(12, FPty->SlavePath());
    FParams->ComNumber = 12;
    FParams->BaudRate = 2;
    FParams->Timeout = 50;
  }

  // Replaces the device behind COM12 by a new one ("plugged back in").
  void Replug() {
    FPty = std::make_unique<PtyPair>();
    test::LinkCom(12, FPty->SlavePath());
  }

  test::ScopedConfigHome FHome;
  LogCapture FLog;
  std::unique_ptr<PtyPair> FPty = std::make_unique<PtyPair>();
  std::shared_ptr<TConnectionParams> FParams = std::make_shared<TConnectionParams>();
  TComPort FPort{FParams};
};

TEST(BaudRate, IndexTable) {
  const std::pair<int, int> cases[] = {{0, 2400},    {1, 4800},    {2, 9600},    {3, 19200},
                                       {4, 38400},   {5, 57600},   {6, 115200},  {7, 230400},
                                       {8, 460800},  {9, 921600},  {10, 4800},   {42, 4800},
                                       {-1, 4800}};
  for (auto [index, bitRate] : cases) EXPECT_EQ(IntToBaudRate(index), bitRate) << "index " << index;
}

TEST_F(ComPortTest, BaudIndexReachesTheLine) {
  for (int index : {1, 42, 6}) {
    FParams->BaudRate = index;
    FPort.Open();
    termios tio{};
    ASSERT_EQ(tcgetattr(FPort.Handle(), &tio), 0);
    EXPECT_EQ(SpeedToBaudRate(cfgetospeed(&tio)), IntToBaudRate(index)) << "index " << index;
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), 0u);
    FPort.Close();
  }
}

TEST_F(ComPortTest, OpenAndCloseKeepHandleStrAndLog) {
  EXPECT_FALSE(FPort.GetOpened());
  FPort.Open();
  EXPECT_TRUE(FPort.GetOpened());
  EXPECT_EQ(FPort.HandleStr(), std::to_string(FPort.Handle()));
  FPort.Open();  // already open: nothing happens
  FPort.Close();
  EXPECT_FALSE(FPort.GetOpened());
  EXPECT_EQ(FPort.HandleStr(), "Invalid Handle");
  const std::string log = FLog.Text();
  for (const std::string& line : std::vector<std::string>{"[DEBUG] TComPort Open COM12\r\n",
                                 "[DEBUG] TComPort CreateHandle " + ComLinkPath(12) + "\r\n",
                                 "[DEBUG] TComPort Close.1\r\n", "[DEBUG] TComPort Close.2\r\n",
                                 "[DEBUG] TComPort Close.3\r\n"})
    EXPECT_NE(log.find(line), std::string::npos) << line;
}

TEST_F(ComPortTest, MissingDeviceGivesMinus2) {
  test::LinkCom(12, "/dev/zel-no-such-device");
  const std::string text = ExpectDriverError(kPortUnavailable, [&] { FPort.Open(); });
  EXPECT_EQ(text.rfind(kCyrillicEs + "OM", 0), 0u) << text;
  EXPECT_EQ(FPort.HandleStr(), "InvalidHandle");
  EXPECT_FALSE(FPort.GetOpened());
  EXPECT_TRUE(FLog.Contains("[ERROR] TComPort CreateFile ERROR: 0x00000002, No such file or directory\r\n"));

  FParams->ComNumber = 0;  // no device at all for this number
  ExpectDriverError(kPortUnavailable, [&] { FPort.Open(); });
  FParams->ComNumber = 12;
  test::LinkCom(12, "/dev/null");  // exists but is no serial line
  ExpectDriverError(kPortUnavailable, [&] { FPort.Open(); });
}

TEST_F(ComPortTest, PortHeldElsewhereGivesMinus3) {
  {
    test::PortHolder holder(FPty->SlavePath());
    const std::string text = ExpectDriverError(kPortBusy, [&] { FPort.Open(); });
    EXPECT_EQ(text.rfind(kCyrillicEs + "OM", 0), 0u) << text;
    EXPECT_EQ(FPort.HandleStr(), "InvalidHandle");
  }
  FPort.Open();  // free again once the other process let go
  TComPort second(FParams);  // a second port object in this process is kept out as well
  ExpectDriverError(kPortBusy, [&] { second.Open(); });
}

TEST_F(ComPortTest, WriteAndReadBytes) {
  FPort.Open();
  FPort.SetCmdTimeout(500);
  FPort.Write({0x02, 0x05, 0xFC});
  EXPECT_EQ(FPty->Receive(3, 1000), (Bytes{0x02, 0x05, 0xFC}));
  FPty->Send({0x06, 0x10, 0x20});
  std::uint8_t c = 0;
  ASSERT_TRUE(FPort.ReadChar(c));
  EXPECT_EQ(c, 0x06);
  EXPECT_EQ(FPort.Read(2), (Bytes{0x10, 0x20}));
  EXPECT_TRUE(FPort.Read(0).empty());
  FPort.Write({});  // nothing to do
}

TEST_F(ComPortTest, ReadChar_SilentLineReturnsFalseAfterTimeout) {
  FPort.Open();
  FPort.SetCmdTimeout(120);
  const auto start = Clock::now();
  std::uint8_t c = 0;
  EXPECT_FALSE(FPort.ReadChar(c));
  const auto ms = MsSince(start);
  EXPECT_GE(ms, 110);
  EXPECT_LT(ms, 2000);
  EXPECT_TRUE(FLog.Contains("[DEBUG] TComPort SetCmdTimeout 120\r\n"));
  EXPECT_TRUE(FLog.Contains("[DEBUG] TComPort ReadChar\r\n"));
  EXPECT_FALSE(FLog.Contains("ClearCommError"));
  EXPECT_FALSE(FLog.Contains("[ERROR]"));
}

TEST_F(ComPortTest, Read_ShortAnswerFailsWithMinus1) {
  FPort.Open();
  FPort.SetCmdTimeout(300);
  FPty->Send({0x01, 0x02});
  ExpectDriverError(kNoLink, [&] { FPort.Read(3); });
  EXPECT_TRUE(FLog.Contains("TComPort ReadFile ERROR: 0x"));
}

TEST_F(ComPortTest, Read_EndsAtTheGapBetweenBytes) {
  FParams->Timeout = 40;  // gap limit once bytes flow
  FPort.Open();
  FPort.SetCmdTimeout(3000);
  FPty->Send({0x01, 0x02});
  const auto start = Clock::now();
  ExpectDriverError(kNoLink, [&] { FPort.Read(5); });
  EXPECT_LT(MsSince(start), 1500) << "the gap limit did not end the read";
}

// The answer comes in two pieces, the second 200 ms after the first.
TEST_F(ComPortTest, ReadEx_TwoPiecesAgainstItsLimit) {
  FParams->Timeout = 30;
  struct Case {
    int LimitMs;
    bool Completes;
  };
  for (const Case& c : {Case{800, true}, Case{120, false}}) {
    SCOPED_TRACE(c.LimitMs);
    FPort.Open();
    FPort.SetCmdTimeout(600);
    FPty->Send({1, 2, 3});
    std::thread late([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      FPty->Send({4, 5, 6});
    });
    if (c.Completes) {
      EXPECT_EQ(FPort.ReadEx(6, c.LimitMs), (Bytes{1, 2, 3, 4, 5, 6}));
    } else {
      ExpectDriverError(kNoLink, [&] { FPort.ReadEx(6, c.LimitMs); });
    }
    late.join();
    FPort.Close();
  }
}

TEST_F(ComPortTest, ReadEx_SilentLineHitsItsLimit) {
  FPort.Open();
  FPort.SetCmdTimeout(50);
  const auto start = Clock::now();
  ExpectDriverError(kNoLink, [&] { FPort.ReadEx(4, 200); });
  const auto ms = MsSince(start);
  EXPECT_GE(ms, 190);
  EXPECT_LT(ms, 2000);
  FPty->Send({7, 8});
  EXPECT_EQ(FPort.ReadEx(2, 500), (Bytes{7, 8}));
  EXPECT_TRUE(FPort.ReadEx(0, 0).empty());
}

TEST_F(ComPortTest, Purge_DropsPendingInputAndReopensAClosedPort) {
  FPort.Open();
  FPort.SetCmdTimeout(100);
  FPty->Send({1, 2, 3});
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  FPort.Purge();
  std::uint8_t c = 0;
  EXPECT_FALSE(FPort.ReadChar(c));
  FPort.Close();
  FPort.Purge();  // fails on the closed port, reopens, purges
  EXPECT_TRUE(FPort.GetOpened());
  EXPECT_TRUE(FLog.Contains("[DEBUG] TComPort Purge\r\n"));
}

TEST_F(ComPortTest, UnplugDuringReadClosesThePort) {
  FPort.Open();
  FPort.SetCmdTimeout(2000);
  std::thread unplug([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    FPty->Unplug();
  });
  std::uint8_t c = 0;
  const auto start = Clock::now();
  ExpectDriverError(kNoLink, [&] { FPort.ReadChar(c); });
  unplug.join();
  EXPECT_LT(MsSince(start), 1500) << "the hang-up did not end the read";
  EXPECT_FALSE(FPort.GetOpened());
  EXPECT_EQ(FPort.HandleStr(), "Invalid Handle");
  EXPECT_TRUE(FLog.Contains("[DEBUG] TComPort Device closed by deviceremovecomplete\r\n"));
  ExpectDriverError(kNoLink, [&] { FPort.Read(1); });  // stays closed

  Replug();
  FPort.Open();
  FPort.Write({0x05});
  EXPECT_EQ(FPty->Receive(1, 1000), Bytes{0x05});
}

TEST_F(ComPortTest, UnplugWhileIdleIsSeenByTheWatcher) {
  FPort.Open();
  FPty->Unplug();
  const auto start = Clock::now();
  while (FPort.GetOpened() && MsSince(start) < 3000) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_FALSE(FPort.GetOpened());
  EXPECT_TRUE(FLog.Contains("[DEBUG] TDeviceNotification DEVICECHANGE: 8004\r\n"));
  EXPECT_TRUE(FLog.Contains("[DEBUG] TComPort DeviceChanged: 32772\r\n"));
  std::uint8_t c = 0;
  ExpectDriverError(kNoLink, [&] { FPort.ReadChar(c); });  // the owner's next call closes it
  EXPECT_EQ(FPort.HandleStr(), "Invalid Handle");
  EXPECT_TRUE(FLog.Contains("[DEBUG] TComPort Device closed by deviceremovecomplete\r\n"));
}

TEST_F(ComPortTest, Write_ReopensOnceAfterAFailure) {
  FPort.Open();
  const std::string firstHandle = FPort.HandleStr();
  FPty->Unplug();
  Replug();
  FPort.Write({0x05, 0x06});  // first write fails on the dead line, the retry reaches the new device
  EXPECT_EQ(FPty->Receive(2, 1000), (Bytes{0x05, 0x06}));
  EXPECT_TRUE(FPort.GetOpened());
  const std::string log = FLog.Text();
  const auto close = log.find("TComPort Close.3");
  ASSERT_NE(close, std::string::npos);
  EXPECT_NE(log.find("TComPort Open COM12", close), std::string::npos);

  FPty->Unplug();  // and no device at all: the reopen fails
  test::LinkCom(12, "/dev/zel-no-such-device");
  ExpectDriverError(kPortUnavailable, [&] { FPort.Write({0x05}); });
}

TEST_F(ComPortTest, SharedAsISerialPort) {
  std::shared_ptr<ISerialPort> port = CreateComPort(FParams);
  port->Open();
  EXPECT_TRUE(port->GetOpened());
  port.reset();  // destruction closes
  FPort.Open();  // so the device is free again
}

}  // namespace
}  // namespace zel
