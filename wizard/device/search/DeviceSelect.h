#pragma once
// Setting up the wizard's driver for the register a search found, and the
// connection check of the network page. Each leaves the driver disconnected.
#include <string>

#include "wizard/device/search/SearchDevice.h"

namespace zel {

class TZelvox;

struct TSelectedDevice {
  std::string Name;    // KKTName
  std::string Serial;  // KKTSN
};

// Points driver at the port and rate the probe found and reads the status:
// throws EDriverCheck when the register does not answer and std::runtime_error
// with the refusal when its firmware predates 24.10.2018.
TSelectedDevice UseSearchedDevice(TZelvox& driver, const ISearchDevice& device);

// Address and port as typed; an empty text when they can be tried, else the reason.
std::string CheckTCPAddress(const std::string& address, int port);

struct TTCPCheckResult {
  bool Ok = false;
  std::string Text;  // for the information label
  TSelectedDevice Device;
};

// Points driver at address:port (straight TCP) and asks the register who it is.
TTCPCheckResult CheckTCPConnection(TZelvox& driver, const std::string& address, int port);

}  // namespace zel
