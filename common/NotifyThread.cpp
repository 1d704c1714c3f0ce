#include "common/NotifyThread.h"

#include <stdexcept>

namespace zel {

TNotifyThread::TNotifyThread(TNotifyEvent onExecute) : FOnExecute(std::move(onExecute)) {}

TNotifyThread::~TNotifyThread() {
  Terminate();
  WaitFor();
}

void TNotifyThread::Start() {
  if (FStarted.exchange(true)) throw std::logic_error("TNotifyThread started twice");
  FThread = std::thread([this] {
    try {
      if (FOnExecute) FOnExecute(*this);
    } catch (...) {
      std::lock_guard lock(FErrorLock);
      FFatalException = std::current_exception();
    }
    FFinished = true;
  });
}

void TNotifyThread::WaitFor() {
  if (FThread.get_id() == std::this_thread::get_id()) throw std::logic_error("TNotifyThread waits for itself");
  std::lock_guard lock(FJoinLock);
  if (FThread.joinable()) FThread.join();
}

std::exception_ptr TNotifyThread::FatalException() const {
  std::lock_guard lock(FErrorLock);
  return FFatalException;
}

}  // namespace zel
