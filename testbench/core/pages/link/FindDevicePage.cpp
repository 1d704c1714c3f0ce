#include "testbench/core/pages/link/FindDevicePage.h"

#include <QPlainTextEdit>

#include "testbench/core/Driver.h"
#include "testbench/core/PageBuilder.h"
#include "testbench/core/QtText.h"
#include "testbench/core/pages/link/LinkLists.h"

namespace zel {

TfmFindDevice::TfmFindDevice() {
  TPageBuilder b(this);
  b.Row();
  b.Button("btnFindDevice", QTr("Поиск"), [this] { Find(); });
  b.End();
  FMemo = b.Memo("Memo");
}

void TfmFindDevice::Find() {
  FMemo->clear();
  TDriver& d = Driver();
  if (d.FindDevice() != 0) {
    FMemo->appendPlainText(QTr("Устройство не найдено."));
    return;
  }
  FMemo->appendPlainText(QTr("Устройство найдено."));
  FMemo->appendPlainText(QString::asprintf(Tr("Порт: COM%d, Скорость: %d").c_str(),
                                           static_cast<int>(d.get_ComNumber()),
                                           SpeedOfIndex(static_cast<int>(d.get_BaudRate()))));
}

}  // namespace zel
