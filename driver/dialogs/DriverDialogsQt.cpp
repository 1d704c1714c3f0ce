#include "driver/dialogs/DriverDialogsQt.h"

#include <QApplication>

#include "driver/DriverDialogs.h"
#include "driver/dialogs/PropertiesDialog.h"
#include "driver/dialogs/TablesDialog.h"

namespace zel {

namespace {

class TQtDriverDialogs : public IDriverDialogs {
 public:
  int ShowProperties(TZelvox& driver) override {
    TPropertiesDialog dialog(driver, QApplication::activeWindow());
    dialog.exec();
    return 0;
  }
  int ShowTablesDlg(TZelvox& driver) override {
    TTablesDialog dialog(driver, QApplication::activeWindow());
    dialog.exec();
    return 0;
  }
};

}  // namespace

void InstallDriverDialogs() {
  static TQtDriverDialogs dialogs;
  SetDriverDialogs(&dialogs);
}

}  // namespace zel
