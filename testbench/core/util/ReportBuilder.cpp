#include "testbench/core/util/ReportBuilder.h"

#include <cstdio>

#include "testbench/core/util/TextUtils.h"

namespace zel {

void TReportBuilder::AddMemoLine(std::string_view s) { FLines.push_back(" " + std::string(s)); }

void TReportBuilder::AddRawLine(std::string_view s) { FLines.emplace_back(s); }

void TReportBuilder::AddLineWidth(std::string_view name, std::string_view value, int width) {
  AddMemoLine(PadRight(name, width > 0 ? static_cast<std::size_t>(width) : 0) + ": " + std::string(value));
}

void TReportBuilder::AddLine(std::string_view name, std::string_view value) {
  AddLineWidth(name, value, FWidths.Line);
}

void TReportBuilder::AddLine(std::string_view name, std::int64_t value) { AddLine(name, std::to_string(value)); }

void TReportBuilder::AddBool(std::string_view name, bool flag) {
  AddLineWidth(name, BoolToYesNo(flag), FWidths.Bool);
}

void TReportBuilder::AddSeparator() {
  AddMemoLine(std::string(FWidths.Separator > 0 ? static_cast<std::size_t>(FWidths.Separator) : 0, '-'));
}

std::string TReportBuilder::Text() const {
  std::string out;
  for (std::size_t i = 0; i < FLines.size(); ++i) {
    if (i) out.push_back('\n');
    out += FLines[i];
  }
  return out;
}

std::string HexDec(std::int64_t value, int digits) {
  return HexText(value, digits, std::to_string(value));
}

std::string HexText(std::int64_t value, int digits, std::string_view text) {
  // Values are device integers: a negative one shows its 32-bit pattern.
  const auto bits = value < 0 ? static_cast<unsigned long long>(static_cast<std::uint32_t>(value))
                              : static_cast<unsigned long long>(value);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.*llXh, ", digits, bits);
  return buffer + std::string(text);
}

std::string CodeText(std::int64_t value, std::string_view text) {
  return std::to_string(value) + ", " + std::string(text);
}

}  // namespace zel
