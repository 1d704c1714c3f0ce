#include "wizard/flow/core/RegChecks.h"

#include <cstdio>

#include "common/Crc.h"

namespace zel {

namespace {
bool AllDigits(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

std::string PadLeft(const std::string& s, std::size_t width) {
  return s.size() >= width ? s : std::string(width - s.size(), '0') + s;
}
}  // namespace

int INNCheckDigit(int n, const std::string& text) {
  static constexpr int kWeights[] = {3, 7, 2, 4, 10, 3, 5, 9, 4, 6, 8};
  if (n < 10 || n > 12 || text.size() < static_cast<std::size_t>(n - 1)) return -1;
  const int first = 12 - n;  // the last n-1 weights of the list
  int sum = 0;
  for (int i = 0; i < n - 1; ++i) {
    const char c = text[static_cast<std::size_t>(i)];
    if (c < '0' || c > '9') return -1;
    sum += (c - '0') * kWeights[first + i];
  }
  return sum % 11 % 10;
}

bool IsValidINN(const std::string& text) {
  if (!AllDigits(text)) return false;
  if (text.size() == 10) return text[9] - '0' == INNCheckDigit(10, text);
  if (text.size() == 12) return text[10] - '0' == INNCheckDigit(11, text) && text[11] - '0' == INNCheckDigit(12, text);
  return false;
}

std::string MakeRNM(const std::string& number, const std::string& inn, const std::string& serial) {
  const std::string head = PadLeft(number, 10);
  const std::string joined = head + PadLeft(inn, 12) + PadLeft(serial, 20);
  const std::uint16_t crc = Crc16CcittFalse(reinterpret_cast<const std::uint8_t*>(joined.data()), joined.size());
  char digits[8];
  std::snprintf(digits, sizeof digits, "%06u", static_cast<unsigned>(crc));
  return head + digits;
}

bool IsValidRNM(const std::string& rnm, const std::string& inn, const std::string& serial) {
  if (rnm.size() < 10) return false;
  return MakeRNM(rnm.substr(0, 10), inn, serial) == rnm;
}

}  // namespace zel
