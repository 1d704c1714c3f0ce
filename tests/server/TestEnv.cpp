#include "tests/server/TestEnv.h"

#include <cstdlib>
#include <stdexcept>

namespace zel::test {

TConfigHome::TConfigHome() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zelserv-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  FPath = pattern;
  if (const char* old = std::getenv("XDG_CONFIG_HOME")) FOld = old;
  setenv("XDG_CONFIG_HOME", FPath.c_str(), 1);
}

TConfigHome::~TConfigHome() {
  if (FOld)
    setenv("XDG_CONFIG_HOME", FOld->c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");
  std::error_code ec;
  std::filesystem::remove_all(FPath, ec);
}

}  // namespace zel::test
