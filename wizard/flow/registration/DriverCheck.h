#pragma once
// Failures of the wizard's steps (an error with the text to show, raised by
// DriverCheck among others, and a silent abort when the operator answered
// Cancel; both keep the operator on the step) and the link's disconnect guard.
#include <stdexcept>
#include <string>

#include "wizard/device/search/DriverCheck.h"

namespace zel {

class TZelvox;

class EAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "aborted"; }
};

// Disconnects the driver when the scope ends, also when a step fails.
class TDisconnectGuard {
 public:
  explicit TDisconnectGuard(TZelvox& drv) : FDrv(drv) {}
  ~TDisconnectGuard();
  TDisconnectGuard(const TDisconnectGuard&) = delete;
  TDisconnectGuard& operator=(const TDisconnectGuard&) = delete;
  // Keeps the link open after all (the state check with OFD messages pending).
  void Keep() { FKeep = true; }

 private:
  TZelvox& FDrv;
  bool FKeep = false;
};

}  // namespace zel
