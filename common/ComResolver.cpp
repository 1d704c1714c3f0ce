#include "common/ComResolver.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string_view>

namespace zel {

namespace fs = std::filesystem;

namespace {
struct TComRange {
  int First;          // first COM number of the range
  const char* Prefix; // device name without its index
};
constexpr int kRangeSize = 32;
constexpr TComRange kRanges[] = {
    {1, "/dev/ttyS"},
    {33, "/dev/ttyUSB"},
    {65, "/dev/ttyACM"},
};

void CheckNumber(int number) {
  if (number < 1 || number > kMaxComNumber)
    throw std::runtime_error("COM number out of range 1.." + std::to_string(kMaxComNumber) + ": " +
                             std::to_string(number));
}

// Default-mapping number of an exact device path, 0 when none.
int DefaultNumberOf(const std::string& path) {
  for (const auto& r : kRanges) {
    const std::string_view prefix(r.Prefix);
    if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string index = path.substr(prefix.size());
    if (index.size() > 2 || index.find_first_not_of("0123456789") != std::string::npos) continue;
    const int i = std::stoi(index);
    if (i < kRangeSize && (index.size() == 1 || index[0] != '0')) return r.First + i;
  }
  return 0;
}

std::string Canonical(const std::string& path) {
  std::error_code ec;
  const fs::path p = fs::weakly_canonical(path, ec);
  return ec ? path : p.string();
}
}  // namespace

std::string ComLinkDir() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home && *home ? home : "/") + "/.config";
  }
  return base + "/veltrona/com";
}

std::string ComLinkPath(int number) { return ComLinkDir() + "/COM" + std::to_string(number); }

std::string DefaultComDevice(int number) {
  for (const auto& r : kRanges)
    if (number >= r.First && number < r.First + kRangeSize) return r.Prefix + std::to_string(number - r.First);
  return {};
}

std::string ComDevicePath(int number) {
  if (number < 1 || number > kMaxComNumber) return {};
  const std::string link = ComLinkPath(number);
  struct stat st{};
  if (::lstat(link.c_str(), &st) == 0) return link;
  return DefaultComDevice(number);
}

int ComNumberOfDevice(const std::string& devicePath) {
  if (devicePath.empty()) return 0;
  const std::string target = Canonical(devicePath);
  int best = 0;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(ComLinkDir(), ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() < 4 || name.compare(0, 3, "COM") != 0) continue;
    if (name.find_first_not_of("0123456789", 3) != std::string::npos || name.size() > 6) continue;
    const int n = std::stoi(name.substr(3));
    if (n < 1 || n > kMaxComNumber || (best && n >= best)) continue;
    if (entry.path().string() == devicePath || Canonical(entry.path().string()) == target) best = n;
  }
  if (best) return best;
  // A number whose own link points elsewhere is taken: the default does not reach it then.
  for (const std::string& path : {devicePath, target}) {
    const int n = DefaultNumberOf(path);
    struct stat st{};
    if (n && ::lstat(ComLinkPath(n).c_str(), &st) != 0) return n;
  }
  return 0;
}

void CreateComLink(int number, const std::string& target) {
  CheckNumber(number);
  if (target.empty()) throw std::runtime_error("empty device path for COM" + std::to_string(number));
  std::error_code ec;
  fs::create_directories(ComLinkDir(), ec);
  if (ec) throw std::runtime_error("cannot create " + ComLinkDir() + ": " + ec.message());
  const fs::path link = ComLinkPath(number);
  fs::remove(link, ec);
  fs::create_symlink(target, link, ec);
  if (ec) throw std::runtime_error("cannot link " + link.string() + " to " + target + ": " + ec.message());
}

void RemoveComLink(int number) {
  CheckNumber(number);
  std::error_code ec;
  fs::remove(ComLinkPath(number), ec);
  if (ec) throw std::runtime_error("cannot remove " + ComLinkPath(number) + ": " + ec.message());
}

}  // namespace zel
