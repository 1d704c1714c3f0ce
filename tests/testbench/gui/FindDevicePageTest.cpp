// "Поиск устройства" over real ptys: the virtual register served on a COM
// number at a speed the driver does not start with, and a line where nothing
// answers.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <memory>

#include "emulator/app/EmuServer.h"
#include "testbench/core/Dialogs.h"
#include "testbench/core/Driver.h"
#include "testbench/core/pages/link/FindDevicePage.h"
#include "tests/support/PtyPair.h"
#include "tests/support/TempConfig.h"

namespace zel {
namespace {

constexpr int kSpeed115200 = 6;
constexpr int kSpeed19200 = 3;

class FindDevicePageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialogs::ClearShown();
    page = std::make_unique<TfmFindDevice>();
    page->show();
    Driver().put_BaudRate(kSpeed115200);
    Driver().put_SearchTimeout(150);  // per port and speed tried
  }
  void TearDown() override {
    page.reset();
    FreeDriver();
  }
  QString Search() {
    page->findChild<QPushButton*>("btnFindDevice")->click();
    return page->findChild<QPlainTextEdit*>("Memo")->toPlainText();
  }

  test::ScopedConfigHome home;  // COM links of this test only
  std::unique_ptr<TfmFindDevice> page;
};

TEST_F(FindDevicePageTest, FindsTheRegisterAtItsSpeed) {
  emu::TEmuOptions options;
  options.comNumber = 201;
  options.baudRate = 19200;
  options.strictBaud = true;  // silent to a host at any other speed
  emu::TEmuServer emu(options);
  emu.Start();
  Driver().put_ComNumber(201);

  EXPECT_EQ(Search(), "Устройство найдено.\nПорт: COM201, Скорость: 19200");
  EXPECT_EQ(Driver().get_ResultCode(), 0);
  EXPECT_EQ(Driver().get_ComNumber(), 201);
  EXPECT_EQ(Driver().get_BaudRate(), kSpeed19200);
  EXPECT_TRUE(page->findChild<QPushButton*>("btnFindDevice")->isEnabled());
  EXPECT_TRUE(dialogs::Shown().empty());
  emu.Stop();
}

TEST_F(FindDevicePageTest, SilentLineIsReportedAsNotFound) {
  test::PtyPair line;  // nothing answers on it
  test::LinkCom(202, line.SlavePath());
  Driver().put_ComNumber(202);

  EXPECT_EQ(Search(), "Устройство не найдено.");
  EXPECT_NE(Driver().get_ResultCode(), 0);
  EXPECT_EQ(Driver().get_ComNumber(), 202);  // a failed search changes nothing
  EXPECT_EQ(Driver().get_BaudRate(), kSpeed115200);
  EXPECT_TRUE(dialogs::Shown().empty());
}

}  // namespace
}  // namespace zel
