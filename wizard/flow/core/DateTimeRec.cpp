#include "wizard/flow/core/DateTimeRec.h"

#include <cstdio>

namespace zel {

std::string FormatDateTime(const TDateTimeRec& d) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%04d %02d:%02d:%02d", d.Day, d.Month, d.Year, d.Hour, d.Minute, d.Second);
  return buf;
}

std::string FormatDateCompact(const TDateTimeRec& d) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", d.Year, d.Month, d.Day);
  return buf;
}

}  // namespace zel
