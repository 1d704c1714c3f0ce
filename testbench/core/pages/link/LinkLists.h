#pragma once
// Lists the link pages share: serial ports, speeds and the device's interfaces.
#include <QStringList>
#include <cstdint>

class QComboBox;

namespace zel {

// Selects item index when the list has it; a value from the driver outside
// the list leaves the choice as it was.
void SelectItem(QComboBox* combo, std::int64_t index);

// "COM1" … "COM256"; item i is port i + 1.
QStringList PortItems();
// The driver's speed indexes in order ("2400" … "921600").
QStringList SpeedItems();
// Bits per second of a speed index; 0 outside the list.
int SpeedOfIndex(int index);

struct TInterfaceDef {
  const char* Caption;  // message id
  int Number;           // the driver's PortNumber
};
inline constexpr TInterfaceDef kInterfaces[] = {
    {"RS-232", 0}, {"Bluetooth", 1}, {"USB", 2}, {"WiFi", 3}, {"TCP socket", 128}};
inline constexpr int kTcpSocketInterface = 128;
QStringList InterfaceItems();

}  // namespace zel
