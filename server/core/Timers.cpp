#include "server/core/Timers.h"

#include <atomic>

namespace zel {

namespace {
std::atomic<int> gNextTimerID{0};
}

TTimers& TTimers::Instance() {
  static TTimers timers;
  return timers;
}

TTimers::TTimers() : FThread([this] { Run(); }) {}

TTimers::~TTimers() {
  {
    std::lock_guard lock(FCS);
    FStop = true;
  }
  FWake.notify_all();
  FThread.join();
}

int TTimers::Count() {
  std::lock_guard lock(FCS);
  return static_cast<int>(FList.size());
}

std::vector<int> TTimers::IDs() {
  std::lock_guard lock(FCS);
  std::vector<int> ids;
  for (const auto& [id, slot] : FList) ids.push_back(id);
  return ids;
}

std::uint64_t TTimers::PostCount() {
  std::lock_guard lock(FCS);
  return FPosted;
}

void TTimers::Post(TMessage message, int id) {
  FQueue.emplace_back(message, id);
  ++FPosted;
  FWake.notify_all();
}

// Runs on the timer thread with FCS held.
void TTimers::Handle(TMessage message, int id) {
  auto it = FList.find(id);
  if (it == FList.end()) return;
  TSlot& slot = it->second;
  TTimer& timer = *slot.Timer;
  if (message == TMessage::Start) timer.FStartPending = false;
  const bool runnable = timer.FEnabled && timer.FInterval > 0 && timer.FOnTimer;
  if (message == TMessage::Start && runnable) {
    // Starting a running timer re-arms it: the next event is one full interval away.
    slot.Interval = timer.FInterval;
    slot.Due = std::chrono::steady_clock::now() + std::chrono::milliseconds(slot.Interval);
    slot.Armed = true;
    timer.FTimerID = ++FNextTimerID;
  } else {
    slot.Armed = false;
    timer.FTimerID = 0;
  }
}

void TTimers::Run() {
  std::unique_lock lock(FCS);
  while (!FStop) {
    while (!FQueue.empty()) {
      auto [message, id] = FQueue.front();
      FQueue.pop_front();
      Handle(message, id);
    }
    // Earliest armed timer.
    TSlot* next = nullptr;
    int nextID = 0;
    for (auto& [id, slot] : FList)
      if (slot.Armed && (!next || slot.Due < next->Due)) {
        next = &slot;
        nextID = id;
      }
    if (!next) {
      FWake.wait(lock, [this] { return FStop || !FQueue.empty(); });
      continue;
    }
    const auto due = next->Due;
    if (FWake.wait_until(lock, due, [this] { return FStop || !FQueue.empty(); })) continue;
    auto it = FList.find(nextID);
    if (it == FList.end() || !it->second.Armed) continue;
    TTimer& timer = *it->second.Timer;
    TTimer::TEvent event = timer.FOnTimer;
    FFiring = nextID;
    lock.unlock();
    if (event) event(timer);
    lock.lock();
    FFiring = 0;
    FEventDone.notify_all();
    it = FList.find(nextID);
    if (it != FList.end() && it->second.Armed)
      it->second.Due = std::chrono::steady_clock::now() + std::chrono::milliseconds(it->second.Interval);
  }
}

TTimer::TTimer() : FManager(TTimers::Instance()), FID(++gNextTimerID) {
  std::lock_guard lock(FManager.FCS);
  FManager.FList[FID].Timer = this;
}

TTimer::~TTimer() {
  std::unique_lock lock(FManager.FCS);
  // An event of this timer may be running on the timer thread: let it finish,
  // unless the event itself is destroying its timer.
  if (!FManager.OnTimerThread())
    FManager.FEventDone.wait(lock, [this] { return FManager.FFiring != FID; });
  FManager.FList.erase(FID);
}

bool TTimer::Enabled() {
  std::lock_guard lock(FManager.FCS);
  return FEnabled;
}

int TTimer::Interval() {
  std::lock_guard lock(FManager.FCS);
  return FInterval;
}

bool TTimer::Running() {
  std::lock_guard lock(FManager.FCS);
  return FTimerID != 0;
}

void TTimer::SetEnabled(bool value) {
  std::lock_guard lock(FManager.FCS);
  if (value == FEnabled) return;
  FEnabled = value;
  UpdateTimer();
}

void TTimer::SetInterval(int ms) {
  std::lock_guard lock(FManager.FCS);
  if (ms == FInterval) return;
  FInterval = ms;
  UpdateTimer();
}

void TTimer::SetOnTimer(TEvent event) {
  std::lock_guard lock(FManager.FCS);
  FOnTimer = std::move(event);
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (FInterval > 0 && FEnabled && FOnTimer) {
    FStartPending = true;
    FManager.Post(TTimers::TMessage::Start, FID);
  } else if (FTimerID != 0 || FStartPending) {
    FStartPending = false;
    FManager.Post(TTimers::TMessage::Stop, FID);
  }
}

}  // namespace zel
