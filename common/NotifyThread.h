#pragma once
// TNotifyThread: a thread object created suspended whose body is one callable
// taking the thread as sender. It is not freed when it ends: the owner calls
// WaitFor() (or lets the destructor do it) and deletes it. The body polls
// Terminated() to stop early; an exception escaping the body is kept in
// FatalException().
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace zel {

class TNotifyThread {
 public:
  using TNotifyEvent = std::function<void(TNotifyThread& sender)>;

  static std::unique_ptr<TNotifyThread> CreateThread(TNotifyEvent onExecute) {
    return std::make_unique<TNotifyThread>(std::move(onExecute));
  }
  explicit TNotifyThread(TNotifyEvent onExecute);
  // Asks the body to stop (Terminate) and waits for it.
  ~TNotifyThread();
  TNotifyThread(const TNotifyThread&) = delete;
  TNotifyThread& operator=(const TNotifyThread&) = delete;

  // Runs the body on a new thread; throws std::logic_error when started before.
  void Start();
  // Waits until the body has returned (at once when never started).
  void WaitFor();
  void Terminate() { FTerminated = true; }
  bool Terminated() const { return FTerminated; }
  bool Started() const { return FStarted; }
  bool Finished() const { return FFinished; }
  std::exception_ptr FatalException() const;

 private:
  TNotifyEvent FOnExecute;
  std::thread FThread;
  std::mutex FJoinLock;
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FStarted{false};
  std::atomic<bool> FFinished{false};
  mutable std::mutex FErrorLock;
  std::exception_ptr FFatalException;
};

}  // namespace zel
