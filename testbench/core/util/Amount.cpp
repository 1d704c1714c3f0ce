#include "testbench/core/util/Amount.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

#include "common/Translate.h"
#include "testbench/core/util/BinUtils.h"
#include "testbench/core/util/TextUtils.h"

namespace zel {

namespace {
constexpr std::size_t kMaxIntStrLength = 1024;

std::string FieldError(std::string_view fieldName, std::string_view separator) {
  return Tr("Некорректное значение в поле") + std::string(separator) + "\"" + std::string(fieldName) +
         "\"";
}

// A decimal number with "." as the point: optional sign, digits, optional
// fraction and exponent; the whole text must be used.
bool ParseDecimal(const std::string& text, double& value) {
  std::string_view s = text;
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty() || s.front() == '+') return false;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
  return ec == std::errc() && end == s.data() + s.size() && std::isfinite(value);
}
}  // namespace

double GetSumm(std::string_view text, std::string_view fieldName) {
  std::string cleaned;
  cleaned.reserve(text.size());
  for (char c : text) {
    if (c == ' ') continue;
    cleaned.push_back(c == ',' ? '.' : c);
  }
  double value = 0;
  if (!ParseDecimal(cleaned, value) || value > kMaxSumm) throw std::runtime_error(FieldError(fieldName, "\n"));
  return ExRound(value, 0.01);
}

void CheckIntStr(std::string_view text, std::string_view fieldName) {
  if (Utf8Length(text) > kMaxIntStrLength) throw std::runtime_error(FieldError(fieldName, " "));
}

std::string AmountToStr(double value, bool pointPosition, char decimalSeparator) {
  // to_chars ignores the C locale, so a program that sets LC_NUMERIC cannot
  // change the point behind our back.
  char buffer[400];
  const double shown = pointPosition ? value : std::trunc(value) + 0.0;  // + 0.0 turns -0 into 0
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, shown, std::chars_format::fixed,
                                       pointPosition ? 2 : 0);
  if (ec != std::errc()) return {};
  std::string out(buffer, end);
  if (const auto dot = out.find('.'); dot != std::string::npos) out[dot] = decimalSeparator;
  return out;
}

}  // namespace zel
