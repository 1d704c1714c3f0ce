// tamarex: the registration wizard.
#include <QApplication>

#include "common/Translate.h"
#include "driver/dialogs/DriverDialogsQt.h"
#include "wizard/flow/ui/MainWindow.h"
#include "wizard/flow/ui/Title.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Veltrona");
  QApplication::setApplicationName(zel::ProgramTitle());
  QApplication::setApplicationVersion(ZEL_VERSION);
  zel::SetTextDomain("Tamarex");
  zel::InstallDriverDialogs();
  zel::TfmMain window;
  window.show();
  return QApplication::exec();
}
