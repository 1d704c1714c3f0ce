#pragma once
// TDateTime (days since 30.12.1899, fraction = time of day) and the device's
// day/month/year and hour/minute/second fields.
#include <string>

#include "driver/catalogue/FieldCodec.h"

namespace zel {

// An impossible date or time (31.02, 25:00) gives 0.
double EncodeDateTime(const TDate& date, const TTime& time = {});
TDate DateOf(double dateTime);
TTime TimeOf(double dateTime);
double NowDateTime();
// "dd.mm.yyyy hh:mm:ss"; ParseDateTime also takes "dd.mm.yyyy" and "hh:mm:ss" alone.
std::string DateTimeToText(double dateTime);
bool ParseDateTime(const std::string& text, double& dateTime);
// Seconds since 01.01.1970 00:00 (tag type 6).
std::int64_t UnixTimeOf(double dateTime);

}  // namespace zel
