#include "wizard/device/work/CheckLANWorkTask.h"

#include "driver/Zelvox.h"

namespace zel {

TCheckLANWorkTask::TCheckLANWorkTask(TZelvox& driver, TCheckTarget target, TLANCheckOptions options)
    : FDevice(driver), FTarget(std::move(target)), FOptions(std::move(options)) {}

TCheckLANWorkTask::~TCheckLANWorkTask() { WaitFor(); }

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
  RunLANCheck(FDevice, State(), FTarget, FOptions);
}

}  // namespace zel
