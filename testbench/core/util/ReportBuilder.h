#pragma once
// Report text of the status pages: aligned "name: value" lines, yes/no lines
// and separators, each line starting with a blank. The widths differ between
// pages, so they are parameters.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

struct TReportWidths {
  int Line = 24;       // name column of AddLine
  int Bool = 40;       // name column of AddBool
  int Separator = 40;  // "-" characters of AddSeparator
};

// The widths of the pages that share these lines.
inline constexpr TReportWidths kFNReportWidths{24, 40, 40};           // FN pages
inline constexpr TReportWidths kDeviceStatusReportWidths{26, 33, 40};  // "Запросы"
inline constexpr TReportWidths kFullStatusReportWidths{24, 33, 52};    // "Полное состояние"

class TReportBuilder {
 public:
  explicit TReportBuilder(TReportWidths widths = {}) : FWidths(widths) {}

  // A blank, then s.
  void AddMemoLine(std::string_view s);
  // s as it stands (headers that carry their own blank, raw lines).
  void AddRawLine(std::string_view s);
  // "name: value" with the name padded to `width` characters; a longer name
  // is not cut and the colon follows it directly.
  void AddLineWidth(std::string_view name, std::string_view value, int width);
  void AddLine(std::string_view name, std::string_view value);
  void AddLine(std::string_view name, std::int64_t value);
  void AddBool(std::string_view name, bool flag);
  void AddSeparator();
  void AddEmptyLine() { AddRawLine(""); }
  void Clear() { FLines.clear(); }

  const TReportWidths& Widths() const { return FWidths; }
  const std::vector<std::string>& Lines() const { return FLines; }
  // The lines joined by "\n" (no line break after the last).
  std::string Text() const;

 private:
  TReportWidths FWidths;
  std::vector<std::string> FLines;
};

// Number formats of the reports. HexDec(3, 2) is "03h, 3"; HexText(3, 2, "x")
// is "03h, x". Digits are upper case; a negative value shows its 32-bit form
// in hex and its signed value in decimal.
std::string HexDec(std::int64_t value, int digits = 2);
std::string HexText(std::int64_t value, int digits, std::string_view text);
// "%d, %s"
std::string CodeText(std::int64_t value, std::string_view text);

}  // namespace zel
