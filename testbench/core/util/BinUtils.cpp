#include "testbench/core/util/BinUtils.h"

#include <cmath>

namespace zel {

namespace {
const char kHexDigits[] = "0123456789ABCDEF";

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One or two hex digits; -1 for anything else.
int TokenValue(std::string_view token) {
  int value = 0;
  for (char c : token) {
    const int digit = HexValue(c);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

template <typename Out>
void AppendHex(Out& out, std::uint8_t byte) {
  out.push_back(kHexDigits[byte >> 4]);
  out.push_back(kHexDigits[byte & 0x0F]);
}

template <typename Data>
std::string JoinedHex(const Data& data) {
  std::string out;
  out.reserve(data.size() * 3);
  for (auto c : data) {
    if (!out.empty()) out.push_back(' ');
    AppendHex(out, static_cast<std::uint8_t>(c));
  }
  return out;
}

template <typename Data>
std::int64_t LittleEndian(const Data& data, int index, int count) {
  if (index < 1 || count < 1 || count > 8) return 0;
  const std::size_t start = static_cast<std::size_t>(index) - 1;
  if (start >= data.size() || static_cast<std::size_t>(count) > data.size() - start) return 0;
  std::uint64_t value = 0;
  for (int i = count - 1; i >= 0; --i)
    value = (value << 8) | static_cast<std::uint8_t>(data[start + static_cast<std::size_t>(i)]);
  return static_cast<std::int64_t>(value);
}
}  // namespace

std::string BytesToHex(const Bytes& data) { return JoinedHex(data); }

Bytes HexToBytes(std::string_view text) {
  // A token ends at two digits or at a blank; line breaks and tabs separate
  // like blanks, so hex pasted over several lines reads as typed.
  Bytes result;
  std::string token;
  auto flush = [&]() {
    const int value = TokenValue(token);
    if (value < 0) return false;
    result.push_back(static_cast<std::uint8_t>(value));
    token.clear();
    return true;
  };
  for (char c : text) {
    const bool separator = IsBlankOrControl(c);
    if (!separator) token.push_back(c);
    if (!token.empty() && (token.size() == 2 || separator) && !flush()) return result;
  }
  if (!token.empty()) flush();
  return result;
}

std::string StrToHex(std::string_view data) { return JoinedHex(data); }

std::string HexToStr(std::string_view text) {
  const Bytes bytes = HexToBytes(text);
  return std::string(bytes.begin(), bytes.end());
}

std::string StrToHex(std::string_view data, bool spaces) {
  std::string out;
  out.reserve(data.size() * 3);
  for (char c : data) {
    AppendHex(out, static_cast<std::uint8_t>(c));
    if (spaces) out.push_back(' ');
  }
  return out;
}

std::int64_t BinToInt(const Bytes& data, int index, int count) { return LittleEndian(data, index, count); }
std::int64_t BinToInt(std::string_view data, int index, int count) { return LittleEndian(data, index, count); }

Bytes IntToBin(std::int64_t value, int count) {
  if (count < 1 || count > 8) return {};
  Bytes out(static_cast<std::size_t>(count));
  auto bits = static_cast<std::uint64_t>(value);
  for (auto& b : out) {
    b = static_cast<std::uint8_t>(bits & 0xFF);
    bits >>= 8;
  }
  return out;
}

void SetBit(std::uint8_t& value, int bit) {
  if (bit >= 0 && bit < 8) value = static_cast<std::uint8_t>(value | (1u << bit));
}

bool TestBit(std::int64_t value, int bit) {
  if (bit < 0 || bit > 63) return false;
  return ((static_cast<std::uint64_t>(value) >> bit) & 1u) != 0;
}

double ExRound(double value, double step) {
  if (step == 0 || !std::isfinite(step) || !std::isfinite(value)) return value;
  const double sign = value < 0 ? -1.0 : 1.0;
  const double q = std::trunc((value + sign * 0.00001) / step);
  if (std::fabs(value / step - q) > 0.49999) return step * (q + sign);
  return step * q;
}

}  // namespace zel
