#include "wizard/device/core/TaskState.h"

#include "common/Translate.h"

namespace zel {

std::uint64_t SteadyTickMs() {
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count());
}

TTaskState::TTaskState(TTickSource tick) : FTick(tick ? std::move(tick) : TTickSource(SteadyTickMs)) {}

void TTaskState::Start(int itemCount) {
  FDataSize = 0;
  FDataSpeed = 0;
  FCompleted = false;
  FSucceeded = false;
  FStopFlag = false;
  FItemNumber = 0;
  FErrorCount = 0;
  FUserCancelled = false;
  {
    std::lock_guard lock(FLock);
    FFailedInfo.clear();
    FStartTime = std::chrono::system_clock::now();
  }
  FTickCount = FTick();
  FItemCount = itemCount;
  FIsRunning = true;
}

void TTaskState::Stop(const std::string& text, bool succeeded) {
  FText.SetValue(text);
  FStopFlag = true;
  FCompleted = true;
  FSucceeded = succeeded;
  FIsRunning = false;
  if (!succeeded) {
    std::lock_guard lock(FLock);
    FFailedInfo = text;
  }
}

void TTaskState::Fail(const std::string& errorText) {
  Stop(Tr("Ошибка"), false);
  std::lock_guard lock(FLock);
  FFailedInfo = errorText;
}

void TTaskState::UserCancel() {
  Stop(Tr("Операция отменена"), false);
  FUserCancelled = true;
  std::lock_guard lock(FLock);
  FFailedInfo = Tr("Операция отменена пользователем");
}

void TTaskState::CheckStopFlag() const {
  if (FStopFlag) throw ETaskAborted(Tr("Операция отменена"));
}

void TTaskState::UpdateDataSize(std::int64_t dataSize) {
  FDataSize += dataSize;
  const std::uint64_t seconds = TimeElapsed() / 1000;
  if (seconds >= 1) FDataSpeed = FDataSize / static_cast<std::int64_t>(seconds);
}

int TTaskState::Percents() const {
  const std::int64_t count = FItemCount;
  if (count <= 0) return 0;
  return static_cast<int>((static_cast<std::int64_t>(FItemNumber) * 100 * 2 + count) / (2 * count));
}

std::uint64_t TTaskState::TimeElapsed() const {
  const std::uint64_t now = FTick();
  const std::uint64_t start = FTickCount;
  return now >= start ? now - start : 0;
}

std::uint64_t TTaskState::TimeRemain() const {
  const std::int64_t count = FItemCount;
  const std::int64_t done = FItemNumber;
  if (!FIsRunning || count <= 0 || done <= 0 || done >= count) return 0;
  // From the fraction done itself, not from the rounded percentage: a task with
  // thousands of steps shows 0 % for its first ones.
  const std::uint64_t elapsed = TimeElapsed();
  const std::uint64_t total = (elapsed * static_cast<std::uint64_t>(count) * 2 + static_cast<std::uint64_t>(done)) /
                              (2 * static_cast<std::uint64_t>(done));
  return total - elapsed;
}

std::string TTaskState::SuccessText() const {
  std::lock_guard lock(FLock);
  return FSuccessText;
}

void TTaskState::SetSuccessText(const std::string& text) {
  std::lock_guard lock(FLock);
  FSuccessText = text;
}

std::string TTaskState::FailedInfo() const {
  std::lock_guard lock(FLock);
  return FFailedInfo;
}

std::chrono::system_clock::time_point TTaskState::StartTime() const {
  std::lock_guard lock(FLock);
  return FStartTime;
}

}  // namespace zel
