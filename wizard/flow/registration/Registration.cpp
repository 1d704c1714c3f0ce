#include "wizard/flow/registration/Registration.h"

#include <algorithm>

#include "common/Translate.h"
#include "driver/DateTimeConv.h"
#include "driver/Zelvox.h"
#include "wizard/flow/registration/DriverCheck.h"
#include "wizard/flow/registration/ReasonCodes.h"

namespace zel {

namespace {

constexpr int kTagCashierINN = 1203;
constexpr int kTagAgent = 1057;
constexpr int kReasonFNReplaced = 1;

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  const auto e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

void TablesBeforeReport(TRegDevice& dev, const TRegParams& r, bool cc) {
  if (cc) dev.TableWriteInt(10, 1, 32, 1);
  dev.WriteFFD(r.FFD);
  const std::pair<int, const std::string*> texts[] = {
      {7, &r.User},         {8, &r.Cashier},  {9, &r.Address},  {10, &r.OFDName},     {11, &r.OFDUrl},
      {12, &r.OFDINN},      {13, &r.TaxOfficeURL}, {14, &r.PayPlace}, {15, &r.SenderEmail}};
  for (const auto& [field, value] : texts) dev.TableWriteStr(18, 1, field, *value);
  const bool automatic = TestBit(r.WorkMode, wmAutomatic);
  if (!cc) {
    if (r.FFD == kFFD105) dev.TableWriteInt(18, 1, 16, r.Agent);
    dev.TableWriteInt(18, 1, 21, r.WorkModeEx);
    if (automatic) dev.TableWriteStr(24, 1, 1, r.AutomatNumber);
  } else {
    dev.TableWriteInt(13, 1, 21, r.WorkModeEx);
    // The machine number goes to the vending table the model names (parameter 75):
    // raw table 16 holds the network settings, whose address mode it would overwrite.
    if (automatic) dev.TableWriteStr(24, 1, 1, r.AutomatNumber);
  }
  if (r.OFDEnabled) {
    dev.TableWriteStr(19, 1, 1, r.OFDServer);
    dev.TableWriteInt(19, 1, 2, r.OFDPort);
  }
  if (r.FFD == kFFD12) {
    dev.TableWriteStr(19, 1, 5, r.ServerKM);
    dev.TableWriteInt(19, 1, 6, r.PortKM);
  }
}

void BuildReport(TRegDevice& dev, const TRegParams& r, bool cc) {
  TZelvox& d = dev.Driver();
  dev.CallBusy(&TZelvox::FNBeginRegistrationReport);
  if (!r.CashierINN.empty()) dev.SendTagStr(kTagCashierINN, r.CashierINN);
  if (r.FFD == kFFD105 && r.Agent != 0 && cc) dev.SendTagByte(kTagAgent, r.Agent);
  if (!r.FirstTime && r.FFD >= 3) dev.TableWriteIntRow1(cc ? 13 : 18, 22, r.ReasonCodesEx);
  d.put_INN(r.INN);
  d.put_KKTRegistrationNumber(r.RNM);
  d.put_TaxType(r.TaxSystem);
  d.put_WorkMode(r.WorkMode);
  d.put_RegistrationReasonCode(r.NewFN ? kReasonFNReplaced : r.ReasonCode);
  d.WaitForPrinting();
  if (r.FirstTime)
    dev.CallBusy(&TZelvox::FNBuildRegistrationReport);
  else if (r.NewFN)
    dev.CallBusy(cc ? &TZelvox::FNBuildReregistrationReport : &TZelvox::FNBuildRegistrationReport);
  else
    dev.CallBusy(&TZelvox::FNBuildReregistrationReport);
}

}  // namespace

void CheckRegParamsChosen(const TRegParams& r) {
  std::string missing = UnchosenRegField(r);
  if (missing.empty() && r.FFD == kNotChosen) missing = "FFD";
  if (missing.empty() && !r.FirstTime && !r.NewFN && (r.ReasonCode < 2 || r.ReasonCode > 4)) missing = "ReasonCode";
  if (!missing.empty())
    throw EWizardError(Tr("Не выбран параметр регистрации, регистрация не выполнена: ") + missing);
  if ((r.ReasonCodesEx & ~DefinedReasonBits()) != 0)
    throw EWizardError(Tr("Введены некорректные коды причин изменения сведений о ККТ"));
}

void Register(TRegDevice& dev, const TRegParams& r) {
  CheckRegParamsChosen(r);
  TZelvox& d = dev.Driver();
  d.put_Timeout(10000);
  const bool cc = dev.IsCashCore();
  TablesBeforeReport(dev, r, cc);
  d.put_ReportTypeInt(r.FirstTime ? 0 : r.NewFN ? 1 : 2);
  try {
    BuildReport(dev, r, cc);
  } catch (...) {
    d.FNCancelDocument();
    throw;
  }
}

void ReadRegistrationResult(TRegDevice& dev, TRegParams& r) {
  TZelvox& d = dev.Driver();
  DriverCheck(d, d.WaitForPrinting());
  DriverCheck(d, d.FNGetSerial());
  r.FNSerial = d.get_SerialNumber();
  DriverCheck(d, d.FNGetFiscalizationResult());
  const TDate date = DateOf(d.get_Date());
  const TTime time = TimeOf(d.get_Time());
  r.DateTime = {date.Year, date.Month, date.Day, time.Hour, time.Minute, time.Second};
  r.INN = Trim(d.get_INN());
  r.RNM = Trim(d.get_KKTRegistrationNumber());
  r.TaxSystem = static_cast<std::uint8_t>(d.get_TaxType());
  r.WorkMode = static_cast<std::uint8_t>(d.get_WorkMode());
  r.ReasonCode = static_cast<int>(d.get_RegistrationReasonCode());
  r.DocNumber = static_cast<int>(d.get_DocumentNumber());
  r.FiscalSign = d.get_FiscalSignAsString();
  const std::pair<int, std::string*> texts[] = {{1, &r.KKTSerial}, {8, &r.Cashier}, {7, &r.User}, {9, &r.Address},
                                                {10, &r.OFDName}, {11, &r.OFDUrl}, {12, &r.OFDINN}};
  for (const auto& [field, target] : texts) *target = Trim(dev.TableReadStr(18, 1, field));
  r.VersionKKT = "001";
  r.DocType = r.FirstTime ? 1 : 2;
}

}  // namespace zel
