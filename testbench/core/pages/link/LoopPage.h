#pragma once
// A page whose test loop runs on a worker thread while the window stays
// responsive. The worker holds the shared driver instance for its whole run
// and takes the driver's lock for each call sequence; while it runs, the
// window's other pages are disabled so their handlers cannot queue behind
// it, and so are the window's own driver controls (kDriverControl). Counters and the stop flag are atomics read by a 300 ms refresh.
#include <QPointer>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "common/NotifyThread.h"
#include "testbench/core/Pages.h"

class QAction;
class QPushButton;
class QTimer;

namespace zel {

class TDriver;
class TPageBuilder;

// A button that starts or stops a loop: it runs its action directly, not as
// a driver handler (the loop page manages its own buttons).
QPushButton* LoopButton(TPageBuilder& b, const char* name, const QString& caption,
                        std::function<void()> action);

class TLoopPage : public TPage {
 public:
  TLoopPage();
  ~TLoopPage() override;

  bool LoopRunning() const { return FThread != nullptr; }
  // Asks the loop to end after the call in progress.
  void Abort() { FStopFlag = true; }
  // Repetitions done so far.
  int RepCount() const { return FRepCount; }
  int ErrCount() const { return FErrCount; }

 protected:
  // Clears the counters and the stop flag, disables the other pages and runs
  // body(driver) on a worker; LoopEnded() follows on the GUI thread.
  void StartLoop(std::function<void(TDriver&)> body);
  // Waits for the worker (the page's destructor must call it first, since
  // the body may use the derived page's fields).
  void StopAndWait();
  // Milliseconds since StartLoop.
  std::int64_t ElapsedMs() const;
  virtual void ShowCounters() = 0;
  // Start and stop buttons (and whatever must not run beside the loop).
  virtual void ShowLoopState(bool running) = 0;
  virtual void LoopEnded() { ShowLoopState(false); }
  // A handler of the page ends with every button on: the loop state wins.
  void EnableButtons(bool value) override;
  void hideEvent(QHideEvent* event) override;

  std::atomic<bool> FStopFlag{false};
  std::atomic<bool> FStopOnError{false};
  std::atomic<int> FRepCount{0};
  std::atomic<int> FErrCount{0};
  std::atomic<int> FLastResult{0};

 private:
  void Finished();
  void SetOtherPagesEnabled(bool value);

  std::unique_ptr<TNotifyThread> FThread;
  QTimer* FTimer;
  std::chrono::steady_clock::time_point FStart;
  std::vector<QPointer<QWidget>> FDisabled;
  std::vector<QPointer<QAction>> FDisabledActions;
};

}  // namespace zel
