#include "testbench/core/util/DateTimeUtils.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace zel {

namespace {
constexpr double kSecondsPerDay = 86400.0;

struct TParts {
  int year, month, day, hour, minute, second;
};

// Split by whole seconds so that 23:59:59.9996 never prints as 24:00:00.
TParts Split(double dateTime) {
  const std::int64_t total = DateTimeToUnix(dateTime);
  std::int64_t days = total / 86400;
  std::int64_t rest = total % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  const std::chrono::year_month_day ymd{std::chrono::sys_days{std::chrono::days{days}}};
  return {int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())), int(rest / 3600),
          int(rest / 60 % 60), int(rest % 60)};
}
}  // namespace

std::int64_t DateTimeToUnix(double dateTime) {
  return static_cast<std::int64_t>(std::llround((dateTime - kUnixEpochDays) * kSecondsPerDay));
}

double UnixToDateTime(std::int64_t seconds) {
  return kUnixEpochDays + static_cast<double>(seconds) / kSecondsPerDay;
}

double EncodeDateTime(int year, int month, int day, int hour, int minute, int second) {
  using namespace std::chrono;
  const sys_days date{std::chrono::year{year} / std::chrono::month{unsigned(month)} / std::chrono::day{unsigned(day)}};
  const std::int64_t seconds = date.time_since_epoch().count() * 86400LL + hour * 3600LL + minute * 60LL + second;
  return UnixToDateTime(seconds);
}

std::string DateToStr(double dateTime) {
  const TParts p = Split(dateTime);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d", p.day, p.month, p.year);
  return buffer;
}

std::string TimeToStr(double dateTime) {
  const TParts p = Split(dateTime);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", p.hour, p.minute, p.second);
  return buffer;
}

std::string DateTimeToStr(double dateTime) { return DateToStr(dateTime) + " " + TimeToStr(dateTime); }

}  // namespace zel
