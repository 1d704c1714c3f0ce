// The driver helpers of the test bench against the in-process virtual
// register: which calls they make, what they give back, how they fail.
#include <gtest/gtest.h>

#include <QLocale>
#include <atomic>
#include <thread>

#include "emulator/model/CommandHandler.h"
#include "emulator/model/DeviceModel.h"
#include "testbench/core/Driver.h"

namespace zel {
namespace {

constexpr std::uint8_t kPrintStringWithFont = 0x12;
constexpr std::uint8_t kReadModelParamValue = 0xF8;

class DriverHelpersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QLocale::setDefault(QLocale::c());
    Driver().SetInProcessDevice([this](const Bytes& command) {
      if (!command.empty()) commands.push_back(command[0]);
      if (!command.empty() && command[0] == kPrintStringWithFont && busyLeft > 0) {
        --busyLeft;
        return Bytes{kPrintStringWithFont, 80};
      }
      return handler.Handle(command);
    });
  }
  void TearDown() override { FreeDriver(); }
  int Count(std::uint8_t code) const { return static_cast<int>(std::count(commands.begin(), commands.end(), code)); }
  std::vector<std::string> PrintedTexts() {
    std::vector<std::string> texts;
    for (const emu::TTapeItem& item : model.Tape())
      if (item.kind == emu::TTapeItem::kText) texts.push_back(item.text);
    return texts;
  }

  emu::TDeviceModel model;
  emu::TCommandHandler handler{model};
  std::vector<std::uint8_t> commands;
  int busyLeft = 0;
};

TEST_F(DriverHelpersTest, TableNumbersMoveOnlyForEighteenAndNineteen) {
  TDriver& d = Driver();
  EXPECT_EQ(d.CorrectTableNumber(17), 17);
  EXPECT_TRUE(commands.empty());
  EXPECT_EQ(d.CorrectTableNumber(18), 18);  // this model keeps them where they are
  EXPECT_EQ(d.CorrectTableNumber(19), 19);
  EXPECT_EQ(Count(kReadModelParamValue), 2);
}

TEST_F(DriverHelpersTest, TableReadsAbortOrGiveTheDefault) {
  TDriver& d = Driver();
  d.put_Password(30);
  d.WriteTableInt(19, 1, 3, 2500);  // the OFD answer timeout
  EXPECT_EQ(d.ReadTableInt(19, 1, 3), 2500);
  EXPECT_EQ(d.ReadTableDef(19, 1, 3, 77), 2500);
  EXPECT_EQ(d.ReadTableDef(250, 1, 1, 77), 77);
  EXPECT_THROW(d.ReadTableInt(250, 1, 1), EAbort);
  EXPECT_NE(d.get_ResultCode(), 0);
  EXPECT_THROW(d.WriteTableInt(250, 1, 1, 5), EAbort);
}

TEST_F(DriverHelpersTest, ModelParametersByNumber) {
  TDriver& d = Driver();
  EXPECT_TRUE(d.CapFN());
  EXPECT_EQ(d.Font1Width(), 48);
  EXPECT_EQ(d.Font2Width(), 36);
  const int model = d.GetModelID();
  EXPECT_EQ(d.IsModelType2(), IsModelType2(model));
  // A parameter the model does not have aborts quietly.
  EXPECT_THROW(d.ReadIntParam(999), EAbort);
}

TEST_F(DriverHelpersTest, AmountFollowsPointPosition) {
  TDriver& d = Driver();
  struct Case {
    double Value;
    bool Point;
    const char* Want;
  };
  for (const Case& c : {Case{12.5, true, "12.50"}, Case{12.5, false, "12"}, Case{13.99, false, "13"}}) {
    d.put_PointPosition(c.Point);
    EXPECT_EQ(d.AmountToStr(c.Value), c.Want) << c.Value;
  }
}

TEST_F(DriverHelpersTest, PrintTextInPiecesWithBusyRetries) {
  TDriver& d = Driver();
  d.put_Password(30);
  d.put_Password(1);
  EXPECT_EQ(d.GetPrintStringWidth(2), 36);
  EXPECT_EQ(d.get_Password(), 1);  // asked with the administrator's password, then back

  busyLeft = 4;  // the fifth attempt gets through
  d.PrintText(std::string(40, 'x') + "\n\nend", 2);
  EXPECT_EQ(PrintedTexts(), (std::vector<std::string>{std::string(36, 'x'), "xxxx", "", "end"}));
  EXPECT_EQ(d.get_Password(), 1);

  busyLeft = 5;  // five busy answers: the piece is given up
  EXPECT_THROW(d.PrintText("late", 2), EAbort);
  EXPECT_EQ(d.get_ResultCode(), 80);
  EXPECT_EQ(PrintedTexts().size(), 4u);
}

TEST_F(DriverHelpersTest, RefusedTagAbortsAndSTLVPartsBuild) {
  TDriver& d = Driver();
  d.put_Password(30);
  // Without an open receipt the register refuses, and the helper aborts.
  EXPECT_THROW(d.SendTagStr(1008, "a@b.c"), EAbort);
  EXPECT_NE(d.get_ResultCode(), 0);
  d.BeginSTLVTag(1223);
  d.AddTagStr(1005, "addr");
  d.AddTagByte(1057, 4);
  d.AddTagUnixTime(1098, 45000.0);
  EXPECT_EQ(d.get_TagNumber(), 1098);
  EXPECT_EQ(d.get_TagType(), 6);
}

TEST_F(DriverHelpersTest, RawCommandAndItsAnswer) {
  TDriver& d = Driver();
  Bytes answer;
  EXPECT_EQ(d.SendCommand(Bytes{0x10, 30, 0, 0, 0}, answer), 0);
  ASSERT_GE(answer.size(), 2u);
  EXPECT_EQ(answer[0], 0x10);
  EXPECT_EQ(answer[1], 0);
  EXPECT_EQ(d.get_BinaryConversion(), 1);
}

// A worker's call sequence and a handler's do not interleave, and the
// instance a worker holds outlives FreeDriver.
TEST_F(DriverHelpersTest, LockedSequencesAndSharedInstance) {
  std::shared_ptr<TDriver> held = DriverShared();
  std::atomic<bool> stop{false};
  std::atomic<int> mixed{0};
  std::thread worker([&] {
    while (!stop) {
      const TDriver::TLock lock = held->Lock();
      held->put_TagNumber(1);
      std::this_thread::yield();
      if (held->get_TagNumber() != 1) ++mixed;
    }
  });
  for (int i = 0; i < 2000; ++i) {
    const TDriver::TLock lock = Driver().Lock();
    Driver().put_TagNumber(2);
    if (Driver().get_TagNumber() != 2) ++mixed;
  }
  FreeDriver();
  EXPECT_FALSE(DriverExists());
  held->put_TagNumber(3);  // still alive for the worker
  stop = true;
  worker.join();
  EXPECT_EQ(mixed, 0);
  EXPECT_NE(&Driver(), held.get());
}

}  // namespace
}  // namespace zel
