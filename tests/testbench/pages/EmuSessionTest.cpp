// The test bench's main window against a zelvox-emu process on a COM number
// (a pty behind a private COM link): the status, FN status, table, command
// and dump pages opened where the window keeps them and their main buttons
// pressed, each leaving a successful result line and a sensible report.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QComboBox>
#include <QTabWidget>
#include <QThread>
#include <filesystem>
#include <functional>
#include <memory>

#include "common/ComResolver.h"
#include "testbench/core/Dialogs.h"
#include "testbench/core/Driver.h"
#include "testbench/core/MainWindow.h"
#include "testbench/core/TabbedPage.h"
#include "testbench/core/pages/tables/DumpPage.h"

namespace zel {
namespace {

constexpr int kCom = 211;
constexpr int kWaitMs = 20000;

template <class F>
bool WaitUntil(F condition) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > kWaitMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
  return true;
}

class EmuSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialogs::ClearShown();
    emu.setProgram(ZEL_EMU_PROGRAM);
    emu.setArguments({"--com", QString::number(kCom)});
    emu.setProcessChannelMode(QProcess::ForwardedChannels);
    emu.start();
    ASSERT_TRUE(emu.waitForStarted(5000));
    ASSERT_TRUE(WaitUntil([] { return std::filesystem::exists(ComDevicePath(kCom)); }))
        << "zelvox-emu made no COM link";
    Driver().put_ConnectionType(0);
    Driver().put_ComNumber(kCom);
    window = std::make_unique<TfmMain>();
    window->show();
  }
  void TearDown() override {
    window.reset();  // frees the driver: the port is let go
    emu.terminate();
    if (!emu.waitForFinished(5000)) emu.kill();
  }

  // Shows the page the way a user reaches it: its group, then its tab.
  QWidget* Open(const char* objectName) {
    QWidget* page = window->findChild<QWidget*>(objectName);
    if (!page) return nullptr;
    for (int i = 0; i < window->GroupCount(); ++i) {
      TfmTabbedPage* group = window->Group(i);
      if (!group || !group->isAncestorOf(page)) continue;
      window->GroupList()->setCurrentRow(i);
      QTabWidget* tabs = group->PageControl();
      for (int t = 0; t < tabs->count(); ++t)
        if (tabs->widget(t) == page || tabs->widget(t)->isAncestorOf(page)) tabs->setCurrentIndex(t);
    }
    QCoreApplication::processEvents();
    return page->isVisible() ? page : nullptr;
  }
  QString Result() const { return window->findChild<QLineEdit*>("edtResult")->text(); }

  QProcess emu;
  std::unique_ptr<TfmMain> window;
};

TEST_F(EmuSessionTest, MainButtonsOfEachPageGiveSensibleOutput) {
  struct Case {
    const char* Page;
    std::vector<const char*> Buttons;
    const char* Output;  // the field that shows the answer
    const char* Want;    // text it must contain
    bool LastCallOk = true;  // the full report ends on the register's "no more" answer
  };
  const Case cases[] = {
      {"fmDeviceStatus", {"btnShortStatus"}, "Memo", "Краткий запрос состояния:"},
      {"fmDeviceStatus", {"btnLongStatus"}, "Memo", "Информация о ключах"},
      {"fmFullStatus", {"btnGetStatus"}, "Memo", " ДЕНЕЖНЫЕ РЕГИСТРЫ:", false},
      {"fmFN", {"btnFNGetStatus"}, "Memo", "Состояние фазы жизни"},
      {"fmTable", {"btnGetTableStruct", "btnReadTable"}, "Memo", ":"},
      {"fmCommand", {"btnSend"}, "edtAnswer", "13 00"},
      {"fmReadDump", {"btnDampRequest", "btnGetData"}, "Memo", " "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Page);
    QWidget* page = Open(c.Page);
    ASSERT_NE(page, nullptr) << "page not shown";
    if (QString(c.Page) == "fmReadDump") page->findChild<QComboBox*>("cbDeviceCode")->setCurrentIndex(3);  // the clock
    for (const char* name : c.Buttons) {
      SCOPED_TRACE(name);
      auto* button = page->findChild<QPushButton*>(name);
      ASSERT_NE(button, nullptr);
      button->click();
      if (c.LastCallOk) {
        EXPECT_TRUE(Result().startsWith("(0) ")) << Result().toStdString();
      }
      EXPECT_FALSE(window->findChild<QLineEdit*>("edtRxData")->text().isEmpty());
    }
    QString text;
    if (auto* memo = page->findChild<QPlainTextEdit*>(c.Output)) text = memo->toPlainText();
    else if (auto* edit = page->findChild<QLineEdit*>(c.Output)) text = edit->text();
    EXPECT_TRUE(text.contains(QString::fromUtf8(c.Want))) << text.toStdString();
  }

  // The dump download runs on its worker and gives the buttons back at its end.
  auto* dump = static_cast<TfmReadDump*>(Open("fmReadDump"));
  dump->findChild<QPushButton*>("btnDownload")->click();
  ASSERT_TRUE(WaitUntil([&] { return !dump->Downloading(); }));
  QCoreApplication::processEvents();
  EXPECT_TRUE(dump->findChild<QPushButton*>("btnDownload")->isEnabled());
  EXPECT_EQ(Driver().get_ResultCode(), 0) << Driver().get_ResultCodeDescription();
  EXPECT_TRUE(window->windowTitle().contains(QString("COM%1").arg(kCom))) << window->windowTitle().toStdString();
  EXPECT_TRUE(dialogs::Shown().empty());
}

}  // namespace
}  // namespace zel
