#pragma once
// Failures of the wizard's steps: an error with the text to show, and a silent
// abort (the operator answered Cancel). Both keep the operator on the step.
#include <stdexcept>
#include <string>

namespace zel {

class TZelvox;

class EWizardError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class EAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "aborted"; }
};

// Nothing for 0; otherwise throws "Ошибка <code>, <ResultCodeDescription>".
void DriverCheck(TZelvox& drv, int code);
// The text DriverCheck raises for a code and its description.
std::string DriverErrorText(int code, const std::string& description);

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
