#pragma once
// Progress and outcome of a background task: written by the task's thread,
// read by the page's timer on the GUI thread.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>

#include "wizard/device/core/ThreadString.h"

namespace zel {

// Raised inside a task when it was asked to stop.
class ETaskAborted : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Milliseconds of a monotonic clock.
using TTickSource = std::function<std::uint64_t()>;
std::uint64_t SteadyTickMs();

class TTaskState {
 public:
  explicit TTaskState(TTickSource tick = SteadyTickMs);

  void Start(int itemCount);
  void Stop(const std::string& text, bool succeeded);
  void Success() { Stop(SuccessText(), true); }
  void Fail(const std::string& errorText);
  void UserCancel();
  // Throws ETaskAborted when the stop flag is set.
  void CheckStopFlag() const;
  void Reset() { FStopFlag = false; }

  void StepProgress(int count) { FItemNumber += count; }
  void UpdateItemNumber(int value) { FItemNumber = value; }
  void UpdateErrorCount(int value) { FErrorCount = value; }
  void UpdateTickCount(std::uint64_t startTick) { FTickCount = startTick; }
  void IncErrorCount() { ++FErrorCount; }
  void UpdateDataSize(std::int64_t dataSize);

  // item number * 100 / item count, rounded; 0 without a positive item count.
  int Percents() const;
  std::uint64_t TimeElapsed() const;
  // Milliseconds still to go at the pace so far; 0 while not running or before any progress.
  std::uint64_t TimeRemain() const;

  std::string Text() const { return FText.Value(); }
  void SetText(const std::string& text) { FText.SetValue(text); }
  std::string SuccessText() const;
  void SetSuccessText(const std::string& text);
  std::string FailedInfo() const;

  bool StopFlag() const { return FStopFlag; }
  bool Completed() const { return FCompleted; }
  bool Succeeded() const { return FSucceeded; }
  bool IsRunning() const { return FIsRunning; }
  bool UserCancelled() const { return FUserCancelled; }
  int ItemNumber() const { return FItemNumber; }
  int ItemCount() const { return FItemCount; }
  int ErrorCount() const { return FErrorCount; }
  std::int64_t DataSize() const { return FDataSize; }
  std::int64_t DataSpeed() const { return FDataSpeed; }
  std::chrono::system_clock::time_point StartTime() const;

 private:
  TTickSource FTick;
  TThreadString FText;
  std::atomic<std::int64_t> FDataSize{0};
  std::atomic<bool> FStopFlag{false};
  std::atomic<bool> FCompleted{false};
  std::atomic<int> FItemNumber{0};
  std::atomic<int> FItemCount{0};
  std::atomic<bool> FSucceeded{false};
  std::atomic<std::int64_t> FDataSpeed{0};
  std::atomic<std::uint64_t> FTickCount{0};
  std::atomic<bool> FIsRunning{false};
  std::atomic<int> FErrorCount{0};
  std::atomic<bool> FUserCancelled{false};
  mutable std::mutex FLock;  // guards the texts and the start time below
  std::string FFailedInfo;
  std::string FSuccessText;
  std::chrono::system_clock::time_point FStartTime;
};

}  // namespace zel
