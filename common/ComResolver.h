#pragma once
// COM numbers on this system: COM N is the symlink
// $XDG_CONFIG_HOME/veltrona/com/COMN when it exists, else a fixed default:
//   COM1..COM32   -> /dev/ttyS0..ttyS31
//   COM33..COM64  -> /dev/ttyUSB0..ttyUSB31
//   COM65..COM96  -> /dev/ttyACM0..ttyACM31
// (docs/ports.md explains it to users).
#include <string>

namespace zel {

inline constexpr int kMaxComNumber = 255;

// Folder of the COMN links ($XDG_CONFIG_HOME or ~/.config, then veltrona/com).
std::string ComLinkDir();
// Path of the link for COM number (whether it exists or not).
std::string ComLinkPath(int number);
// Device of the default mapping for number, "" when the number has none.
std::string DefaultComDevice(int number);
// Device path COM number opens: its link when present (even dangling), else the default; "" when none.
std::string ComDevicePath(int number);
// COM number of a device path (links and symlinks followed), 0 when no number reaches it.
// A pinned link wins over the default mapping; among several links the lowest number.
int ComNumberOfDevice(const std::string& devicePath);
// Points COMN at target (replacing a previous link); throws std::runtime_error on failure.
void CreateComLink(int number, const std::string& target);
// Removes COMN's link if it is there; throws std::runtime_error on failure.
void RemoveComLink(int number);

}  // namespace zel
