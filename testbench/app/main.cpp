// zelvoxtst: the driver test bench.
#include <QApplication>

#include "testbench/core/MainWindow.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Veltrona");
  QApplication::setApplicationName("ZelvoxTst");
  QApplication::setApplicationVersion(ZEL_VERSION);
  zel::TfmMain window;
  window.show();
  return QApplication::exec();
}
