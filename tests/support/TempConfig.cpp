#include "tests/support/TempConfig.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "common/ComResolver.h"

namespace zel::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zeltest-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error(std::string("mkdtemp: ") + std::strerror(errno));
  FPath = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(FPath, ec);
}

ScopedConfigHome::ScopedConfigHome() {
  if (const char* old = std::getenv("XDG_CONFIG_HOME")) FOld = old;
  ::setenv("XDG_CONFIG_HOME", FDir.Path().c_str(), 1);
}

ScopedConfigHome::~ScopedConfigHome() {
  if (FOld)
    ::setenv("XDG_CONFIG_HOME", FOld->c_str(), 1);
  else
    ::unsetenv("XDG_CONFIG_HOME");
}

void LinkCom(int number, const std::string& devicePath) { CreateComLink(number, devicePath); }

}  // namespace zel::test
