#pragma once
// A piece of work run on a background thread while the page keeps the GUI
// alive: progress and outcome in State(), completion reported on the thread
// that created the work (through its Qt event loop).
#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "wizard/device/core/TaskState.h"

namespace zel {

class TNotifyThread;

class TWorkThread {
 public:
  using TNotifyEvent = std::function<void(TWorkThread& sender)>;

  TWorkThread();
  // Waits for the body. A subclass whose DoExecute uses its own members must call
  // WaitFor() in its destructor.
  virtual ~TWorkThread();
  TWorkThread(const TWorkThread&) = delete;
  TWorkThread& operator=(const TWorkThread&) = delete;

  // Runs DoExecute on a new thread (after the previous run has ended).
  virtual void Execute();
  // Ends a run: marks it interrupted, cancels and waits for the body. Also a
  // run whose body has not begun yet is stopped.
  void Stop();
  // Waits for the body of the current run.
  void WaitFor();
  // Shows that the work is being cancelled and waits for the body (subclasses also flag the stop).
  virtual void Cancel();
  // True from Execute until the body has returned.
  bool Running() const { return FRunning; }
  // True while the body itself runs.
  bool Started() const { return FStarted; }

  TTaskState& State() { return FState; }
  const TTaskState& State() const { return FState; }
  std::string Name() const { return FName; }
  void SetName(const std::string& name) { FName = name; }
  // Called on the creating thread once a run has ended.
  void SetOnCompleted(TNotifyEvent event) { FOnCompleted = std::move(event); }

 protected:
  virtual void DoExecute() {}
  // Throws ETaskAborted when the run was asked to stop (also before the body began).
  void CheckStop() const;

 private:
  TTaskState FState;
  std::string FName;
  TNotifyEvent FOnCompleted;
  std::unique_ptr<TNotifyThread> FThread;
  std::unique_ptr<QObject> FContext;  // completions are queued to its thread
  std::atomic<bool> FStarted{false};
  std::atomic<bool> FRunning{false};
  std::atomic<bool> FStopRequested{false};
};

}  // namespace zel
