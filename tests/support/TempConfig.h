#pragma once
// TempDir: a fresh folder under the temp dir, removed with everything in it.
// ScopedConfigHome: XDG_CONFIG_HOME pointed at a TempDir while it lives, so COM
// links made by a test stay private to it; the old value comes back afterwards.
#include <optional>
#include <string>

namespace zel::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return FPath; }
  std::string operator/(const std::string& name) const { return FPath + "/" + name; }

 private:
  std::string FPath;
};

class ScopedConfigHome {
 public:
  ScopedConfigHome();
  ~ScopedConfigHome();
  ScopedConfigHome(const ScopedConfigHome&) = delete;
  ScopedConfigHome& operator=(const ScopedConfigHome&) = delete;
  const std::string& Path() const { return FDir.Path(); }

 private:
  TempDir FDir;
  std::optional<std::string> FOld;
};

// Makes COM number lead to devicePath (under the current XDG_CONFIG_HOME).
void LinkCom(int number, const std::string& devicePath);

}  // namespace zel::test
