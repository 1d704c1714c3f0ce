#include "common/Logger.h"

#include "common/LogFile.h"

namespace zel {

void TLogger::Debug(const std::string& message) const { LogFile().Debug(FName + " " + message); }
void TLogger::Info(const std::string& message) const { LogFile().Info(FName + " " + message); }

void TLogger::Error(const std::string& message, const std::exception* err) const {
  std::string text = FName + " " + message;
  if (err) text += std::string(" (") + err->what() + ")";
  LogFile().Error(text);
}

void TLogger::WriteSeparator() const { Info(std::string(60, '-')); }

void TLogger::WriteData(const std::string& prefix, const Bytes& data) const {
  if (!LogFile().Enabled()) return;
  static const char kHex[] = "0123456789ABCDEF";
  std::size_t pos = 0;
  do {
    std::string line = prefix;
    const std::size_t end = std::min(data.size(), pos + 20);
    for (std::size_t i = pos; i < end; ++i) {
      if (i > pos) line += ' ';
      line += kHex[data[i] >> 4];
      line += kHex[data[i] & 0x0F];
    }
    Debug(line);
    pos = end;
  } while (pos < data.size());
}

}  // namespace zel
