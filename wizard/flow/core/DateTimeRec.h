#pragma once
// A calendar date and time as the register reports it (no time zone).
#include <string>

namespace zel {

struct TDateTimeRec {
  int Year = 0;
  int Month = 0;
  int Day = 0;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
};

// "dd.mm.yyyy hh:nn:ss"
std::string FormatDateTime(const TDateTimeRec& d);
// "yyyymmdd"
std::string FormatDateCompact(const TDateTimeRec& d);

}  // namespace zel
