#pragma once
// Timers that any thread may start, stop or re-arm; every change is posted to
// the timer service thread, and every event runs on that thread.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace zel {

class TTimer;

class TTimers {
 public:
  static TTimers& Instance();  // created on first use, stopped at exit
  ~TTimers();

  int Count();
  std::vector<int> IDs();          // ids of the live timers, in creation order
  std::uint64_t PostCount();       // start/stop requests posted so far
  bool OnTimerThread() const { return std::this_thread::get_id() == FThread.get_id(); }

 private:
  friend class TTimer;
  enum class TMessage { Start, Stop };
  struct TSlot {
    TTimer* Timer = nullptr;
    std::chrono::steady_clock::time_point Due{};
    bool Armed = false;
    int Interval = 0;
  };

  TTimers();
  void Post(TMessage message, int id);  // caller holds FCS
  void Run();
  void Handle(TMessage message, int id);

  std::mutex FCS;
  std::condition_variable FWake;
  std::condition_variable FEventDone;
  std::map<int, TSlot> FList;  // by timer id
  std::deque<std::pair<TMessage, int>> FQueue;
  std::uint64_t FPosted = 0;
  int FNextTimerID = 0;
  int FFiring = 0;  // id of the timer whose event runs now
  bool FStop = false;
  std::thread FThread;
};

class TTimer {
 public:
  using TEvent = std::function<void(TTimer& sender)>;

  TTimer();
  ~TTimer();
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  int ID() const { return FID; }
  bool Enabled();
  void SetEnabled(bool value);
  int Interval();
  void SetInterval(int ms);
  void SetOnTimer(TEvent event);
  bool Running();  // an OS-level schedule is active (after the posted start ran)

 private:
  friend class TTimers;
  void UpdateTimer();  // caller holds the manager's lock

  TTimers& FManager;
  const int FID;
  int FTimerID = 0;
  bool FEnabled = false;
  int FInterval = 1000;
  bool FStartPending = false;
  TEvent FOnTimer;
};

}  // namespace zel
