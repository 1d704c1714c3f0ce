#include "common/NotifyThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace zel {
namespace {

TEST(NotifyThread, RunsSuspendedBodyOnceStartedWithItselfAsSender) {
  std::atomic<TNotifyThread*> sender{nullptr};
  std::thread::id bodyThread;
  auto thread = TNotifyThread::CreateThread([&](TNotifyThread& t) {
    sender = &t;
    bodyThread = std::this_thread::get_id();
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(sender.load(), nullptr) << "ran before Start";
  EXPECT_FALSE(thread->Finished());
  thread->Start();
  thread->WaitFor();
  EXPECT_TRUE(thread->Finished());
  EXPECT_EQ(sender.load(), thread.get());
  EXPECT_NE(bodyThread, std::this_thread::get_id());
  EXPECT_THROW(thread->Start(), std::logic_error);
  thread->WaitFor();  // again: returns at once
}

TEST(NotifyThread, TerminateStopsALoopingBody) {
  std::atomic<int> rounds{0};
  TNotifyThread thread([&](TNotifyThread& t) {
    while (!t.Terminated()) {
      ++rounds;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  thread.Start();
  while (rounds < 3) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  thread.Terminate();
  thread.WaitFor();
  EXPECT_TRUE(thread.Terminated());
  EXPECT_TRUE(thread.Finished());
}

TEST(NotifyThread, DestructorTerminatesAndJoins) {
  std::atomic<bool> left{false};
  {
    TNotifyThread thread([&](TNotifyThread& t) {
      while (!t.Terminated()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      left = true;
    });
    thread.Start();
  }
  EXPECT_TRUE(left);
  TNotifyThread neverStarted([](TNotifyThread&) {});  // nothing to join
}

TEST(NotifyThread, KeepsTheBodysException) {
  TNotifyThread thread([](TNotifyThread&) { throw std::runtime_error("boom"); });
  thread.Start();
  thread.WaitFor();
  ASSERT_TRUE(thread.FatalException());
  EXPECT_THROW(std::rethrow_exception(thread.FatalException()), std::runtime_error);
}

}  // namespace
}  // namespace zel
