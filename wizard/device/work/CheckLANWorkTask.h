#pragma once
// Checks that a register reached over the serial line (or USB network) can be
// reached over the network too, on a background thread: the body is RunLANCheck
// (waits for the DHCP address, then connects with a driver instance of its own).
#include <memory>

#include "wizard/device/work/WorkThread.h"

namespace zel {

class TZelvox;
struct TCheckTarget;
struct TLANCheckOptions;

class TCheckLANWorkTask : public TWorkThread {
 public:
  // driver is the wizard's driver; it must outlive the task. Without a target the
  // address and port come from the register's tables.
  explicit TCheckLANWorkTask(TZelvox& driver);
  TCheckLANWorkTask(TZelvox& driver, const TCheckTarget& target, const TLANCheckOptions& options);
  ~TCheckLANWorkTask() override;

  void SetDhcpWaitMs(int ms);
  // Marks the run cancelled by the operator, then waits for the body.
  void Cancel() override;

 protected:
  void DoExecute() override;

 private:
  struct TRun;
  std::unique_ptr<TRun> FRun;
};

}  // namespace zel
