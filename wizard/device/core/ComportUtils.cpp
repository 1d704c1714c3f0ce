#include "wizard/device/core/ComportUtils.h"

#include <algorithm>
#include <cctype>

namespace zel {

namespace {
std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Four hexadecimal digits at pos, 0 when there are fewer or another character.
std::uint16_t Hex4At(const std::string& s, std::size_t pos) {
  if (pos + 4 > s.size()) return 0;
  unsigned value = 0;
  for (std::size_t i = pos; i < pos + 4; ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (!std::isxdigit(c)) return 0;
    value = value * 16 + static_cast<unsigned>(std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10);
  }
  return static_cast<std::uint16_t>(value);
}

// Trailing characters up to the blank end a text the way the port lists show it.
std::string TrimRight(std::string s) {
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.pop_back();
  return s;
}
}  // namespace

int TSerialPorts::IndexOfComNumber(int comNumber) const {
  for (std::size_t i = 0; i < Items.size(); ++i)
    if (Items[i].ComNumber == comNumber) return static_cast<int>(i);
  return -1;
}

int ComNumberFromName(const std::string& friendlyName) {
  if (friendlyName.find("(LPT") != std::string::npos) return -1;
  const std::size_t open = friendlyName.find("(COM");
  if (open == std::string::npos) return -1;
  const std::string rest = friendlyName.substr(open + 4);
  const std::size_t close = rest.find(')');
  if (close == std::string::npos) return -1;
  const std::string digits = rest.substr(0, close);
  if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
    return -1;
  return std::stoi(digits);
}

TVidPid ParseVidPid(const std::string& hwStr) {
  TVidPid result;
  const std::string lower = Lower(hwStr);
  const std::size_t vid = lower.find("vid_");
  if (vid == std::string::npos) return result;
  result.Vid = Hex4At(lower, vid + 4);
  const std::size_t pid = lower.find("pid_");
  if (pid != std::string::npos) result.Pid = Hex4At(lower, pid + 4);
  return result;
}

TSerialPortRec MakePortRec(const TTtyDeviceInfo& info, int comNumber) {
  const std::string node = info.DevNode.substr(info.DevNode.rfind('/') + 1);
  // A product text comes from the device itself: keep it from forging a "(COMn)" part.
  std::string model = TrimRight(info.Model);
  std::replace(model.begin(), model.end(), '(', '[');
  std::replace(model.begin(), model.end(), ')', ']');
  std::replace(model.begin(), model.end(), '_', ' ');

  TSerialPortRec rec;
  rec.FriendlyName = (model.empty() ? node : model + " - " + node) + " (COM" + std::to_string(comNumber) + ")";
  rec.ComNumber = ComNumberFromName(rec.FriendlyName);
  rec.Name = "COM" + std::to_string(rec.ComNumber);
  if (!info.VendorId.empty())
    rec.HWStr = TrimRight("USB\\VID_" + info.VendorId + "&PID_" + info.ModelId);
  else
    rec.HWStr = TrimRight(info.IdPath);
  rec.DevicePath = info.DevNode;
  return rec;
}

}  // namespace zel
