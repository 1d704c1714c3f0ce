#include "driver/HexText.h"

namespace zel {

namespace {
int Digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
}  // namespace

std::string BytesToHex(const Bytes& data) {
  static const char* kDigits = "0123456789ABCDEF";
  std::string out;
  out.reserve(data.size() * 3);
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (i) out += ' ';
    out += kDigits[data[i] >> 4];
    out += kDigits[data[i] & 0x0F];
  }
  return out;
}

std::string BytesToHex(const std::string& data) { return BytesToHex(Bytes(data.begin(), data.end())); }

bool HexToBytes(const std::string& text, Bytes& out) {
  out.clear();
  std::size_t i = 0;
  while (i < text.size()) {
    if (IsBlank(text[i])) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && !IsBlank(text[end])) ++end;
    const std::size_t len = end - i;
    for (std::size_t k = i; k < end; ++k)
      if (Digit(text[k]) < 0) return false;
    if (len == 1) {
      out.push_back(static_cast<std::uint8_t>(Digit(text[i])));
    } else if (len % 2 == 0) {
      for (std::size_t k = i; k < end; k += 2)
        out.push_back(static_cast<std::uint8_t>(Digit(text[k]) * 16 + Digit(text[k + 1])));
    } else {
      return false;
    }
    i = end;
  }
  return true;
}

}  // namespace zel
