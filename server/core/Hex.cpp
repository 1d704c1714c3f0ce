#include "server/core/Hex.h"

#include <stdexcept>

#include "common/Translate.h"
#include "server/core/ServerTexts.h"

namespace zel {

namespace {
int Digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  throw std::runtime_error(Tr(kTextBadDataFormat));
}
}  // namespace

Bytes HexDecode(std::string_view text) {
  Bytes out;
  out.reserve(text.size() / 2);
  for (std::size_t i = 0; i + 1 < text.size(); i += 2)
    out.push_back(static_cast<std::uint8_t>(Digit(text[i]) * 16 + Digit(text[i + 1])));
  return out;
}

std::string HexEncode(const Bytes& data) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(data.size() * 2);
  for (std::uint8_t b : data) {
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 15]);
  }
  return out;
}

}  // namespace zel
