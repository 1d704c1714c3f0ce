#include "wizard/device/work/CheckLANWorkTask.h"

#include "driver/Zelvox.h"
#include "wizard/flow/device/LANCheck.h"

namespace zel {

struct TCheckLANWorkTask::TRun {
  TDeviceTables Device;
  TCheckTarget Target;
  TLANCheckOptions Options;
};

TCheckLANWorkTask::TCheckLANWorkTask(TZelvox& driver) : FRun(new TRun{TDeviceTables(driver), {}, {}}) {}

TCheckLANWorkTask::TCheckLANWorkTask(TZelvox& driver, const TCheckTarget& target, const TLANCheckOptions& options)
    : FRun(new TRun{TDeviceTables(driver), target, options}) {}

TCheckLANWorkTask::~TCheckLANWorkTask() { WaitFor(); }

void TCheckLANWorkTask::SetDhcpWaitMs(int ms) { FRun->Options.DhcpTimeoutMs = ms > 0 ? static_cast<std::uint64_t>(ms) : 0; }

void TCheckLANWorkTask::Cancel() {
  State().UserCancel();
  TWorkThread::Cancel();
}

void TCheckLANWorkTask::DoExecute() {
  try {
    CheckStop();  // a stop asked before the body began
  } catch (const std::exception& e) {
    State().Stop(e.what(), false);
    return;
  }
  RunLANCheck(FRun->Device, State(), FRun->Target, FRun->Options);
}

}  // namespace zel
