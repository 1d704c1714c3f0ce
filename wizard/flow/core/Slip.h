#pragma once
// A small text layout for reports: lines of a fixed width in characters (UTF-8 text,
// counted in characters), either "label: value" columns or label and value pushed apart.
#include <string>
#include <vector>

namespace zel {

class TSlip {
 public:
  // A width below 1 falls back to 40 characters.
  explicit TSlip(int width);

  // Centred: one line with (width - length) / 2 leading spaces. Otherwise the text cut
  // into pieces of width characters (an empty text adds no line).
  void AddStr(const std::string& text, bool centered = false);
  // Right-aligned layout: label, at least one space, value, wrapped at the width;
  // otherwise AddPair2.
  void AddPair(const std::string& label, const std::string& value);
  // "label" padded to Width2 + ": " + value, one line, never wrapped.
  void AddPair2(const std::string& label, const std::string& value);
  void Clear() { FLines.clear(); }

  const std::vector<std::string>& Lines() const { return FLines; }
  int Width() const { return FWidth; }
  void SetWidth(int width);
  void SetWidth2(int width2) { FWidth2 = width2; }
  void SetRightAligned(bool value) { FRightAligned = value; }

 private:
  std::vector<std::string> FLines;
  int FWidth = 40;
  int FWidth2 = 0;
  bool FRightAligned = false;
};

}  // namespace zel
