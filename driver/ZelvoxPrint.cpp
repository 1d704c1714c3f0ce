// Printing methods with logic: wrapped text and waiting for the printer.
#include <chrono>
#include <thread>

#include "driver/Zelvox.h"
#include "driver/ZelvoxInternal.h"

namespace zel {

namespace {

constexpr int kBusyRetries = 5;
constexpr auto kBusyPause = std::chrono::milliseconds(50);
constexpr auto kPollPause = std::chrono::milliseconds(50);

// Number of UTF-8 characters.
std::size_t Chars(const std::string& s) {
  std::size_t n = 0;
  for (char c : s)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

// Byte offset of character index k.
std::size_t Offset(const std::string& s, std::size_t k) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < s.size(); ++i)
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80 && n++ == k) return i;
  return s.size();
}

// Splits at line breaks and wraps each line at width characters, breaking
// after the last blank that fits when there is one.
std::vector<std::string> Wrap(const std::string& text, std::size_t width) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (true) {
    const std::size_t nl = text.find('\n', start);
    std::string line = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) out.emplace_back();
    while (!line.empty()) {
      if (Chars(line) <= width) {
        out.push_back(line);
        break;
      }
      std::size_t cut = Offset(line, width);
      const std::size_t blank = line.rfind(' ', cut);
      if (blank != std::string::npos && blank > 0) cut = blank + 1;
      out.push_back(line.substr(0, cut));
      line.erase(0, cut);
    }
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  return out;
}

}  // namespace

// A busy printer (80, 75) is waited for here so that no line is lost or printed twice.
int TZelvox::RunWhileBusy(const char* method, const TFieldMap& overrides) {
  for (int attempt = 1;; ++attempt) {
    const int error = Run(method, overrides);
    if ((error != kDevBusyPrinting && error != kDevPrintBufferFull) || attempt == kBusyRetries) return error;
    std::this_thread::sleep_for(kBusyPause);
  }
}

int TZelvox::DoPrintStringWithWrap() {
  int error = RunWhileBusy("GetFontMetrics", {{"FontType", std::int64_t{1}}});
  if (error) return error;
  const std::int64_t charWidth = FProps.GetInt(TPropId::CharWidth);
  const std::int64_t width = charWidth > 0 ? FProps.GetInt(TPropId::PrintWidth) / charWidth : 40;
  for (const auto& piece : Wrap(FProps.GetText(TPropId::StringForPrinting), width > 0 ? width : 40)) {
    if ((error = RunWhileBusy("PrintString", {{"StringForPrinting", piece}})) != 0) return error;
  }
  return 0;
}

// Polls the short status until the printer is idle, within ConnectionTimeout
// (30 s when not set). A print halted for paper is continued once paper is back.
int TZelvox::DoWaitForPrinting() {
  std::int64_t limit = FProps.GetInt(TPropId::ConnectionTimeout);
  if (limit <= 0) limit = 30000;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limit);
  while (true) {
    int error = Run("GetShortECRStatus");
    if (error) return error;
    switch (FProps.GetInt(TPropId::ECRAdvancedMode)) {
      case 0:
      case 1: return 0;
      case 2: return 107;  // no paper while printing
      case 3:
        if ((error = Run("ContinuePrint")) != 0) return error;
        break;
      default: break;
    }
    if (std::chrono::steady_clock::now() >= deadline) RaiseCode(kPrintTimeout, "");
    std::this_thread::sleep_for(kPollPause);
  }
}

}  // namespace zel
