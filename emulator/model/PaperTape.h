#pragma once
// The receipt tape: every printed line with its font, every feed and cut.
// Recent items stay in memory; all of them can be appended to a text file:
// a text line as is (prefixed "{font N} " when printed in a font other than 1),
// a feed as that many empty lines, a cut as a line of "-" then "8<".
#include <cstddef>
#include <deque>
#include <fstream>
#include <string>
#include <vector>

#include "emulator/model/DeviceState.h"

namespace zel::emu {

class TPaperTape {
 public:
  static constexpr std::size_t kKeep = 10000;

  // Appends to path from now on; throws std::runtime_error when it cannot be opened.
  void SetFile(const std::string& path);
  void Print(const std::string& text, int font = 1);
  void Feed(int lines);
  void Cut();
  std::vector<TTapeItem> Items() const { return {items_.begin(), items_.end()}; }
  // Text of the kept lines as the file shows them.
  std::string Text() const;
  std::size_t LineCount() const { return lines_; }

 private:
  void Add(TTapeItem item);
  std::deque<TTapeItem> items_;
  std::ofstream file_;
  std::size_t lines_ = 0;
};

std::string FormatTapeItem(const TTapeItem& item);

}  // namespace zel::emu
