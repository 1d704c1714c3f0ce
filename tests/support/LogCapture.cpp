#include "tests/support/LogCapture.h"

#include <fstream>
#include <sstream>

#include "common/LogFile.h"

namespace zel::test {

LogCapture::LogCapture() : FFileName(FDir / "test.log") {
  LogFile().SetFileName(FFileName);
  LogFile().SetEnabled(true);
}

LogCapture::~LogCapture() {
  LogFile().SetEnabled(false);
  LogFile().SetFileName("");
}

std::string LogCapture::Text() const {
  std::ifstream in(FFileName, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

}  // namespace zel::test
