#include "driver/DateTimeConv.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace zel {

namespace {
constexpr int kUnixEpochDays = 25569;  // 01.01.1970 as a TDateTime

std::chrono::sys_days Epoch() { return std::chrono::sys_days{std::chrono::year{1899} / 12 / 30}; }
}  // namespace

double EncodeDateTime(const TDate& d, const TTime& t) {
  using namespace std::chrono;
  const year_month_day ymd{year{d.Year} / month{static_cast<unsigned>(d.Month)} / static_cast<unsigned>(d.Day)};
  if (!ymd.ok() || t.Hour < 0 || t.Hour > 23 || t.Minute < 0 || t.Minute > 59 || t.Second < 0 || t.Second > 59)
    return 0;  // a date the device cannot mean reads as "no date"
  const sys_days day{ymd};
  const double days = static_cast<double>((day - Epoch()).count());
  return days + (t.Hour * 3600 + t.Minute * 60 + t.Second) / 86400.0;
}

TDate DateOf(double dt) {
  using namespace std::chrono;
  const year_month_day ymd{Epoch() + days{static_cast<int>(std::floor(dt))}};
  return {static_cast<int>(static_cast<unsigned>(ymd.day())), static_cast<int>(static_cast<unsigned>(ymd.month())),
          static_cast<int>(ymd.year())};
}

TTime TimeOf(double dt) {
  auto seconds = static_cast<int>(std::llround((dt - std::floor(dt)) * 86400.0));
  if (seconds >= 86400) seconds = 86399;
  return {seconds / 3600, seconds / 60 % 60, seconds % 60};
}

double NowDateTime() {
  using namespace std::chrono;
  const auto secs = duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
  return kUnixEpochDays + static_cast<double>(secs) / 86400.0;
}

std::string DateTimeToText(double dt) {
  const TDate d = DateOf(dt);
  const TTime t = TimeOf(dt);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%04d %02d:%02d:%02d", d.Day, d.Month, d.Year, t.Hour, t.Minute,
                t.Second);
  return buf;
}

bool ParseDateTime(const std::string& text, double& dt) {
  TDate d{30, 12, 1899};
  TTime t;
  int n = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%d.%d.%d %d:%d:%d%c", &d.Day, &d.Month, &d.Year, &t.Hour, &t.Minute, &t.Second,
                  &tail) == 6) {
    n = 6;
  } else if (std::sscanf(text.c_str(), "%d.%d.%d%c", &d.Day, &d.Month, &d.Year, &tail) == 3) {
    t = {};
    n = 3;
  } else if (std::sscanf(text.c_str(), "%d:%d:%d%c", &t.Hour, &t.Minute, &t.Second, &tail) == 3) {
    d = {30, 12, 1899};
    n = 3;
  }
  if (n == 0 || d.Month < 1 || d.Month > 12 || d.Day < 1 || d.Day > 31 || d.Year < 1 || d.Year > 9999 ||
      t.Hour < 0 || t.Hour > 23 || t.Minute < 0 || t.Minute > 59 || t.Second < 0 || t.Second > 59)
    return false;
  using namespace std::chrono;
  if (!year_month_day{year{d.Year} / month{static_cast<unsigned>(d.Month)} / static_cast<unsigned>(d.Day)}.ok())
    return false;
  dt = EncodeDateTime(d, t);
  return true;
}

std::int64_t UnixTimeOf(double dt) { return std::llround((dt - kUnixEpochDays) * 86400.0); }

}  // namespace zel
