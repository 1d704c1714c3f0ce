// The network check task against a virtual register reached over its pty,
// whose tables point at its own TCP port (or at a closed one).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <thread>

#include "driver/Zelvox.h"
#include "tests/support/TempConfig.h"
#include "tests/wizard/search/EmuProcess.h"
#include "wizard/device/search/DriverCheck.h"
#include "wizard/device/work/CheckLANWorkTask.h"

namespace zel {
namespace {

using test::EmuProcess;
constexpr int kCom = 95;

QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "test";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

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

void WriteInt(TZelvox& d, int table, int field, std::int64_t value) {
  d.put_TableNumber(table);
  d.put_RowNumber(1);
  d.put_FieldNumber(field);
  d.put_ValueOfFieldInteger(value);
  DriverCheck(d, d.WriteTable());
}

// A register on COM kCom whose network tables name 127.0.0.1:tcpPort, DHCP mode on.
void PointAt(TZelvox& d, int tcpPort) {
  d.put_ConnectionType(0);
  d.put_ComNumber(kCom);
  d.put_BaudRate(6);
  d.put_Password(30);
  WriteInt(d, 16, 1, 0);
  const int octets[] = {127, 0, 0, 1};
  for (int i = 0; i < 4; ++i) WriteInt(d, 16, 3 + i, octets[i]);
  WriteInt(d, 21, 4, tcpPort);
}

class LanCheckTest : public ::testing::Test {
 protected:
  LanCheckTest() { App(); }
  test::ScopedConfigHome FHome;
};

TEST_F(LanCheckTest, Outcomes) {
  const int closed = test::ClosedTcpPort();
  struct TCase {
    const char* Name;
    int DhcpState;
    bool ClosedPort;
    bool Ok;
    std::string Text;  // the start of the final text
    int Items;
  } cases[] = {
      {"DHCP ready", 10, false, true, "Связь успешно установлена: 127.0.0.1:", 2},
      {"DHCP stuck", 3, false, false, "Не удается получить IP по DHCP 3", 0},
      {"refused", 10, true, false, "Ошибка подключения к : 127.0.0.1:" + std::to_string(closed) + ", ", 1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EmuProcess reg({"--com", std::to_string(kCom), "--tcp", "0", "--dhcp-state", std::to_string(c.DhcpState)});
    TZelvox driver;
    PointAt(driver, c.ClosedPort ? closed : reg.TcpPort());
    TCheckLANWorkTask task(driver);
    task.SetDhcpWaitMs(500);
    int completions = 0;
    task.SetOnCompleted([&](TWorkThread& sender) {
      EXPECT_EQ(&sender, &task);
      ++completions;
    });
    task.Execute();
    ASSERT_TRUE(ProcessUntil([&] { return completions > 0; }, 15000));
    EXPECT_EQ(completions, 1);
    EXPECT_FALSE(task.Running());
    EXPECT_EQ(task.State().Succeeded(), c.Ok);
    EXPECT_TRUE(task.State().Completed());
    EXPECT_EQ(task.State().Text().rfind(c.Text, 0), 0u) << task.State().Text();
    EXPECT_EQ(task.State().ItemNumber(), c.Items);
    if (c.Ok) {
      EXPECT_EQ(task.State().Text(), "Связь успешно установлена: 127.0.0.1:" + std::to_string(reg.TcpPort()) +
                                         "\r\nНажмите \"Далее\"");
    }
    EXPECT_FALSE(driver.get_Connected()) << "the wizard's driver is let go";
  }
}

TEST_F(LanCheckTest, StopDuringDhcpWaitEndsWithinAPoll) {
  EmuProcess reg({"--com", std::to_string(kCom), "--tcp", "0", "--dhcp-state", "3"});
  TZelvox driver;
  PointAt(driver, reg.TcpPort());
  TCheckLANWorkTask task(driver);  // the full minute of waiting
  task.Execute();
  ASSERT_TRUE(ProcessUntil([&] { return task.State().Text() == "Ожидание получения IP адреса..."; }, 5000));
  const auto asked = std::chrono::steady_clock::now();
  task.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(2));
  EXPECT_FALSE(task.Running());
  EXPECT_FALSE(task.State().Succeeded());
  EXPECT_TRUE(task.State().UserCancelled());
  EXPECT_EQ(task.State().Text(), "Операция отменена");
}

TEST_F(LanCheckTest, StopBeforeTheBodyBeginsIsNotLost) {
  EmuProcess reg({"--com", std::to_string(kCom), "--tcp", "0", "--dhcp-state", "3"});
  TZelvox driver;
  PointAt(driver, reg.TcpPort());
  driver.Disconnect();
  TCheckLANWorkTask task(driver);
  task.Execute();
  task.Stop();
  EXPECT_FALSE(task.Running());
  EXPECT_FALSE(task.State().Succeeded());
  EXPECT_EQ(task.State().Text(), "Операция отменена");
}

}  // namespace
}  // namespace zel
