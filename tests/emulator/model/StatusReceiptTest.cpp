// Status and modes, receipts and their cancellation, shifts, busy answers.
#include "emulator/model/DeviceResult.h"
#include "tests/emulator/model/DeviceFixture.h"

namespace zel::emu::test {
namespace {

class StatusReceiptTest : public DeviceTest {};

TEST_F(StatusReceiptTest, StatusCarriesModeAndIdentity) {
  const TReply r = Call("GetECRStatus");
  ASSERT_EQ(r.error, 0);
  EXPECT_EQ(Mode(), 4);  // fresh register: shift closed
  EXPECT_EQ(r.Int("OperatorNumber"), 30);
  EXPECT_EQ(r.Str("ECRSoftVersion"), "3.2");
  const auto& soft = std::get<zel::TDate>(r.fields.at("ECRSoftDate"));
  EXPECT_GT(soft.Year * 10000 + soft.Month * 100 + soft.Day, 20181024);
  const auto& today = std::get<zel::TDate>(r.fields.at("Date"));
  EXPECT_EQ(today, (zel::TDate{14, 11, 2023}));  // the fake host clock
}

TEST_F(StatusReceiptTest, ReceiptOpensInOpenShiftAndCancelsWith0x88) {
  EXPECT_EQ(Call("OpenCheck", {{"CheckType", std::int64_t{0}}}).error, 62)
      << "no receipt before the register is registered and a shift is open";
  Register();
  EXPECT_EQ(Call("OpenCheck", {{"CheckType", std::int64_t{0}}}).error, 62);
  ASSERT_EQ(Call("OpenSession").error, 0);
  EXPECT_EQ(Mode(), 2);
  EXPECT_EQ(Call("OpenCheck", {{"CheckType", std::int64_t{4}}}).error, 51);
  ASSERT_EQ(Call("OpenCheck", {{"CheckType", std::int64_t{2}}, {"Password", kCashier}}).error, 0);
  EXPECT_EQ(Mode(), 8);
  EXPECT_EQ(Call("OpenCheck", {{"CheckType", std::int64_t{0}}}).error, 74);
  EXPECT_EQ(Call("PrintReportWithCleaning").error, 74) << "no shift close over an open receipt";

  EXPECT_EQ(Call("CancelCheck", {{"Password", std::int64_t{12345}}}).error, 79);
  EXPECT_EQ(Mode(), 8);
  // 0x88 with the 4-byte little-endian password, as the programs send it raw.
  const Bytes answer = Raw({0x88, 30, 0, 0, 0});
  ASSERT_GE(answer.size(), 2u);
  EXPECT_EQ(answer[0], 0x88);
  EXPECT_EQ(answer[1], 0);
  EXPECT_EQ(Mode(), 2);
  EXPECT_NE(TapeText().find("ЧЕК АННУЛИРОВАН"), std::string::npos);
  EXPECT_EQ(Raw({0x88, 30, 0, 0, 0})[1], 85) << "nothing left to cancel";
}

TEST_F(StatusReceiptTest, ShiftOpensClosesAndExpiresAfter24Hours) {
  Register();
  ASSERT_EQ(Call("OpenSession").error, 0);
  EXPECT_EQ(Call("OpenSession").error, 61);
  TReply params = Call("FNGetCurrentSessionParams");
  EXPECT_EQ(params.Int("SessionNumber"), 1);
  EXPECT_EQ(params.Int("FNSessionState"), 1);

  hostMs_ += 25LL * 3600 * 1000;
  EXPECT_EQ(Mode(), 3);
  EXPECT_EQ(Call("OpenCheck", {{"CheckType", std::int64_t{0}}}).error, 78);
  ASSERT_EQ(Call("PrintReportWithCleaning").error, 0);
  EXPECT_EQ(Mode(), 4);
  EXPECT_EQ(Call("PrintReportWithCleaning").error, 62);
  ASSERT_EQ(Call("OpenSession").error, 0);
  EXPECT_EQ(Call("FNGetCurrentSessionParams").Int("SessionNumber"), 2);
  // registration, open, close, open
  EXPECT_EQ(Call("FNGetStatus").Int("DocumentNumber"), 4);
  EXPECT_EQ(Call("GetOperationReg", {{"RegisterNumber", std::int64_t{7}}}).Int("ContentsOfOperationRegister"), 1);
}

TEST_F(StatusReceiptTest, BusySwitchAnswersNTimesButStatusStillReads) {
  model_->SetBusy(kPrinting, 2);
  const zel::TFieldMap line = {{"FontType", std::int64_t{1}}, {"StringForPrinting", std::string("Привет")}};
  EXPECT_EQ(Call("GetECRStatus").error, 0);
  EXPECT_EQ(Call("PrintStringWithFont", line).error, 80);
  EXPECT_EQ(Call("PrintStringWithFont", line).error, 80);
  EXPECT_EQ(Call("PrintStringWithFont", line).error, 0);
  model_->SetBusy(kPrintBufferFull, 1);
  EXPECT_EQ(Call("PrintString", {{"StringForPrinting", std::string("x")}}).error, 75);
  EXPECT_EQ(Call("PrintString", {{"StringForPrinting", std::string("x")}}).error, 0);
  EXPECT_EQ(TapeText(), "Привет\nx\n");
}

TEST_F(StatusReceiptTest, PrintingKeepsFontsFeedsAndCutsAndClipsLongLines) {
  ASSERT_EQ(Call("PrintStringWithFont", {{"FontType", std::int64_t{2}}, {"StringForPrinting", std::string(50, 'a')}}).error, 0);
  ASSERT_EQ(Call("FeedDocument", {{"StringQuantity", std::int64_t{2}}}).error, 0);
  ASSERT_EQ(Call("CutCheck").error, 0);
  EXPECT_EQ(Call("PrintStringWithFont", {{"FontType", std::int64_t{9}}}).error, 51);
  const TReply m = Call("GetFontMetrics", {{"FontType", std::int64_t{2}}});
  const auto width = m.Int("PrintWidth") / m.Int("CharWidth");
  EXPECT_EQ(TapeText(), "{font 2} " + std::string(static_cast<std::size_t>(width), 'a') + "\n\n\n" + std::string(40, '-') + "8<\n");
}

TEST_F(StatusReceiptTest, UnknownAndMalformedCommandsGetClearCodes) {
  EXPECT_EQ(Raw({0x16}), (Bytes{0x16, 55}));
  EXPECT_EQ(Raw({0xFF, 0x77}), (Bytes{0xFF, 0x77, 55}));
  EXPECT_EQ(Raw({0x11, 30}), (Bytes{0x11, 51})) << "password cut short";
  EXPECT_EQ(Raw({0xFF}), (Bytes{0xFF, 51}));
  EXPECT_TRUE(Raw({}).empty());
  // FE service commands: OSU support, key update once then "not needed", wrong access code.
  EXPECT_EQ(Raw({0xFE, 0x0F, 2, 0, 0, 0}), (Bytes{0xFE, 0, 0}));
  EXPECT_EQ(Raw({0xFE, 0x1A, 0x6E, 0x3B, 0xD9, 0x47}), (Bytes{0xFE, 0, 2}));
  EXPECT_EQ(Raw({0xFE, 0x1A, 0x6E, 0x3B, 0xD9, 0x47}), (Bytes{0xFE, 0, 254}));
  EXPECT_EQ(Raw({0xFE, 0xE2, 0, 0, 0, 0}), (Bytes{0xFE, 79}));
  EXPECT_EQ(Raw({0xFE, 0x0F, 2}), (Bytes{0xFE, 51}));
}

}  // namespace
}  // namespace zel::emu::test
