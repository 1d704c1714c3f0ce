// The link pages against the in-process virtual register: the loops on their
// workers (counting, stopping, the rest of the window held off meanwhile)
// and the connection page's handling of the device's one-byte port code.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtTest/QTest>
#include <atomic>
#include <memory>

#include "emulator/model/CommandHandler.h"
#include "emulator/model/DeviceModel.h"
#include "testbench/core/Dialogs.h"
#include "testbench/core/Driver.h"
#include "testbench/core/pages/link/ConnectionPage.h"
#include "testbench/core/pages/link/ConnectionTestPage.h"
#include "testbench/core/pages/link/HostNamePrompt.h"
#include "testbench/core/pages/link/LoadTestPage.h"
#include "testbench/core/pages/link/LogicDevicePage.h"

namespace zel {
namespace {

constexpr int kWaitMs = 10000;

// Lets events run until the condition holds or the time is up.
template <class F>
bool WaitUntil(F condition) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > kWaitMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return true;
}

class LinkPagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialogs::ClearShown();
    Driver().SetInProcessDevice([this](const Bytes& command) {
      ++calls;
      if (deviceGone) return Bytes{};
      return handler.Handle(command);
    });
  }
  void TearDown() override {
    window.reset();
    FreeDriver();
  }
  // The page in a window beside another page, as in the program.
  template <class T>
  T* Show() {
    window = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window.get());
    auto* page = new T;
    other = new TPage;
    new QPushButton("other", other);
    layout->addWidget(page);
    layout->addWidget(other);
    window->show();
    return page;
  }
  template <class W>
  W* Get(QWidget* page, const char* name) {
    W* w = page->findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QString Text(QWidget* page, const char* name) { return Get<QLineEdit>(page, name)->text(); }

  emu::TDeviceModel model;
  emu::TCommandHandler handler{model};
  std::atomic<bool> deviceGone{false};
  std::atomic<int> calls{0};
  std::unique_ptr<QWidget> window;
  TPage* other = nullptr;
};

TEST_F(LinkPagesTest, ConnectionTestCountsUntilStopped) {
  auto* page = Show<TfmConnectionTest>();
  QPushButton* start = Get<QPushButton>(page, "btnStart");
  QPushButton* stop = Get<QPushButton>(page, "btnStop");
  EXPECT_FALSE(stop->isEnabled());
  start->click();
  EXPECT_TRUE(page->LoopRunning());
  EXPECT_FALSE(start->isEnabled());
  EXPECT_TRUE(stop->isEnabled());
  EXPECT_FALSE(Get<QPushButton>(page, "btnPrintTest")->isEnabled());
  EXPECT_FALSE(other->isEnabled());  // the rest of the window waits for the loop
  ASSERT_TRUE(WaitUntil([&] { return Text(page, "edtRepCount").toInt() >= 5; }));  // shown by the refresh

  stop->click();
  ASSERT_TRUE(WaitUntil([&] { return !page->LoopRunning(); }));
  EXPECT_EQ(Text(page, "edtRepCount").toInt(), page->RepCount());
  EXPECT_EQ(Text(page, "edtErrCount"), "0");
  EXPECT_EQ(Text(page, "edtErrorPercent"), "0.00");
  EXPECT_TRUE(start->isEnabled());
  EXPECT_FALSE(stop->isEnabled());
  EXPECT_TRUE(other->isEnabled());
  EXPECT_FALSE(Driver().get_Connected());  // the loop lets the link go at its end
  EXPECT_EQ(Driver().get_StatusCommand(), 2);
  EXPECT_TRUE(dialogs::Shown().empty());
}

TEST_F(LinkPagesTest, ConnectionTestStopsOnTheFirstErrorWhenAsked) {
  auto* page = Show<TfmConnectionTest>();
  Get<QCheckBox>(page, "chbStopOnError")->setChecked(true);
  Get<QCheckBox>(page, "chbShortStatus")->setChecked(true);
  deviceGone = true;
  Get<QPushButton>(page, "btnStart")->click();
  ASSERT_TRUE(WaitUntil([&] { return !page->LoopRunning(); }));
  EXPECT_EQ(page->RepCount(), 1);
  EXPECT_EQ(page->ErrCount(), 1);
  EXPECT_EQ(Text(page, "edtRepCount"), "1");
  EXPECT_EQ(Text(page, "edtErrCount"), "1");
  EXPECT_EQ(Driver().get_StatusCommand(), 1);
  EXPECT_TRUE(Get<QCheckBox>(page, "chbStopOnError")->isEnabled());
}

TEST_F(LinkPagesTest, LoadTestRunsItsCountOrUntilStopped) {
  auto* page = Show<TfmTest>();
  QLineEdit* count = Get<QLineEdit>(page, "edtCount");
  EXPECT_EQ(count->text(), "10");

  count->setText("2");
  Get<QPushButton>(page, "btnStart")->click();
  ASSERT_TRUE(WaitUntil([&] { return !page->LoopRunning(); }));
  EXPECT_EQ(page->RepCount(), 2);
  EXPECT_EQ(Text(page, "edtRepCount"), "2");
  EXPECT_GE(model.Tape().size(), 2u);  // cut at least, whatever the random lines were

  // 0 is never reached: the test goes on until "Прервать".
  count->setText("0");
  Get<QPushButton>(page, "btnStart")->click();
  ASSERT_TRUE(WaitUntil([&] { return page->RepCount() >= 3; }));
  EXPECT_TRUE(page->LoopRunning());
  Get<QPushButton>(page, "btnStop")->click();
  ASSERT_TRUE(WaitUntil([&] { return !page->LoopRunning(); }));
  EXPECT_TRUE(Get<QPushButton>(page, "btnStart")->isEnabled());
  EXPECT_TRUE(other->isEnabled());
}

TEST_F(LinkPagesTest, LoadTestErrorsAndBadCount) {
  auto* page = Show<TfmTest>();
  Get<QLineEdit>(page, "edtCount")->setText("abc");
  Get<QPushButton>(page, "btnStart")->click();
  EXPECT_FALSE(page->LoopRunning());
  ASSERT_EQ(dialogs::Shown().size(), 1u);
  EXPECT_TRUE(dialogs::Shown()[0].Text.contains("abc"));

  Get<QLineEdit>(page, "edtCount")->setText("0");
  Get<QCheckBox>(page, "chbStopOnError")->setChecked(true);
  deviceGone = true;
  Get<QPushButton>(page, "btnStart")->click();
  ASSERT_TRUE(WaitUntil([&] { return !page->LoopRunning(); }));
  EXPECT_EQ(page->ErrCount(), 1);
  EXPECT_TRUE(Get<QLabel>(page, "lblError")->text().startsWith("Ошибка: ")) << Get<QLabel>(page, "lblError")->text().toStdString();
}

TEST_F(LinkPagesTest, DestroyingARunningLoopPageStopsItsWorker) {
  auto* page = Show<TfmConnectionTest>();
  Get<QPushButton>(page, "btnStart")->click();
  ASSERT_TRUE(WaitUntil([&] { return page->RepCount() >= 1; }));
  FreeDriver();  // the worker keeps its instance until it ends
  delete page;  // returns once the worker has ended
  const int after = calls;
  QCoreApplication::processEvents();
  EXPECT_EQ(calls, after);
  EXPECT_TRUE(other->isEnabled());
}

TEST_F(LinkPagesTest, ConnectKeepsAPortTheCodeCannotCarry) {
  FreeDriver();
  auto* page = Show<TfmConnection>();
  EXPECT_FALSE(DriverExists());  // showing the page does not create the driver
  EXPECT_EQ(Text(page, "edtTCPPort"), "48");  // code 0

  window->hide();
  Driver().SetInProcessDevice([this](const Bytes& command) { return handler.Handle(command); });
  Driver().put_TCPPort(7778);
  window->show();
  QSpinBox* code = Get<QSpinBox>(page, "edtTCPPortCode");
  EXPECT_EQ(code->value(), 18);
  EXPECT_EQ(Text(page, "edtTCPPort"), "7778");

  Get<QPushButton>(page, "btnConnect")->click();
  EXPECT_EQ(Driver().get_TCPPort(), 7778);
  const QString note = Get<QLabel>(page, "lblTCPPortNote")->text();
  EXPECT_TRUE(note.contains("7778") && note.contains("4146")) << note.toStdString();
  EXPECT_TRUE(Get<QCheckBox>(page, "chbConnected")->isChecked());
  EXPECT_TRUE(dialogs::Shown().empty());

  // A code the user chose is a port the user wants.
  code->setValue(0x12 + 1);
  EXPECT_EQ(Text(page, "edtTCPPort"), "4147");
  Get<QPushButton>(page, "btnConnect")->click();
  EXPECT_EQ(Driver().get_TCPPort(), 4147);
  EXPECT_TRUE(Get<QLabel>(page, "lblTCPPortNote")->text().isEmpty());

  Get<QPushButton>(page, "btnDisconnect")->click();
  EXPECT_FALSE(Get<QCheckBox>(page, "chbConnected")->isChecked());

  // The code field is for the TCP socket interface only.
  Get<QComboBox>(page, "cbInterface")->setCurrentIndex(4);
  EXPECT_TRUE(code->isEnabled());
  // This register reports its TCP port (7778) with interface 2: it arrives as code 18.
  Get<QComboBox>(page, "cbInterface")->setCurrentIndex(2);
  Get<QPushButton>(page, "btnGetExchangeParam")->click();
  ASSERT_EQ(Driver().get_ResultCode(), 0);
  EXPECT_EQ(Driver().get_TCPPort(), 7778);
  EXPECT_EQ(code->value(), 18);
  EXPECT_EQ(Text(page, "edtTCPPort"), "4146");
  Get<QComboBox>(page, "cbInterface")->setCurrentIndex(0);
  EXPECT_FALSE(code->isEnabled());
}

// Profiles go through the driver and come back into the fields, also after
// a refused call.
TEST_F(LinkPagesTest, LogicalDevicesRoundTrip) {
  auto* page = Show<TfmLogicDevice>();
  Get<QLineEdit>(page, "edtLDName")->setText("Касса 1");
  Get<QComboBox>(page, "cbLDComNumber")->setCurrentIndex(2);
  Get<QComboBox>(page, "cbLDBaudrate")->setCurrentIndex(4);
  Get<QLineEdit>(page, "edtLDComputerName")->setText("till-7");
  Get<QLineEdit>(page, "edtLDTimeout")->setText("150");
  Get<QPushButton>(page, "btnAddLD")->click();
  EXPECT_EQ(Driver().get_ResultCode(), 0);
  EXPECT_EQ(Text(page, "edtLDCount"), "1");
  const QString number = Text(page, "edtLDNumber");

  for (const char* field : {"edtLDName", "edtLDComputerName"}) Get<QLineEdit>(page, field)->clear();
  Get<QComboBox>(page, "cbLDComNumber")->setCurrentIndex(0);
  Get<QPushButton>(page, "btnGetParamLD")->click();
  EXPECT_EQ(Text(page, "edtLDName"), "Касса 1");
  EXPECT_EQ(Text(page, "edtLDComputerName"), "till-7");
  EXPECT_EQ(Get<QComboBox>(page, "cbLDComNumber")->currentIndex(), 2);
  EXPECT_EQ(Get<QComboBox>(page, "cbLDBaudrate")->currentIndex(), 4);
  EXPECT_EQ(Text(page, "edtLDTimeout"), "150");

  Get<QLineEdit>(page, "edtLDNumber")->setText("99");
  Get<QPushButton>(page, "btnDeleteLD")->click();
  EXPECT_NE(Driver().get_ResultCode(), 0);
  Get<QLineEdit>(page, "edtLDNumber")->setText(number);
  Get<QPushButton>(page, "btnDeleteLD")->click();
  EXPECT_EQ(Text(page, "edtLDCount"), "0");
  EXPECT_TRUE(dialogs::Shown().empty());
}

TEST(HostNameHistoryTest, MostRecentFirstWithoutRepeatsAndBounded) {
  for (int i = 0; i < 25; ++i) RememberHostName(QString("host%1").arg(i));
  RememberHostName("  host20 ");
  RememberHostName("");
  const QStringList names = HostNameHistory();
  ASSERT_EQ(names.size(), 20);
  EXPECT_EQ(names[0], "host20");
  EXPECT_EQ(names[1], "host24");
  EXPECT_EQ(names.count("host20"), 1);
  EXPECT_FALSE(names.contains("host4"));
}

}  // namespace
}  // namespace zel
