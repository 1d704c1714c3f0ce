#pragma once
// LogCapture: points the process log at a private file while it lives, so a
// test can read back the lines written meanwhile.
#include <string>

#include "tests/support/TempConfig.h"

namespace zel::test {

class LogCapture {
 public:
  LogCapture();   // enables the log into a fresh file
  ~LogCapture();  // disables it again
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  const std::string& FileName() const { return FFileName; }
  std::string Text() const;
  bool Contains(const std::string& text) const { return Text().find(text) != std::string::npos; }
  // Position of text after position from, std::string::npos when absent.
  std::size_t Find(const std::string& text, std::size_t from = 0) const { return Text().find(text, from); }

 private:
  TempDir FDir;
  std::string FFileName;
};

}  // namespace zel::test
