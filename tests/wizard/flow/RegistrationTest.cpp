// The registration sequence against the virtual register: what is entered is what
// the storage holds, re-registrations pick the right report and reason, busy
// answers are retried within a bound, and failures cancel the storage's document.
#include <gtest/gtest.h>

#include "wizard/flow/core/RegChecks.h"
#include "wizard/flow/registration/DriverCheck.h"
#include "wizard/flow/registration/Registration.h"
#include "RecordingRegister.h"

namespace zel {
namespace {

using test::TRecordingRegister;

const TBusyRetry kQuickRetry{10, std::chrono::milliseconds(1)};

std::string ValidINN12(std::string first10) {
  first10 += static_cast<char>('0' + INNCheckDigit(11, first10));
  first10 += static_cast<char>('0' + INNCheckDigit(12, first10));
  return first10;
}

TRegParams NewRegistration(int ffd) {
  TRegParams r;
  r.FirstTime = true;
  r.OFDEnabled = true;
  r.INN = "1234567894";
  r.RNM = MakeRNM("0000000001", r.INN, "0012345678");
  r.User = "ООО Ромашка";
  r.Cashier = "Иванов И.И.";
  r.Address = "г. Москва, ул. Лесная, 5";
  r.PayPlace = "Магазин";
  r.SenderEmail = "shop@example.invalid";
  r.OFDName = "ОФД Тест";
  r.OFDUrl = "ofd.example.invalid";
  r.OFDINN = "7704358518";
  r.OFDServer = "ofd.example.invalid";
  r.OFDPort = 7790;
  r.TaxOfficeURL = "www.nalog.gov.ru";
  r.TaxSystem = Bit(tsOSN) | Bit(tsUSNIncome);
  r.WorkMode = Bit(wmAutomatic) | Bit(wmServices);
  r.AutomatNumber = "A-17";
  r.WorkModeEx = ffd == kFFD12 ? Bit(wmxExcise) | Bit(wmxMarking) : Bit(wmxLottery);
  r.Agent = Bit(agPayAgent);
  r.FFD = ffd;
  r.CashierINN = ValidINN12("5001007322");
  r.ServerKM = "km.example.invalid";
  r.PortKM = 2000;
  return r;
}

class RegistrationTest : public ::testing::TestWithParam<std::tuple<bool, int>> {};

TEST_P(RegistrationTest, NewRegistrationReadsBackWhatWasEntered) {
  const auto [cashCore, ffd] = GetParam();
  TRecordingRegister reg(cashCore);
  TZelvox drv;
  reg.Attach(drv);
  TRegDevice dev(drv, kQuickRetry);
  const TRegParams entered = NewRegistration(ffd);

  Register(dev, entered);
  EXPECT_EQ(reg.Count("FNBuildRegistrationReport"), 1);
  EXPECT_EQ(reg.Count("FNCancelDocument"), 0);

  TRegParams back = entered;
  back.INN = back.RNM = back.User = back.Cashier = back.Address = back.OFDName = back.OFDUrl = back.OFDINN = "";
  back.TaxSystem = back.WorkMode = kNotChosen;
  ReadRegistrationResult(dev, back);
  EXPECT_EQ(back.INN, entered.INN);
  EXPECT_EQ(back.RNM, entered.RNM);
  EXPECT_EQ(back.TaxSystem, entered.TaxSystem);
  EXPECT_EQ(back.WorkMode, entered.WorkMode);
  EXPECT_EQ(back.User, entered.User);
  EXPECT_EQ(back.Cashier, entered.Cashier);
  EXPECT_EQ(back.Address, entered.Address);
  EXPECT_EQ(back.OFDName, entered.OFDName);
  EXPECT_EQ(back.OFDUrl, entered.OFDUrl);
  EXPECT_EQ(back.OFDINN, entered.OFDINN);
  EXPECT_EQ(back.KKTSerial, "0012345678");
  EXPECT_FALSE(back.FNSerial.empty());
  EXPECT_FALSE(back.FiscalSign.empty());
  EXPECT_GT(back.DocNumber, 0);
  EXPECT_EQ(back.DocType, 1);
  EXPECT_EQ(back.ReasonCode, 0);

  // The settings that only the tables keep.
  EXPECT_EQ(cashCore ? dev.TableReadInt(10, 1, 29) : dev.ReadFFD(), ffd);
  EXPECT_EQ(dev.TableReadInt(cashCore ? 13 : 18, 1, 21), entered.WorkModeEx);
  EXPECT_EQ(dev.TableReadStr(24, 1, 1), entered.AutomatNumber);
  EXPECT_EQ(dev.TableReadStr(19, 1, 1), entered.OFDServer);
  EXPECT_EQ(dev.TableReadInt(19, 1, 2), entered.OFDPort);
  EXPECT_EQ(dev.TableReadStr(18, 1, 14), entered.PayPlace);
  EXPECT_EQ(dev.TableReadStr(18, 1, 15), entered.SenderEmail);
  if (ffd == kFFD12) {
    EXPECT_EQ(dev.TableReadStr(19, 1, 5), entered.ServerKM);
  }
  const auto doc = reg.Model.Snapshot().fn.documents.back();
  EXPECT_EQ(doc.tags.at(1203), entered.CashierINN);
  if (ffd == kFFD105 && cashCore) {
    EXPECT_EQ(doc.tags.at(1057), std::string(1, static_cast<char>(entered.Agent)));  // one byte
  }
  if (ffd == kFFD105 && !cashCore) {
    EXPECT_EQ(dev.TableReadInt(18, 1, 16), entered.Agent);
  }
  if (ffd == kFFD12) {
    EXPECT_EQ(doc.tags.count(1057), 0u);
  }
}

INSTANTIATE_TEST_SUITE_P(CashCoreAndFFD, RegistrationTest,
                         ::testing::Combine(::testing::Bool(), ::testing::Values(kFFD105, kFFD12)));

struct TReregCase {
  const char* Name;
  bool CashCore;
  bool NewFN;
  const char* Builder;
  int Reason;
};

class ReregistrationTest : public ::testing::TestWithParam<TReregCase> {};

TEST_P(ReregistrationTest, UsesTheRightReportAndReason) {
  const TReregCase& c = GetParam();
  TRecordingRegister reg(c.CashCore);
  TZelvox drv;
  reg.Attach(drv);
  TRegDevice dev(drv, kQuickRetry);
  Register(dev, NewRegistration(kFFD12));
  reg.Sent.clear();

  TRegParams r = NewRegistration(kFFD12);
  r.FirstTime = false;
  r.NewFN = c.NewFN;
  r.ReasonCode = 3;
  r.User = "ООО Василёк";
  r.ReasonCodesEx = (1u << 2) | (1u << 31);
  Register(dev, r);
  EXPECT_EQ(reg.Count(c.Builder), 1);
  EXPECT_EQ(reg.Count("FNBuildRegistrationReport") + reg.Count("FNBuildReregistrationReport"), 1);

  const auto doc = reg.Model.Snapshot().fn.documents.back();
  EXPECT_EQ(doc.type, 11);
  EXPECT_EQ(doc.reason, c.Reason);
  // The driver reads a 4-byte field as signed: compare the 32 bits.
  EXPECT_EQ(static_cast<std::uint32_t>(dev.TableReadIntOrZero(c.CashCore ? 13 : 18, 1, 22)), r.ReasonCodesEx);
  if (!c.CashCore) {
    EXPECT_EQ(doc.reasonEx, r.ReasonCodesEx);
  }
  ReadRegistrationResult(dev, r);
  EXPECT_EQ(r.User, "ООО Василёк");
  EXPECT_EQ(r.DocType, 2);
  EXPECT_EQ(r.ReasonCode, c.Reason);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReregistrationTest,
                         ::testing::Values(TReregCase{"SameFN", false, false, "FNBuildReregistrationReport", 3},
                                           TReregCase{"SameFNCashCore", true, false, "FNBuildReregistrationReport", 3},
                                           TReregCase{"NewFNCashCore", true, true, "FNBuildReregistrationReport", 1}),
                         [](const auto& info) { return std::string(info.param.Name); });

// Without the cash-core capability an FN replacement is reported with the registration
// report; this register refuses it for an FN already registered, and the document is cancelled.
TEST(ReregistrationFailure, FNReplacementWithoutCashCoreBuildsRegistrationReportAndCancelsOnRefusal) {
  TRecordingRegister reg(false);
  TZelvox drv;
  reg.Attach(drv);
  TRegDevice dev(drv, kQuickRetry);
  Register(dev, NewRegistration(kFFD105));
  reg.Sent.clear();
  TRegParams r = NewRegistration(kFFD105);
  r.FirstTime = false;
  r.NewFN = true;
  EXPECT_THROW(Register(dev, r), EWizardError);
  const int build = reg.Find("FNBuildRegistrationReport");
  ASSERT_GE(build, 0);
  EXPECT_EQ(reg.Count("FNBuildReregistrationReport"), 0);
  EXPECT_GT(reg.Find("FNCancelDocument", build), build);
}

TEST(BusyRegister, ReportBuiltOnceAfterBusyAnswers) {
  TRecordingRegister reg(false);
  TZelvox drv;
  reg.Attach(drv);
  TRegDevice dev(drv, kQuickRetry);
  reg.BusyFor("FNBuildRegistrationReport", 4, 80);
  reg.BusyFor("FNBeginRegistrationReport", 2, 75);
  Register(dev, NewRegistration(kFFD105));
  EXPECT_EQ(reg.Count("FNBuildRegistrationReport"), 5);
  EXPECT_EQ(reg.Count("FNBeginRegistrationReport"), 3);
  EXPECT_EQ(reg.Model.Snapshot().fn.documents.size(), 1u);
  EXPECT_EQ(reg.Count("FNCancelDocument"), 0);
}

TEST(BusyRegister, EndlessBusyStopsAtTheBoundAndCancels) {
  TRecordingRegister reg(false);
  TZelvox drv;
  reg.Attach(drv);
  TRegDevice dev(drv, TBusyRetry{5, std::chrono::milliseconds(1)});
  reg.BusyFor("FNBuildRegistrationReport", 1000, 80);
  try {
    Register(dev, NewRegistration(kFFD105));
    FAIL() << "a register busy for ever must not pass";
  } catch (const EWizardError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Ошибка 80, ", 0), 0u) << e.what();
  }
  EXPECT_EQ(reg.Count("FNBuildRegistrationReport"), 5);
  EXPECT_EQ(reg.Count("FNCancelDocument"), 1);
  EXPECT_TRUE(reg.Model.Snapshot().fn.documents.empty());
}

TEST(RegistrationRefusals, UnchosenValuesNeverReachTheRegister) {
  const std::vector<std::function<void(TRegParams&)>> unchosen = {
      [](TRegParams& r) { r.TaxSystem = kNotChosen; }, [](TRegParams& r) { r.WorkMode = kNotChosen; },
      [](TRegParams& r) { r.WorkModeEx = kNotChosen; }, [](TRegParams& r) { r.Agent = kNotChosen; },
      [](TRegParams& r) { r.FFD = kNotChosen; },
      [](TRegParams& r) { r.FirstTime = false; r.ReasonCode = kNotChosen; },
      [](TRegParams& r) { r.FirstTime = false; r.ReasonCode = 2; r.ReasonCodesEx = 1u << 25; }};  // undefined reason
  for (std::size_t i = 0; i < unchosen.size(); ++i) {
    SCOPED_TRACE(i);
    TRecordingRegister reg(false);
    TZelvox drv;
    reg.Attach(drv);
    TRegDevice dev(drv, kQuickRetry);
    TRegParams r = NewRegistration(kFFD105);
    unchosen[i](r);
    EXPECT_THROW(Register(dev, r), EWizardError);
    EXPECT_TRUE(reg.Sent.empty());
  }
}

TEST(RegistrationRefusals, RefusedReportCancelsTheDocumentWithTheDriverText) {
  TRecordingRegister reg(false);
  TZelvox drv;
  reg.Attach(drv);
  TRegDevice dev(drv, kQuickRetry);
  TRegParams r = NewRegistration(kFFD105);
  r.INN = "123";  // the storage refuses it
  try {
    Register(dev, r);
    FAIL();
  } catch (const EWizardError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Ошибка ", 0), 0u);
  }
  EXPECT_GT(reg.Find("FNCancelDocument"), reg.Find("FNBuildRegistrationReport"));
  EXPECT_EQ(reg.Model.Snapshot().fn.phase, 1);  // still ready for registration
}

TEST(DeviceTables, CashCoreIsNotDecidedFromAStaleValue) {
  TRecordingRegister reg(false);
  TZelvox drv;
  reg.Attach(drv);
  TRegDevice dev(drv, kQuickRetry);
  ASSERT_EQ(dev.ReadModelParam(4), 1);  // leaves 1 in ModelParamValue
  reg.BusyFor("ReadModelParamValue", 1, 55);
  EXPECT_FALSE(dev.IsCashCore());
  TRecordingRegister cc(true);
  cc.Attach(drv);
  EXPECT_TRUE(dev.IsCashCore());
}

TEST(DeviceTables, MissingFieldsReadAsNothingOnlyWhereAllowed) {
  TRecordingRegister reg(false);
  TZelvox drv;
  reg.Attach(drv);
  TRegDevice dev(drv, kQuickRetry);
  EXPECT_EQ(dev.TableReadIntOrZero(18, 1, 99), 0);
  EXPECT_EQ(dev.TableReadStrOrEmpty(18, 1, 99), "");
  try {
    dev.TableReadStr(18, 1, 99);
    FAIL();
  } catch (const EWizardError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Ошибка 93, ", 0), 0u) << e.what();
  }
  dev.WriteFFD(kFFD105);
  EXPECT_EQ(dev.ReadFFD(), kFFD105);
  EXPECT_EQ(dev.TableReadInt(17, 1, 3), 2);
}

}  // namespace
}  // namespace zel
