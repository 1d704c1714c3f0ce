// Fiscal storage life: registration, re-registration, archive closing, OFD queue.
#include "driver/catalogue/FieldCodec.h"
#include "tests/emulator/model/DeviceFixture.h"

namespace zel::emu::test {
namespace {

class FiscalTest : public DeviceTest {};

TEST_F(FiscalTest, RegistrationReadsBackWhatWasWritten) {
  EXPECT_EQ(Call("FNGetFiscalizationResult").error, 8);
  EXPECT_EQ(Call("FNGetStatus").Int("FNLifeState"), 1);
  ASSERT_EQ(Call("FNBeginRegistrationReport", {{"ReportTypeInt", std::int64_t{0}}}).error, 0);
  EXPECT_EQ(Call("FNGetStatus").Int("FNCurrentDocument"), 1);
  // OFD INN as tag 1017 and the extended modes through table 18
  const Bytes tlv = zel::EncodeTlv({1017, Bytes{'7', '7', '0', '9', '3', '6', '4', '3', '4', '6'}});
  ASSERT_EQ(Call("FNSendTLV", {{"TLVData", tlv}}).error, 0);
  ASSERT_EQ(Call("WriteTable", {{"TableNumber", std::int64_t{18}}, {"RowNumber", std::int64_t{1}},
                                {"FieldNumber", std::int64_t{21}}, {"FieldValue", Bytes{0x05}}}).error, 0);
  const zel::TFieldMap bad = {{"INN", std::string("77012")}, {"KKTRegistrationNumber", std::string("1")},
                              {"TaxType", std::int64_t{1}}};
  EXPECT_EQ(Call("FNBuildRegistrationReport", bad).error, 9);
  EXPECT_EQ(Call("FNBuildRegistrationReport", {{"INN", std::string("770123456789")},
                                               {"KKTRegistrationNumber", std::string("0000000001012345")},
                                               {"TaxType", std::int64_t{1 | 4}},
                                               {"WorkMode", std::int64_t{0x22}},
                                               {"Password", kCashier}}).error, 79);
  const TReply built = Call("FNBuildRegistrationReport", {{"INN", std::string("770123456789")},
                                                          {"KKTRegistrationNumber", std::string("0000000001012345")},
                                                          {"TaxType", std::int64_t{1 | 4}},
                                                          {"WorkMode", std::int64_t{0x22}}});
  ASSERT_EQ(built.error, 0);

  const TReply r = Call("FNGetFiscalizationResult");
  ASSERT_EQ(r.error, 0);
  EXPECT_EQ(r.Str("INN"), "770123456789");
  EXPECT_EQ(r.Str("KKTRegistrationNumber"), "0000000001012345");
  EXPECT_EQ(r.Str("INNOFD"), "7709364346");
  EXPECT_EQ(r.Int("TaxType"), 5);
  EXPECT_EQ(r.Int("WorkMode"), 0x22);
  EXPECT_EQ(r.Int("WorkModeEx"), 5);
  EXPECT_EQ(r.Int("DocumentNumber"), built.Int("DocumentNumber"));
  EXPECT_EQ(r.Int("FiscalSign"), built.Int("FiscalSign"));
  EXPECT_NE(r.Int("FiscalSign"), 0);
  EXPECT_EQ(Call("FNGetStatus").Int("FNLifeState"), 3);
  EXPECT_EQ(Call("FNGetExpirationTime").Int("FreeRegistration"), 29);
  EXPECT_EQ(std::get<std::int64_t>(Call("GetECRStatus").fields.at("INN")), 770123456789);
  EXPECT_NE(TapeText().find("ОТЧЕТ О РЕГИСТРАЦИИ"), std::string::npos);
  // a second registration is refused by the storage
  EXPECT_EQ(Call("FNBeginRegistrationReport", {{"ReportTypeInt", std::int64_t{0}}}).error, 5);
}

TEST_F(FiscalTest, ReregistrationKeepsHistoryAndNeedsAClosedShift) {
  Register();
  ASSERT_EQ(Call("OpenSession").error, 0);
  EXPECT_EQ(Call("FNBeginRegistrationReport", {{"ReportTypeInt", std::int64_t{2}}}).error, 61);
  ASSERT_EQ(Call("PrintReportWithCleaning").error, 0);
  ASSERT_EQ(Call("FNBeginRegistrationReport", {{"ReportTypeInt", std::int64_t{2}}}).error, 0);
  EXPECT_EQ(Call("FNGetStatus").Int("FNCurrentDocument"), 19);
  const zel::TFieldMap rereg = {{"INN", std::string("7701234567")}, {"KKTRegistrationNumber", std::string("0000000002012345")},
                                {"TaxType", std::int64_t{2}}, {"WorkMode", std::int64_t{0}},
                                {"RegistrationReasonCode", std::int64_t{4}}};
  ASSERT_EQ(Call("FNBuildReregistrationReport", rereg).error, 0);
  EXPECT_EQ(Call("FNGetFiscalizationResult").Str("KKTRegistrationNumber"), "0000000002012345");
  EXPECT_EQ(Call("FNGetFiscalizationResult").Int("RegistrationReasonCode"), 4);
  const TReply first = Call("FNGetFiscalizationResultByNumber", {{"RegistrationNumber", std::int64_t{1}}});
  EXPECT_EQ(first.Str("KKTRegistrationNumber"), "0000000001012345");
  EXPECT_EQ(first.Int("DocumentNumber"), 1);
  EXPECT_EQ(Call("FNGetFiscalizationResultByNumber", {{"RegistrationNumber", std::int64_t{3}}}).error, 8);
}

TEST_F(FiscalTest, OfdQueueDrainsAtItsPaceUnlessHeldAndArchiveCloses) {
  model_->SetOfdPace(1.0);
  model_->HoldOfd(true);
  Register();
  ASSERT_EQ(Call("OpenSession").error, 0);
  ASSERT_EQ(Call("PrintReportWithCleaning").error, 0);
  hostMs_ += 60'000;
  TReply ex = Call("FNGetInfoExchangeStatus");
  EXPECT_EQ(ex.Int("MessageCount"), 3);
  EXPECT_EQ(ex.Int("DocumentNumber"), 1);
  EXPECT_EQ(ex.Int("InfoExchangeStatus") & 2, 2);

  model_->HoldOfd(false);
  hostMs_ += 1'000;
  EXPECT_EQ(Call("FNGetInfoExchangeStatus").Int("MessageCount"), 2);
  EXPECT_EQ(Call("FNGetInfoExchangeStatus").Int("DocumentNumber"), 2);

  ASSERT_EQ(Call("FNBeginCloseFiscalMode").error, 0);
  ASSERT_EQ(Call("FNCloseFiscalMode").error, 0);
  EXPECT_EQ(Call("FNGetStatus").Int("FNLifeState"), 7);
  EXPECT_EQ(Call("OpenSession").error, 5);
  hostMs_ += 10'000;
  EXPECT_EQ(Call("FNGetStatus").Int("FNLifeState"), 15);
  EXPECT_EQ(model_->UnsentDocuments(), 0u);
}

TEST_F(FiscalTest, ClockOffsetAndDateCannotGoBackPastTheLastDocument) {
  ASSERT_EQ(Call("SetDate", {{"Date", zel::TDate{1, 2, 2030}}}).error, 0);
  EXPECT_EQ(Mode(), 6);
  EXPECT_EQ(Call("ConfirmDate", {{"Date", zel::TDate{2, 2, 2030}}}).error, 51);
  ASSERT_EQ(Call("ConfirmDate", {{"Date", zel::TDate{1, 2, 2030}}}).error, 0);
  EXPECT_EQ(Mode(), 4);
  ASSERT_EQ(Call("SetTime", {{"Time", zel::TTime{10, 20, 30}}}).error, 0);
  TReply s = Call("GetECRStatus");
  EXPECT_EQ(std::get<zel::TDate>(s.fields.at("Date")), (zel::TDate{1, 2, 2030}));
  EXPECT_EQ(std::get<zel::TTime>(s.fields.at("Time")), (zel::TTime{10, 20, 30}));
  Register();
  EXPECT_EQ(Call("SetDate", {{"Date", zel::TDate{31, 1, 2030}}}).error, 7);
  EXPECT_EQ(Call("SetDate", {{"Date", zel::TDate{31, 2, 2030}}}).error, 51);
}

}  // namespace
}  // namespace zel::emu::test
