#pragma once
// Date-time values as the driver gives them: days since 1899-12-30, the time
// of day in the fraction (the driver's TDateTime).
#include <cstdint>
#include <string>

namespace zel {

inline constexpr double kUnixEpochDays = 25569.0;  // 1970-01-01 00:00

// Seconds since 1970-01-01 00:00, rounded to a whole second.
std::int64_t DateTimeToUnix(double dateTime);
double UnixToDateTime(std::int64_t seconds);
double EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// Report forms: "dd.mm.yyyy", "hh:nn:ss" and both joined by a blank.
std::string DateToStr(double dateTime);
std::string TimeToStr(double dateTime);
std::string DateTimeToStr(double dateTime);

}  // namespace zel
