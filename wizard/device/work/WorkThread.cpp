#include "wizard/device/work/WorkThread.h"

#include <QMetaObject>

#include "common/NotifyThread.h"
#include "common/Translate.h"

namespace zel {

TWorkThread::TWorkThread() : FContext(std::make_unique<QObject>()) {}

TWorkThread::~TWorkThread() {
  WaitFor();
  FThread.reset();
}

void TWorkThread::Execute() {
  WaitFor();
  FThread.reset();
  FStopRequested = false;
  FRunning = true;
  FThread = TNotifyThread::CreateThread([this](TNotifyThread&) {
    FStarted = true;
    DoExecute();
    FStarted = false;
    FRunning = false;
    // Dropped by Qt when the work object is gone before the event loop gets to it.
    QMetaObject::invokeMethod(
        FContext.get(), [this] {
          if (FOnCompleted) FOnCompleted(*this);
        },
        Qt::QueuedConnection);
  });
  FThread->Start();
}

void TWorkThread::Stop() {
  if (!FThread || !FRunning) return;
  FStopRequested = true;
  FState.Stop(Tr("Операция прервана"), false);
  Cancel();
  FThread->Terminate();
  WaitFor();
}

void TWorkThread::WaitFor() {
  if (FThread) FThread->WaitFor();
}

void TWorkThread::Cancel() {
  FState.SetText(Tr("Операция отменяется..."));
  WaitFor();
}

void TWorkThread::CheckStop() const {
  if (FStopRequested) throw ETaskAborted(Tr("Операция отменена"));
  FState.CheckStopFlag();
}

}  // namespace zel
