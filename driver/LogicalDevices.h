#pragma once
// Logical devices: named sets of connection settings kept per user in
// $XDG_CONFIG_HOME/Veltrona/Zelvox/LogicalDevices.txt (one device per line:
// number, baud-rate index, COM number, timeout, name, computer name, separated
// by tabs; a line "Active=<number>" names the active one). Every call reads
// the file afresh so that several driver instances agree.
#include <string>
#include <vector>

namespace zel {

struct TLogicalDevice {
  int Number = 0;
  std::string Name;
  int ComNumber = 1;
  int BaudRate = 6;
  int Timeout = 3000;
  std::string ComputerName;
};

class TLogicalDevices {
 public:
  TLogicalDevices();  // reads the file (missing = no devices)
  explicit TLogicalDevices(std::string path);

  const std::vector<TLogicalDevice>& Items() const { return FItems; }
  int Active() const { return FActive; }
  const TLogicalDevice* Find(int number) const;
  // Adds with the lowest free number (from 1) and returns that number.
  int Add(TLogicalDevice device);
  bool Update(const TLogicalDevice& device);  // by Number; false when absent
  bool Remove(int number);
  bool SetActive(int number);
  // Writes the file (through a temporary file and a rename); throws std::runtime_error.
  void Save() const;

  static std::string DefaultPath();

 private:
  void Load();
  std::string FPath;
  std::vector<TLogicalDevice> FItems;
  int FActive = 0;
};

}  // namespace zel
