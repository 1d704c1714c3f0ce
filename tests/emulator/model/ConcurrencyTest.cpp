// Several lines (pty and TCP sessions) drive one register at once.
#include <thread>

#include "tests/emulator/model/DeviceFixture.h"

namespace zel::emu::test {
namespace {

class ConcurrencyTest : public DeviceTest {};

TEST_F(ConcurrencyTest, CommandsFromManyThreadsKeepTheArchiveConsistent) {
  Register();
  constexpr int kShifts = 40, kLines = 200;
  std::vector<std::thread> threads;
  threads.emplace_back([this] {
    for (int i = 0; i < kShifts; ++i) {
      EXPECT_EQ(Call("OpenSession").error, 0);
      EXPECT_EQ(Call("PrintReportWithCleaning").error, 0);
    }
  });
  for (int t = 0; t < 3; ++t)
    threads.emplace_back([this, t] {
      for (int i = 0; i < kLines; ++i) {
        EXPECT_EQ(Call("PrintString", {{"StringForPrinting", "t" + std::to_string(t)}}).error, 0);
        EXPECT_EQ(Call("WriteTable", {{"TableNumber", std::int64_t{4}}, {"RowNumber", std::int64_t{t + 1}},
                                      {"FieldNumber", std::int64_t{1}}, {"FieldValue", Bytes{'a'}}}).error, 0);
        Call("GetECRStatus");
      }
    });
  for (auto& th : threads) th.join();
  const TDeviceState s = model_->Snapshot();
  ASSERT_EQ(s.fn.documents.size(), 1u + 2 * kShifts);
  for (std::size_t i = 0; i < s.fn.documents.size(); ++i) EXPECT_EQ(s.fn.documents[i].number, i + 1);
  EXPECT_EQ(s.fn.sessionNumber, kShifts);
  int printed = 0;
  for (const auto& item : model_->Tape()) printed += item.kind == TTapeItem::kText && item.text.size() == 2 && item.text[0] == 't';
  EXPECT_EQ(printed, 3 * kLines);
}

}  // namespace
}  // namespace zel::emu::test
