#pragma once
// Checks that a register reached over the serial line (or USB network) can be
// reached over the network too, on a background thread: the body is RunLANCheck
// (waits for the DHCP address, then connects with a driver instance of its own).
#include "wizard/device/work/WorkThread.h"
#include "wizard/flow/device/LANCheck.h"

namespace zel {

class TZelvox;

class TCheckLANWorkTask : public TWorkThread {
 public:
  // driver is the wizard's driver; it must outlive the task.
  explicit TCheckLANWorkTask(TZelvox& driver, TCheckTarget target = {}, TLANCheckOptions options = {});
  ~TCheckLANWorkTask() override;

  void SetTarget(const TCheckTarget& target) { FTarget = target; }
  void SetOptions(const TLANCheckOptions& options) { FOptions = options; }
  void SetDhcpWaitMs(int ms) { FOptions.DhcpTimeoutMs = ms > 0 ? static_cast<std::uint64_t>(ms) : 0; }
  // Marks the run cancelled by the operator, then waits for the body.
  void Cancel() override;

 protected:
  void DoExecute() override;

 private:
  TDeviceTables FDevice;
  TCheckTarget FTarget;
  TLANCheckOptions FOptions;
};

}  // namespace zel
