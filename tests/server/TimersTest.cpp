// Timers: changes are posted, events run on the timer thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "server/core/Timers.h"
#include "tests/server/TestEnv.h"

namespace zel {
namespace {

using test::WaitFor;

TEST(TimersTest, RunsPeriodicallyOnTheTimerThreadUntilStopped) {
  std::atomic<int> events{0};
  std::atomic<bool> onTimerThread{true};
  TTimer timer;
  timer.SetInterval(20);
  timer.SetOnTimer([&](TTimer&) {
    if (!TTimers::Instance().OnTimerThread()) onTimerThread = false;
    ++events;
  });
  EXPECT_FALSE(timer.Running()) << "created disabled";
  timer.SetEnabled(true);
  ASSERT_TRUE(WaitFor([&] { return events >= 3; }));
  EXPECT_TRUE(onTimerThread);
  timer.SetEnabled(false);
  ASSERT_TRUE(WaitFor([&] { return !timer.Running(); }));
  const int stopped = events;
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(events, stopped);
}

TEST(TimersTest, IntervalZeroStopsAnEnabledTimer) {
  std::atomic<int> events{0};
  TTimer timer;
  timer.SetOnTimer([&](TTimer&) { ++events; });
  timer.SetInterval(20);
  timer.SetEnabled(true);
  ASSERT_TRUE(WaitFor([&] { return events >= 1; }));
  timer.SetInterval(0);
  EXPECT_TRUE(timer.Enabled());
  ASSERT_TRUE(WaitFor([&] { return !timer.Running(); }));
}

TEST(TimersTest, OnlyRealChangesArePosted) {
  TTimer timer;
  timer.SetOnTimer([](TTimer&) {});
  auto posts = [] { return TTimers::Instance().PostCount(); };
  const auto before = posts();
  timer.SetEnabled(false);  // same value
  timer.SetInterval(1000);  // same value
  EXPECT_EQ(posts(), before);
  timer.SetEnabled(true);
  EXPECT_EQ(posts(), before + 1);
  timer.SetEnabled(true);
  EXPECT_EQ(posts(), before + 1);
  timer.SetEnabled(false);
  EXPECT_EQ(posts(), before + 2);
}

TEST(TimersTest, RestartReArmsAFullInterval) {
  std::atomic<int> events{0};
  TTimer timer;
  timer.SetInterval(600);
  timer.SetOnTimer([&](TTimer&) { ++events; });
  timer.SetEnabled(true);
  // Re-arming every 100 ms keeps a 600 ms timer from ever firing.
  for (int i = 0; i < 10; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    timer.SetEnabled(false);
    timer.SetEnabled(true);
  }
  EXPECT_EQ(events, 0);
  EXPECT_TRUE(WaitFor([&] { return events >= 1; }));
}

TEST(TimersTest, DestroyingATimerWaitsForItsRunningEvent) {
  std::atomic<bool> inEvent{false}, finished{false};
  auto timer = std::make_unique<TTimer>();
  timer->SetInterval(10);
  timer->SetOnTimer([&](TTimer&) {
    inEvent = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    finished = true;
  });
  timer->SetEnabled(true);
  ASSERT_TRUE(WaitFor([&] { return inEvent.load(); }));
  timer.reset();
  EXPECT_TRUE(finished);
  EXPECT_EQ(TTimers::Instance().Count(), 0);
}

}  // namespace
}  // namespace zel
