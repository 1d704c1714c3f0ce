#include "driver/LogicalDevices.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace zel {

namespace {

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(line);
  while (std::getline(in, part, '\t')) parts.push_back(part);
  if (!line.empty() && line.back() == '\t') parts.emplace_back();
  return parts;
}

std::string Clean(std::string s) {  // names cannot carry the separators
  std::replace_if(s.begin(), s.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
  return s;
}

}  // namespace

std::string TLogicalDevices::DefaultPath() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    base = xdg;
  else if (const char* home = std::getenv("HOME"); home && *home)
    base = std::string(home) + "/.config";
  else
    base = ".";
  return base + "/Veltrona/Zelvox/LogicalDevices.txt";
}

TLogicalDevices::TLogicalDevices() : TLogicalDevices(DefaultPath()) {}

TLogicalDevices::TLogicalDevices(std::string path) : FPath(std::move(path)) { Load(); }

void TLogicalDevices::Load() {
  std::ifstream in(FPath);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("Active=", 0) == 0) {
      FActive = std::atoi(line.c_str() + 7);
      continue;
    }
    const auto p = Split(line);
    if (p.size() < 6) continue;  // a damaged line is skipped, not fatal
    TLogicalDevice d;
    d.Number = std::atoi(p[0].c_str());
    d.BaudRate = std::atoi(p[1].c_str());
    d.ComNumber = std::atoi(p[2].c_str());
    d.Timeout = std::atoi(p[3].c_str());
    d.Name = p[4];
    d.ComputerName = p[5];
    if (d.Number > 0 && !Find(d.Number)) FItems.push_back(d);
  }
  if (!Find(FActive)) FActive = 0;
}

void TLogicalDevices::Save() const {
  const std::filesystem::path path(FPath);
  std::filesystem::create_directories(path.parent_path());
  const std::string tmp = FPath + ".tmp";
  {
    std::ofstream out(tmp, std::ios::trunc);
    out << "Active=" << FActive << "\n";
    for (const auto& d : FItems)
      out << d.Number << '\t' << d.BaudRate << '\t' << d.ComNumber << '\t' << d.Timeout << '\t' << Clean(d.Name)
          << '\t' << Clean(d.ComputerName) << "\n";
    if (!out) throw std::runtime_error("cannot write " + tmp);
  }
  std::filesystem::rename(tmp, path);
}

const TLogicalDevice* TLogicalDevices::Find(int number) const {
  for (const auto& d : FItems)
    if (d.Number == number) return &d;
  return nullptr;
}

int TLogicalDevices::Add(TLogicalDevice device) {
  int number = 1;
  while (Find(number)) ++number;
  device.Number = number;
  FItems.push_back(std::move(device));
  return number;
}

bool TLogicalDevices::Update(const TLogicalDevice& device) {
  for (auto& d : FItems)
    if (d.Number == device.Number) {
      d = device;
      return true;
    }
  return false;
}

bool TLogicalDevices::Remove(int number) {
  const auto it = std::find_if(FItems.begin(), FItems.end(), [&](const auto& d) { return d.Number == number; });
  if (it == FItems.end()) return false;
  FItems.erase(it);
  if (FActive == number) FActive = 0;
  return true;
}

bool TLogicalDevices::SetActive(int number) {
  if (!Find(number)) return false;
  FActive = number;
  return true;
}

}  // namespace zel
