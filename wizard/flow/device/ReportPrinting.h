#pragma once
// The registration report on the register's receipt printer.
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "wizard/flow/device/DeviceTables.h"

namespace zel {

// Characters per line of font 1 (40 when the register gives no character width).
int ReportWidth(TDeviceTables& dev);

struct TPrintOptions {
  int Attempts = 5;                                  // per line, while the printer is busy
  std::chrono::milliseconds BusyPause{50};
  std::function<void(std::chrono::milliseconds)> Sleep;  // empty: the thread sleeps
};

// Prints every line, feeds, waits for the printer and cuts when the register has a
// cutter. A line the register refuses, or that is still busy after the attempts, ends
// the printing with EDriverCheck (nothing is skipped silently). Disconnects in every case.
void PrintReport(TDeviceTables& dev, const std::vector<std::string>& lines, const TPrintOptions& options = {});

}  // namespace zel
