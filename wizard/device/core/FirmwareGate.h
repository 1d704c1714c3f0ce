#pragma once
// Registers whose firmware is older than 24 October 2018 cannot be registered by this wizard.
#include <string>

namespace zel {

struct TFirmwareDate {
  int Year = 0;
  int Month = 0;
  int Day = 0;
};

inline constexpr TFirmwareDate kOldestFirmware{2018, 10, 24};

// True when the firmware date lies before kOldestFirmware.
constexpr bool IsFirmwareOutdated(const TFirmwareDate& d) {
  if (d.Year != kOldestFirmware.Year) return d.Year < kOldestFirmware.Year;
  if (d.Month != kOldestFirmware.Month) return d.Month < kOldestFirmware.Month;
  return d.Day < kOldestFirmware.Day;
}

// The refusal shown for an outdated firmware dated dateText.
std::string FirmwareOutdatedText(const std::string& dateText);

}  // namespace zel
