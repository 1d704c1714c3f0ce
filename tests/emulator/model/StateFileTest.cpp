// The state file keeps a registered register registered.
#include <unistd.h>

#include <fstream>

#include "emulator/model/StateFile.h"
#include "tests/emulator/model/DeviceFixture.h"

namespace zel::emu::test {
namespace {

class StateFileTest : public DeviceTest {
 protected:
  std::string path_ = ::testing::TempDir() + "emu_state_" + std::to_string(::getpid()) + ".txt";
  ~StateFileTest() override { std::remove(path_.c_str()); }
};

TEST_F(StateFileTest, RestartKeepsRegistrationShiftTablesAndQueue) {
  model_->HoldOfd(true);
  Register();
  ASSERT_EQ(Call("OpenSession").error, 0);
  ASSERT_EQ(Call("WriteTable", {{"TableNumber", std::int64_t{18}}, {"RowNumber", std::int64_t{1}},
                                {"FieldNumber", std::int64_t{9}}, {"FieldValue", Bytes{'a', ' ', 'b', '\\'}}}).error, 0);
  const TReply before = Call("FNGetFiscalizationResult");
  SaveStateFile(path_, model_->Snapshot());

  // a new process: fresh model, state loaded
  model_ = std::make_unique<TDeviceModel>();
  model_->SetHostClock([this] { return hostMs_; });
  model_->HoldOfd(true);
  handler_ = std::make_unique<TCommandHandler>(*model_);
  model_->Restore(LoadStateFile(path_));

  const TReply after = Call("FNGetFiscalizationResult");
  ASSERT_EQ(after.error, 0);
  EXPECT_EQ(after.fields, before.fields);
  EXPECT_EQ(Call("FNGetStatus").Int("FNLifeState"), 3);
  EXPECT_EQ(Mode(), 2);
  EXPECT_EQ(Call("FNGetInfoExchangeStatus").Int("MessageCount"), 2);
  const TReply cell = Call("ReadTable", {{"TableNumber", std::int64_t{18}}, {"RowNumber", std::int64_t{1}},
                                         {"FieldNumber", std::int64_t{9}}});
  const Bytes& value = std::get<Bytes>(cell.fields.at("FieldValue"));
  EXPECT_EQ(std::string(value.begin(), value.begin() + 4), "a b\\");
  EXPECT_EQ(Call("FNBeginRegistrationReport", {{"ReportTypeInt", std::int64_t{0}}}).error, 5) << "already registered";
}

TEST(StateFileText, BadFilesAreRefusedWithTheirLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "empty"},
      {"something else\n", "line 1"},
      {"zelvox-emu-state 1\nfn.phase x\n", "line 2"},
      {"zelvox-emu-state 1\ncell 99 1 1 5\n", "line 2"},
      {"zelvox-emu-state 1\nclock 1\nbogus 1\n", "line 3"},
      {"zelvox-emu-state 1\ndoctag 5 1017 x\n", "line 2"},
      {"zelvox-emu-state 1\nid.serial a\\q\n", "line 2"},
  };
  for (const auto& [text, where] : cases) {
    try {
      LoadStateText(text);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(where), std::string::npos) << e.what();
    }
  }
  EXPECT_THROW(LoadStateFile("/nonexistent/dir/state"), std::runtime_error);
}

}  // namespace
}  // namespace zel::emu::test
