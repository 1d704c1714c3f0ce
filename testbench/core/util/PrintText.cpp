#include "testbench/core/util/PrintText.h"

#include <thread>

namespace zel {

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::vector<std::string> SplitPrintPieces(std::string_view text, int width) {
  // Metrics that give no width would loop forever in pieces of nothing:
  // such lines go out whole and the device wraps them.
  const std::size_t perPiece = width > 0 ? static_cast<std::size_t>(width) : 0;
  std::vector<std::string> pieces;
  for (const std::string& line : SplitLines(text)) {
    if (line.empty() || perPiece == 0) {
      pieces.push_back(line);
      continue;
    }
    std::size_t start = 0, chars = 0;
    for (std::size_t i = 0; i <= line.size(); ++i) {
      const bool charStart = i == line.size() || (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80;
      if (!charStart) continue;
      if (chars == perPiece || (i == line.size() && chars > 0)) {
        pieces.push_back(line.substr(start, i - start));
        start = i;
        chars = 0;
      }
      ++chars;
    }
  }
  return pieces;
}

int PrintStringWidth(int printWidth, int charWidth) {
  if (charWidth == 0) return 40;
  return printWidth / charWidth;
}

int CallWhilePrinterBusy(const std::function<int()>& attempt, int attempts, std::chrono::milliseconds pause) {
  int result = attempt();
  for (int made = 1; made < attempts && (result == kResultPrinting || result == kResultPrintBufferFull); ++made) {
    std::this_thread::sleep_for(pause);
    result = attempt();
  }
  return result;
}

}  // namespace zel
