#include "wizard/flow/core/SerialNumber.h"

#include <vector>

namespace zel {

std::string SerialPart(const std::string& text) {
  std::vector<std::string> parts;
  std::string cur;
  bool quoted = false, any = false;
  auto flush = [&] {
    if (any) parts.push_back(cur);
    cur.clear();
    any = false;
  };
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (!quoted && c == ';') {
      any = true;
      flush();
    } else if (!quoted && u <= ' ') {
      flush();
    } else {
      cur += c;
      any = true;
    }
  }
  flush();
  return parts.size() > 2 ? parts[2] : text;
}

bool IsSerialEntered(const std::string& serial) { return serial.find_first_not_of('0') != std::string::npos; }

bool IsWritableSerial(const std::string& serial) {
  if (serial.empty() || serial.size() > 20) return false;
  if (serial.find_first_not_of("0123456789") != std::string::npos) return false;
  return IsSerialEntered(serial);
}

}  // namespace zel
