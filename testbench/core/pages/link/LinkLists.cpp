#include "testbench/core/pages/link/LinkLists.h"

#include <QComboBox>
#include <array>

#include "testbench/core/QtText.h"

namespace zel {

namespace {
constexpr std::array kSpeeds{2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600};
}

void SelectItem(QComboBox* combo, std::int64_t index) {
  if (index >= 0 && index < combo->count()) combo->setCurrentIndex(static_cast<int>(index));
}

QStringList PortItems() {
  QStringList items;
  items.reserve(256);
  for (int i = 1; i <= 256; ++i) items << QString("COM%1").arg(i);
  return items;
}

QStringList SpeedItems() {
  QStringList items;
  for (int s : kSpeeds) items << QString::number(s);
  return items;
}

int SpeedOfIndex(int index) {
  return index >= 0 && index < static_cast<int>(kSpeeds.size()) ? kSpeeds[static_cast<std::size_t>(index)] : 0;
}

QStringList InterfaceItems() {
  QStringList items;
  for (const TInterfaceDef& i : kInterfaces) items << QTr(i.Caption);
  return items;
}

}  // namespace zel
