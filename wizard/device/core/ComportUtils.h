#pragma once
// The serial ports present on this computer, each with its COM number and
// USB identifiers, listed without opening any port.
#include <cstdint>
#include <string>
#include <vector>

namespace zel {

struct TSerialPortRec {
  std::string Name;          // "COM" + ComNumber
  std::string FriendlyName;  // description ending in "(COMn)"
  std::string HWStr;         // hardware id, "USB\VID_xxxx&PID_yyyy" for USB devices
  int ComNumber = -1;        // from FriendlyName; -1 when none
  std::string DevicePath;    // the device node (or link) behind the number
};

class TSerialPorts {
 public:
  std::vector<TSerialPortRec> Items;

  int Count() const { return static_cast<int>(Items.size()); }
  const TSerialPortRec& operator[](int index) const { return Items.at(static_cast<std::size_t>(index)); }
  void Clear() { Items.clear(); }
  void Add(const TSerialPortRec& rec) { Items.push_back(rec); }
  // Index of the first port with that number, -1 when none.
  int IndexOfComNumber(int comNumber) const;
  // Clears the list and fills it with the ports present now, ordered by COM number.
  void EnumPorts();
};

// Number in the first "(COMn)" of a friendly name; -1 for LPT ports, a missing part or a non-number.
int ComNumberFromName(const std::string& friendlyName);

struct TVidPid {
  std::uint16_t Vid = 0;
  std::uint16_t Pid = 0;
};
// VID_xxxx and PID_xxxx of a hardware id (any case); 0 when absent or not 4 hex digits.
// PID is looked for only when VID_ is there.
TVidPid ParseVidPid(const std::string& hwStr);
inline std::uint16_t GetVID(const TSerialPortRec& port) { return ParseVidPid(port.HWStr).Vid; }
inline std::uint16_t GetPID(const TSerialPortRec& port) { return ParseVidPid(port.HWStr).Pid; }

// What the device database tells about one tty device.
struct TTtyDeviceInfo {
  std::string DevNode;   // /dev/ttyUSB0
  std::string Model;     // product text, may be empty
  std::string VendorId;  // 4 hex digits for USB devices, else empty
  std::string ModelId;
  std::string IdPath;    // bus path for other devices
};
// The port record of a device reached by comNumber (>= 1): friendly name and hardware id
// are built so that ComNumberFromName and ParseVidPid read them back.
TSerialPortRec MakePortRec(const TTtyDeviceInfo& info, int comNumber);

}  // namespace zel
