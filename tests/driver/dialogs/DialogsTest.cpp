// The driver's windows against the in-process virtual register (offscreen).
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

#include "driver/DriverDialogs.h"
#include "driver/Zelvox.h"
#include "driver/dialogs/DriverDialogsQt.h"
#include "driver/dialogs/PropertiesDialog.h"
#include "driver/dialogs/TablesDialog.h"
#include "emulator/model/CommandHandler.h"
#include "emulator/model/DeviceModel.h"

// Font configuration keeps a cache for the life of the process; it is not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace zel {
namespace {

class DialogsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "driver_dialogs_test";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!QApplication::instance()) new QApplication(argc, argv);
  }
  DialogsTest() { drv.SetInProcessDevice([this](const Bytes& c) { return handler.Handle(c); }); }

  emu::TDeviceModel model;
  emu::TCommandHandler handler{model};
  TZelvox drv;
};

TEST_F(DialogsTest, PropertiesCheckTheConnectionAndKeepOrRestoreTheSettings) {
  drv.put_Timeout(1500);
  {
    TPropertiesDialog dialog(drv);
    dialog.findChild<QSpinBox*>("edtTimeout")->setValue(2500);
    dialog.findChild<QComboBox*>("cbBaudRate")->setCurrentIndex(2);
    dialog.findChild<QPushButton*>("btnCheckConnection")->click();
    EXPECT_EQ(dialog.ResultText(), "(0) Ошибок нет, Смена закрыта");
    dialog.reject();
  }
  EXPECT_EQ(drv.get_Timeout(), 1500);  // Cancel restores
  EXPECT_EQ(drv.get_BaudRate(), 6);
  {
    TPropertiesDialog dialog(drv);
    auto* type = dialog.findChild<QComboBox*>("cbConnectionType");
    type->setCurrentIndex(type->findData(6));
    EXPECT_FALSE(dialog.findChild<QComboBox*>("cbComNumber")->isEnabled());
    dialog.findChild<QLineEdit*>("edtIPAddress")->setText("127.0.0.1");
    dialog.findChild<QSpinBox*>("edtTCPPort")->setValue(7010);
    dialog.findChild<QComboBox*>("cbComNumber")->setEditText("COM9");
    dialog.accept();
  }
  EXPECT_EQ(drv.get_ConnectionType(), 6);  // OK keeps
  EXPECT_EQ(drv.get_TCPPort(), 7010);
  EXPECT_EQ(drv.get_ComNumber(), 9);
}

TEST_F(DialogsTest, TablesListReadAndWriteFields) {
  TTablesDialog dialog(drv);
  auto* tables = dialog.findChild<QListWidget*>("lbTables");
  ASSERT_GT(tables->count(), 5);
  int fiscal = -1;
  for (int i = 0; i < tables->count(); ++i)
    if (tables->item(i)->data(Qt::UserRole).toInt() == 18) fiscal = i;
  ASSERT_GE(fiscal, 0);
  tables->setCurrentRow(fiscal);
  auto* grid = dialog.findChild<QTableWidget*>("gridFields");
  ASSERT_GE(grid->rowCount(), 7);
  EXPECT_EQ(dialog.ResultText(), "(0) Ошибок нет");
  grid->item(6, 5)->setText("ООО Север");
  dialog.findChild<QPushButton*>("btnWrite")->click();
  EXPECT_EQ(dialog.ResultText(), "(0) Ошибок нет");

  drv.put_TableNumber(18);
  drv.put_RowNumber(1);
  drv.put_FieldNumber(7);
  ASSERT_EQ(drv.ReadTable(), 0);
  EXPECT_EQ(drv.get_ValueOfFieldString(), "ООО Север");
}

TEST_F(DialogsTest, ShowMethodsNeedTheInstalledWindows) {
  SetDriverDialogs(nullptr);
  EXPECT_EQ(drv.ShowTablesDlg(), -7);
  InstallDriverDialogs();
  EXPECT_NE(DriverDialogs(), nullptr);
  SetDriverDialogs(nullptr);
}

}  // namespace
}  // namespace zel
