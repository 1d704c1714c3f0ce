#include "testbench/core/Caption.h"

#include "common/ComPort.h"
#include "driver/Zelvox.h"
#include "testbench/core/QtText.h"

namespace zel {

QString ProgramTitle() { return QTr("Тест драйвера ККТ"); }

QString FileVersion() {
  return QString::asprintf("%d.%d.%d.%d", ZEL_VERSION_MAJOR, ZEL_VERSION_MINOR, ZEL_VERSION_PATCH,
                           ZEL_VERSION_BUILD);
}

QString WordSizeText() { return QString::asprintf(" (%d-bit)", static_cast<int>(sizeof(void*) * 8)); }

QString LinkText(int connectionType, int comNumber, int baudRateIndex, const QString& computerName,
                 const QString& ipAddress, int tcpPort) {
  const QString baud = QString::number(IntToBaudRate(baudRateIndex));
  switch (connectionType) {
    case 0: return QString(" [Serial: COM%1 Baudrate %2]").arg(comNumber).arg(baud);
    case 1:
    case 2: return QString(" [DCOM:%1 COM%2 Baudrate %3]").arg(computerName).arg(comNumber).arg(baud);
    case 6: return QString(" [TCP: %1: %2]").arg(ipAddress).arg(tcpPort);
    default: return {};
  }
}

QString WindowCaption(const TZelvox& driver) {
  return ProgramTitle() + " " + FileVersion() + WordSizeText() +
         LinkText(static_cast<int>(driver.get_ConnectionType()), static_cast<int>(driver.get_ComNumber()),
                  static_cast<int>(driver.get_BaudRate()),
                  QString::fromStdString(driver.get_ComputerName()),
                  QString::fromStdString(driver.get_IPAddress()), static_cast<int>(driver.get_TCPPort()));
}

}  // namespace zel
