#include <gtest/gtest.h>

#include "wizard/device/core/TaskState.h"

namespace zel {
namespace {

struct FakeClock {
  std::uint64_t Now = 1000;
  TTickSource Source() {
    return [this] { return Now; };
  }
};

TEST(TaskState, PercentsRoundAndNeverDivideByZero) {
  const struct {
    int Count, Done, Percents;
  } cases[] = {{0, 5, 0}, {-3, 1, 0}, {3, 1, 33}, {3, 2, 67}, {2, 1, 50}, {8, 1, 13}, {4, 4, 100}};
  for (const auto& c : cases) {
    TTaskState s;
    s.Start(c.Count);
    s.StepProgress(c.Done);
    EXPECT_EQ(s.Percents(), c.Percents) << c.Done << " of " << c.Count;
  }
}

TEST(TaskState, TimeRemainFollowsThePaceSoFar) {
  FakeClock clock;
  TTaskState s(clock.Source());
  EXPECT_EQ(s.TimeRemain(), 0u);  // never started

  s.Start(4);
  clock.Now += 10000;
  EXPECT_EQ(s.TimeRemain(), 0u);  // no progress yet
  s.StepProgress(1);
  EXPECT_EQ(s.TimeElapsed(), 10000u);
  EXPECT_EQ(s.TimeRemain(), 30000u);

  s.Start(1000);  // the first step of many shows 0 % but still has a pace
  clock.Now += 500;
  s.StepProgress(1);
  EXPECT_EQ(s.Percents(), 0);
  EXPECT_EQ(s.TimeRemain(), 499500u);

  s.Stop("done", true);
  EXPECT_EQ(s.TimeRemain(), 0u);

  TTaskState none(clock.Source());
  none.Start(0);
  clock.Now += 100;
  none.StepProgress(3);
  EXPECT_EQ(none.TimeRemain(), 0u);
}

TEST(TaskState, DataSpeedCountsWholeSeconds) {
  FakeClock clock;
  TTaskState s(clock.Source());
  s.Start(1);
  clock.Now += 900;
  s.UpdateDataSize(500);
  EXPECT_EQ(s.DataSpeed(), 0);  // under a second: no figure yet
  clock.Now += 1200;            // 2.1 s
  s.UpdateDataSize(500);
  EXPECT_EQ(s.DataSize(), 1000);
  EXPECT_EQ(s.DataSpeed(), 500);
}

TEST(TaskState, EndingsSetTextsAndFlags) {
  TTaskState s;
  s.Start(2);
  EXPECT_TRUE(s.IsRunning());
  EXPECT_NO_THROW(s.CheckStopFlag());

  s.SetSuccessText("ok");
  s.Success();
  EXPECT_TRUE(s.Completed());
  EXPECT_TRUE(s.Succeeded());
  EXPECT_FALSE(s.IsRunning());
  EXPECT_EQ(s.Text(), "ok");
  EXPECT_EQ(s.FailedInfo(), "");
  EXPECT_THROW(s.CheckStopFlag(), ETaskAborted);
  s.Reset();
  EXPECT_NO_THROW(s.CheckStopFlag());

  s.Start(2);
  s.Fail("no link");
  EXPECT_FALSE(s.Succeeded());
  EXPECT_EQ(s.Text(), "Ошибка");
  EXPECT_EQ(s.FailedInfo(), "no link");

  s.Start(2);
  EXPECT_EQ(s.FailedInfo(), "");
  s.UserCancel();
  EXPECT_TRUE(s.UserCancelled());
  EXPECT_EQ(s.Text(), "Операция отменена");
  EXPECT_EQ(s.FailedInfo(), "Операция отменена пользователем");
  try {
    s.CheckStopFlag();
    FAIL() << "no abort";
  } catch (const ETaskAborted& e) {
    EXPECT_STREQ(e.what(), "Операция отменена");
  }
  s.Start(1);
  EXPECT_FALSE(s.UserCancelled());
  EXPECT_FALSE(s.Completed());
}

}  // namespace
}  // namespace zel
