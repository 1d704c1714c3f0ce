#include "emulator/model/DeviceClock.h"

#include <chrono>
#include <cstdio>

namespace zel::emu {
namespace {
using namespace std::chrono;

std::string Two(unsigned v) {
  char b[8];
  std::snprintf(b, sizeof b, "%02u", v % 100);
  return b;
}
}  // namespace

std::string DateText(std::int64_t time) {
  year_month_day ymd{floor<days>(sys_seconds{seconds{time}})};
  return Two(static_cast<unsigned>(ymd.day())) + "." + Two(static_cast<unsigned>(ymd.month())) + "." +
         std::to_string(static_cast<int>(ymd.year()));
}

std::string TimeText(std::int64_t time) {
  std::int64_t s = ((time % 86400) + 86400) % 86400;
  return Two(static_cast<unsigned>(s / 3600)) + ":" + Two(static_cast<unsigned>(s / 60 % 60)) + ":" +
         Two(static_cast<unsigned>(s % 60));
}

std::optional<std::int64_t> ParseDate(const std::string& text) {
  unsigned d = 0, m = 0;
  int y = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%2u.%2u.%4d%c", &d, &m, &y, &tail) != 3) return std::nullopt;
  if (y < 100) y += 2000;
  year_month_day ymd{year{y}, month{m}, day{d}};
  if (!ymd.ok() || y < 2000 || y > 2099) return std::nullopt;
  return sys_days{ymd}.time_since_epoch().count() * 86400LL;
}

std::optional<std::int64_t> ParseTime(const std::string& text) {
  unsigned h = 0, m = 0, s = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%2u:%2u:%2u%c", &h, &m, &s, &tail) != 3) return std::nullopt;
  if (h > 23 || m > 59 || s > 59) return std::nullopt;
  return h * 3600LL + m * 60 + s;
}

}  // namespace zel::emu
