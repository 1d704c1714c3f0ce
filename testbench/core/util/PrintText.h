#pragma once
// The parts of long-text printing that do not need a device.
#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

// Lines of a text split at "\r\n", "\n" or "\r"; a final line break does not
// start another line ("ab\n\n" is "ab" and "").
std::vector<std::string> SplitLines(std::string_view text);

// The pieces printed for a text at `width` characters a line: each line in
// pieces of `width` characters from its start, an empty line as one empty
// piece; a width below 1 leaves lines whole. Characters are UTF-8 code
// points, never split.
std::vector<std::string> SplitPrintPieces(std::string_view text, int width);

// Characters per line from the font metrics: 40 when the character width is
// unknown (0), else the print width divided by it, fraction cut off.
int PrintStringWidth(int printWidth, int charWidth);

// Result codes that mean "busy printing, try again".
inline constexpr int kResultPrinting = 80;
inline constexpr int kResultPrintBufferFull = 75;

// Calls `attempt` up to `attempts` times while it answers 80 or 75, waiting
// `pause` between attempts; returns the last result.
int CallWhilePrinterBusy(const std::function<int()>& attempt, int attempts = 5,
                         std::chrono::milliseconds pause = std::chrono::milliseconds(50));

}  // namespace zel
