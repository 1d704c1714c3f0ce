// The network search: announcements heard over UDP from virtual registers,
// one row per register, the connection check, and all three kinds of
// register found at once.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QUdpSocket>
#include <chrono>
#include <thread>

#include "driver/Zelvox.h"
#include "tests/support/TempConfig.h"
#include "tests/wizard/search/EmuProcess.h"
#include "wizard/device/search/DeviceSelect.h"
#include "wizard/device/search/SerialSearch.h"
#include "wizard/device/search/TCPDeviceSearch.h"

namespace zel {
namespace {

using test::EmuProcess;

QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "test";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

// Runs the event loop until pred holds or ms passed; true when it held.
template <class Pred>
bool ProcessUntil(Pred pred, int ms) {
  QElapsedTimer timer;
  timer.start();
  while (!pred()) {
    if (timer.elapsed() > ms) return false;
    App().processEvents(QEventLoop::AllEvents, 20);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

EmuProcess AnnouncingRegister(const std::string& serial, quint16 udpPort) {
  return EmuProcess({"--tcp", "0", "--announce", "lo", "--announce-port", std::to_string(udpPort),
                     "--announce-interval", "50", "--serial", serial});
}

class NetworkSearchTest : public ::testing::Test {
 protected:
  NetworkSearchTest() { App(); }
  test::ScopedConfigHome FHome;
};

TEST_F(NetworkSearchTest, RepeatedAnnouncementGivesOneRowWhoseCheckSucceeds) {
  TTCPDeviceSearch search;
  std::vector<TTCPSearchItem> rows;
  search.SetOnFound([&](const TTCPSearchItem& item) { rows.push_back(item); });
  ASSERT_TRUE(search.Start(0, QHostAddress::LocalHost)) << search.ErrorText();
  EmuProcess reg = AnnouncingRegister("0000000090", search.LocalPort());

  ASSERT_TRUE(ProcessUntil([&] { return !rows.empty(); }, 5000));
  ProcessUntil([] { return false; }, 400);  // several more announcements of the same register
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(search.Items().Count(), 1);
  EXPECT_EQ(rows[0].Serial, "0000000090");
  EXPECT_EQ(rows[0].IP, "127.0.0.1");
  EXPECT_EQ(rows[0].Port, reg.TcpPort());

  TZelvox driver;
  const TTCPCheckResult check = CheckTCPConnection(driver, rows[0].IP, rows[0].Port);
  EXPECT_TRUE(check.Ok) << check.Text;
  EXPECT_EQ(check.Device.Serial, "0000000090");
  EXPECT_EQ(check.Text.rfind("Найдено устройство " + check.Device.Name + ", Зав. номер: 0000000090\r\n", 0), 0u)
      << check.Text;
  EXPECT_FALSE(driver.get_Connected());

  search.Stop();
  EXPECT_FALSE(search.Active());
  EXPECT_EQ(search.Items().Count(), 0);
}

TEST_F(NetworkSearchTest, MalformedDatagramsAddNothing) {
  TTCPDeviceSearch search;
  int found = 0;
  search.SetOnFound([&](const TTCPSearchItem&) { ++found; });
  ASSERT_TRUE(search.Start(0, QHostAddress::LocalHost));
  QUdpSocket sender;
  for (const char* text : {"SN=1;IP=127.0.0.1; prt=7778", "SN=1;IP=127.0.0.1; port=x", "SN=;IP=127.0.0.1; port=1",
                           "SN=2;IP=300.0.0.1; port=7778", "SN=3;IP=127.0.0.1; port=70000"})
    sender.writeDatagram(QByteArray(text), QHostAddress::LocalHost, search.LocalPort());
  sender.writeDatagram(QByteArray("SN=4;IP=127.0.0.1; port=7778"), QHostAddress::LocalHost, search.LocalPort());
  ASSERT_TRUE(ProcessUntil([&] { return found > 0; }, 3000));
  EXPECT_EQ(found, 1);
  EXPECT_EQ(search.Items().GetItem(0).Serial, "4");
}

TEST_F(NetworkSearchTest, ConnectionCheckRefusals) {
  TZelvox driver;
  const int closed = test::ClosedTcpPort();
  struct TCase {
    std::string Address;
    int Port;
    std::string Text;
  } cases[] = {
      {"", 7778, "Неверный адрес ККТ"},
      {"192.168.1", 7778, "Неверный адрес ККТ"},
      {"256.1.1.1", 7778, "Неверный адрес ККТ"},
      {"kkt one", 7778, "Неверный адрес ККТ"},
      {"127.0.0.1", 0, "Порт должен быть числом от 1 до 65535"},
      {"127.0.0.1", 65536, "Порт должен быть числом от 1 до 65535"},
      {"127.0.0.1", closed, "Нет связи с устройством"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Address + ":" + std::to_string(c.Port));
    const TTCPCheckResult r = CheckTCPConnection(driver, c.Address, c.Port);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Text, c.Text);
    EXPECT_TRUE(r.Device.Serial.empty());
    EXPECT_FALSE(driver.get_Connected());
  }
  EXPECT_EQ(CheckTCPAddress("localhost", 7778), "");
  EXPECT_EQ(CheckTCPAddress(" 10.0.0.5 ", 1), "");
}

// Two registers on ptys at different rates and one on the network, all found
// while both searches run at the same time.
TEST_F(NetworkSearchTest, SerialAndNetworkRegistersFoundTogether) {
  TTCPDeviceSearch udp;
  std::vector<TTCPSearchItem> rows;
  udp.SetOnFound([&](const TTCPSearchItem& item) { rows.push_back(item); });
  ASSERT_TRUE(udp.Start(0, QHostAddress::LocalHost));
  EmuProcess a({"--com", "91", "--baud", "57600", "--strict-baud", "--serial", "0000000091"});
  EmuProcess b({"--com", "92", "--baud", "19200", "--strict-baud", "--serial", "0000000092"});
  EmuProcess net = AnnouncingRegister("0000000093", udp.LocalPort());

  TSerialPorts all, ports;
  all.EnumPorts();
  for (const auto& p : all.Items)
    if (p.ComNumber == 91 || p.ComNumber == 92) ports.Add(p);
  TSerialSearch serial;
  serial.Start(ports);
  std::vector<TFoundDevice> listed;
  ASSERT_TRUE(ProcessUntil(
      [&] {
        for (auto& f : serial.TakeFound()) listed.push_back(f);  // as the page's timer does
        return serial.AllFinished() && !rows.empty();
      },
      40000));
  for (auto& f : serial.TakeFound()) listed.push_back(f);
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(serial.Find(91)->GetParams().Baudrate, 57600);
  EXPECT_EQ(serial.Find(91)->GetState().Attempt, 6);
  EXPECT_EQ(serial.Find(92)->GetParams().Baudrate, 19200);
  EXPECT_EQ(serial.Find(92)->GetState().Attempt, 7);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].Serial, "0000000093");
  EXPECT_EQ(rows[0].Port, net.TcpPort());
}

}  // namespace
}  // namespace zel
