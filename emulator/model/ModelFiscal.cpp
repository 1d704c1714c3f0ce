// The fiscal storage: life phases, registration, documents and the OFD queue.
#include "emulator/model/DeviceClock.h"
#include "emulator/model/DeviceModel.h"
#include "emulator/model/DeviceResult.h"
#include "emulator/model/TableDefs.h"

namespace zel::emu {
namespace {

constexpr int kTagOfdInn = 1017;

bool Digits(const std::string& s, std::size_t minLen, std::size_t maxLen) {
  return s.size() >= minLen && s.size() <= maxLen && s.find_first_not_of("0123456789") == std::string::npos;
}

// FNCurrentDocument code of the registration report of each ReportTypeInt.
int RegistrationDocumentCode(int reportType) { return reportType == 0 ? 1 : reportType == 1 ? 18 : 19; }

void DocumentOut(const TFnDocument& d, TFieldValues& out) {
  out.Set("DocumentNumber", static_cast<std::int64_t>(d.number));
  out.Set("FiscalSign", static_cast<std::int64_t>(d.fiscalSign));
  out.Set("FiscalSignAsString", std::to_string(d.fiscalSign));
  out.SetDate("Date", d.time);
  out.SetTime("Time", d.time);
}

}  // namespace

std::uint8_t TDeviceModel::FNGetStatus(const TFieldValues&, TFieldValues& out) {
  const auto& fn = s_.fn;
  out.Set("FNLifeState", fn.phase);
  out.Set("FNCurrentDocument", s_.receipt.open ? 4 : fn.openDocument);
  out.Set("FNDocumentData", !fn.pendingTags.empty());
  out.Set("FNSessionState", fn.sessionOpen);
  out.Set("FNWarningFlags", 0);
  out.Set("SerialNumber", fn.serial);
  const std::int64_t t = fn.documents.empty() ? NowLocked() : fn.documents.back().time;
  out.SetDate("Date", t);
  out.SetTime("Time", t);
  out.Set("DocumentNumber", fn.documents.empty() ? 0 : static_cast<std::int64_t>(fn.documents.back().number));
  return kOk;
}

std::uint8_t TDeviceModel::FNGetSerial(const TFieldValues&, TFieldValues& out) {
  out.Set("SerialNumber", s_.fn.serial);
  return kOk;
}

std::uint8_t TDeviceModel::FNGetVersion(const TFieldValues&, TFieldValues& out) {
  out.Set("FNSoftVersion", s_.fn.version);
  out.Set("FNSoftType", s_.fn.softType);
  return kOk;
}

std::uint8_t TDeviceModel::FNGetExpirationTime(const TFieldValues&, TFieldValues& out) {
  out.SetDate("Date", s_.fn.expiry);
  out.Set("FreeRegistration", s_.fn.registrationsLeft);
  out.Set("RegistrationNumber", 30 - s_.fn.registrationsLeft);
  return kOk;
}

std::uint8_t TDeviceModel::FNGetCurrentSessionParams(const TFieldValues&, TFieldValues& out) {
  out.Set("SessionNumber", s_.fn.sessionNumber);
  out.Set("FNSessionState", s_.fn.sessionOpen);
  out.Set("ReceiptNumber", s_.fn.receiptNumber);
  return kOk;
}

std::uint8_t TDeviceModel::FNGetInfoExchangeStatus(const TFieldValues&, TFieldValues& out) {
  const TFnDocument* first = nullptr;
  std::int64_t count = 0;
  for (const auto& d : s_.fn.documents)
    if (!d.acknowledged) {
      if (!first) first = &d;
      ++count;
    }
  // bit 0 transport up, bit 1 a message waits for the OFD, bit 2 waiting for its answer
  out.Set("InfoExchangeStatus", (ofdHeld_ ? 0 : 1) | (count ? 2 : 0) | (count && !ofdHeld_ ? 4 : 0));
  out.Set("MessageState", 0);
  out.Set("MessageCount", count);
  out.Set("DocumentNumber", first ? static_cast<std::int64_t>(first->number) : 0);
  const std::int64_t t = first ? first->time : NowLocked();
  out.SetDate("Date", t);
  out.SetTime("Time", t);
  return kOk;
}

std::uint8_t TDeviceModel::FNGetOSUSupportStatus(const TFieldValues&, TFieldValues& out) {
  out.Set("FNOSUSupportStatus", 0);  // supported, not active
  return kOk;
}

std::uint8_t TDeviceModel::FNBeginRegistrationReport(const TFieldValues& in, TFieldValues&) {
  if (!IsAdmin(in.Int("Password", -1))) return kWrongPassword;
  const std::int64_t type = in.Int("ReportTypeInt", 0);
  if (type < 0 || type > 2) return kBadParameter;
  if (s_.fn.openDocument != 0 || s_.receipt.open) return kFnWrongState;
  if (type == 0 && s_.fn.phase != kFnSetUp) return kFnLifePhase;
  // A storage replacement report goes into the new storage, still fresh.
  if (type == 1 && s_.fn.phase != kFnFiscal && !FreshFnAfterRegistration()) return kFnLifePhase;
  if (type == 2 && s_.fn.phase != kFnFiscal) return kFnLifePhase;
  if (s_.fn.sessionOpen) return kShiftIsOpen;
  s_.fn.openDocument = RegistrationDocumentCode(static_cast<int>(type));
  s_.fn.reportType = static_cast<int>(type);
  s_.fn.pendingTags.clear();
  return kOk;
}

std::uint8_t TDeviceModel::FNSendTag(const TFieldValues& in, TFieldValues&) {
  const std::int64_t tag = in.Int("TagNumber", -1);
  if (tag < 1 || tag > 65535) return kBadParameter;
  if (s_.fn.openDocument == 0 && !s_.receipt.open) return kFnWrongState;
  std::string value = in.Has("TagValueStr") ? in.Str("TagValueStr")
                      : in.Has("TagValueInt") ? in.Str("TagValueInt")
                                              : in.Str("TagValueBin");
  if (value.size() > 1024) return kBadParameter;
  s_.fn.pendingTags[static_cast<int>(tag)] = std::move(value);
  return kOk;
}

std::uint8_t TDeviceModel::FNBuildRegistrationReport(const TFieldValues& in, TFieldValues& out) {
  return BuildRegistration(in, out, false);
}

std::uint8_t TDeviceModel::FNBuildReregistrationReport(const TFieldValues& in, TFieldValues& out) {
  return BuildRegistration(in, out, true);
}

std::uint8_t TDeviceModel::BuildRegistration(const TFieldValues& in, TFieldValues& out, bool rereg) {
  auto& fn = s_.fn;
  if (!IsAdmin(in.Int("Password", -1))) return kWrongPassword;
  // A storage replacement begun (18) may be finished by either command; in a fresh
  // storage the registration report command carries no reason: it is the replacement.
  const bool replacement = fn.openDocument == RegistrationDocumentCode(1);
  const bool freshReplacement = replacement && FreshFnAfterRegistration();
  if (fn.phase != (rereg && !freshReplacement ? kFnFiscal : kFnSetUp)) return kFnLifePhase;
  if (fn.sessionOpen) return kShiftIsOpen;
  if (s_.receipt.open) return kReceiptIsOpen;
  const int reportType = replacement && (rereg || freshReplacement) ? 1 : rereg ? 2 : 0;
  if (fn.openDocument != 0 && fn.openDocument != RegistrationDocumentCode(reportType)) return kFnWrongState;
  if (fn.registrationsLeft <= 0) return kFnResourceExhausted;
  const std::string inn = in.Str("INN"), rnm = in.Str("KKTRegistrationNumber");
  const std::int64_t tax = in.Int("TaxType", -1), work = in.Int("WorkMode", 0);
  // Extended work modes and change reasons come from fields 21 and 22 of the register's
  // table for them unless the command carries them.
  const int extTable = ExtendedModesTable();
  const std::int64_t workEx = in.Int("WorkModeEx", CellInt(extTable, 1, 21));
  const std::int64_t reason = in.Int("RegistrationReasonCode", !rereg && reportType == 1 ? 1 : 0);
  const std::int64_t reasonEx = in.Int("RegistrationReasonCodeEx", CellInt(extTable, 1, 22));
  if (!(Digits(inn, 10, 10) || Digits(inn, 12, 12)) || !Digits(rnm, 1, 20)) return kFnBadParameter;
  if (tax < 1 || tax > 63 || work < 0 || work > 255 || workEx < 0 || workEx > 255) return kFnBadParameter;
  if (reasonEx < 0 || reasonEx > 0xFFFFFFFFLL) return kFnBadParameter;
  if (reportType != 0 ? (reason < 0 || reason > 4) : reason != 0) return kFnBadParameter;

  TFnDocument& doc = AddDocument(reportType != 0 ? 11 : 1);
  doc.inn = inn;
  doc.rnm = rnm;
  doc.taxType = static_cast<int>(tax);
  doc.workMode = static_cast<int>(work);
  doc.workModeEx = static_cast<int>(workEx);
  doc.reason = static_cast<int>(reason);
  doc.reasonEx = static_cast<std::uint32_t>(reasonEx);
  doc.tags = fn.pendingTags;
  doc.ofdInn = fn.pendingTags.count(kTagOfdInn) ? fn.pendingTags[kTagOfdInn] : Cell(cell::kFiscal, 1, 12);
  doc.fiscalSign = FiscalSignOf(fn.serial, doc);
  fn.phase = kFnFiscal;
  fn.openDocument = 0;
  fn.pendingTags.clear();
  fn.registrationsLeft--;
  SetCell(cell::kFiscal, 1, 2, inn);
  SetCell(cell::kFiscal, 1, 3, rnm);
  SetCell(cell::kFiscal, 1, 5, std::to_string(tax));
  SetCell(cell::kFiscal, 1, 6, std::to_string(work));
  SetCell(cell::kFiscal, 1, 12, doc.ofdInn);
  for (int table : {cell::kFiscal, extTable}) {
    SetCell(table, 1, 21, std::to_string(workEx));
    SetCell(table, 1, 22, std::to_string(reasonEx));
  }

  PrintDocumentHeader(reportType != 0 ? "ОТЧЕТ ОБ ИЗМ. ПАРАМЕТРОВ РЕГИСТРАЦИИ" : "ОТЧЕТ О РЕГИСТРАЦИИ");
  PrintLine("ИНН " + inn);
  PrintLine("РН ККТ " + rnm);
  PrintLine("СНО " + std::to_string(tax) + " РЕЖИМ " + std::to_string(work));
  if (reportType != 0) PrintLine("ПРИЧИНА " + std::to_string(reason));
  PrintDocumentFooter(doc);
  DocumentOut(doc, out);
  return kOk;
}

void TDeviceModel::FiscalizationOut(const TFnDocument& d, TFieldValues& out) const {
  DocumentOut(d, out);
  out.Set("INN", d.inn);
  out.Set("INNOFD", d.ofdInn);
  out.Set("KKTRegistrationNumber", d.rnm);
  out.Set("TaxType", d.taxType);
  out.Set("WorkMode", d.workMode);
  out.Set("WorkModeEx", d.workModeEx);
  out.Set("RegistrationReasonCode", d.reason);
  out.Set("RegistrationReasonCodeEx", static_cast<std::int64_t>(d.reasonEx));
}

std::uint8_t TDeviceModel::FNGetFiscalizationResult(const TFieldValues&, TFieldValues& out) {
  for (auto it = s_.fn.documents.rbegin(); it != s_.fn.documents.rend(); ++it)
    if (it->type == 1 || it->type == 11) {
      FiscalizationOut(*it, out);
      return kOk;
    }
  return kFnNoData;
}

std::uint8_t TDeviceModel::FNGetFiscalizationResultByNumber(const TFieldValues& in, TFieldValues& out) {
  const std::int64_t wanted = in.Int("RegistrationNumber", -1);
  std::int64_t n = 0;
  for (const auto& d : s_.fn.documents)
    if ((d.type == 1 || d.type == 11) && ++n == wanted) {
      FiscalizationOut(d, out);
      return kOk;
    }
  return kFnNoData;
}

std::uint8_t TDeviceModel::FNCancelDocument(const TFieldValues&, TFieldValues&) {
  s_.fn.openDocument = 0;
  s_.fn.pendingTags.clear();
  return kOk;
}

std::uint8_t TDeviceModel::FNBeginCloseFiscalMode(const TFieldValues& in, TFieldValues&) {
  if (!IsAdmin(in.Int("Password", -1))) return kWrongPassword;
  if (s_.fn.phase != kFnFiscal) return kFnLifePhase;
  if (s_.fn.sessionOpen) return kShiftIsOpen;
  if (s_.receipt.open) return kReceiptIsOpen;
  if (s_.fn.openDocument != 0) return kFnWrongState;
  s_.fn.openDocument = 16;
  return kOk;
}

std::uint8_t TDeviceModel::FNCloseFiscalMode(const TFieldValues& in, TFieldValues& out) {
  if (!IsAdmin(in.Int("Password", -1))) return kWrongPassword;
  if (s_.fn.phase != kFnFiscal) return kFnLifePhase;
  if (s_.fn.sessionOpen) return kShiftIsOpen;
  if (s_.receipt.open) return kReceiptIsOpen;
  if (s_.fn.openDocument != 0 && s_.fn.openDocument != 16) return kFnWrongState;
  TFnDocument& doc = AddDocument(6);
  doc.inn = Cell(cell::kFiscal, 1, 2);
  doc.rnm = Cell(cell::kFiscal, 1, 3);
  doc.fiscalSign = FiscalSignOf(s_.fn.serial, doc);
  s_.fn.openDocument = 0;
  s_.fn.phase = kFnPostFiscal;
  PrintDocumentHeader("ОТЧЕТ О ЗАКРЫТИИ ФН");
  PrintLine("РН ККТ " + doc.rnm);
  PrintDocumentFooter(doc);
  DocumentOut(doc, out);
  return kOk;
}

std::uint8_t TDeviceModel::FNBeginCalculationStateReport(const TFieldValues&, TFieldValues&) {
  if (s_.fn.phase != kFnFiscal) return kFnLifePhase;
  if (s_.fn.openDocument != 0 || s_.receipt.open) return kFnWrongState;
  s_.fn.openDocument = 21;
  return kOk;
}

std::uint8_t TDeviceModel::FNBuildCalculationStateReport(const TFieldValues&, TFieldValues& out) {
  if (s_.fn.phase != kFnFiscal) return kFnLifePhase;
  if ((s_.fn.openDocument != 0 && s_.fn.openDocument != 21) || s_.receipt.open) return kFnWrongState;
  std::int64_t unsent = 0, firstTime = 0;
  for (const auto& d : s_.fn.documents)
    if (!d.acknowledged && unsent++ == 0) firstTime = d.time;
  TFnDocument& doc = AddDocument(21);
  doc.unsentCount = static_cast<std::uint32_t>(unsent);
  doc.unsentSince = firstTime;
  doc.fiscalSign = FiscalSignOf(s_.fn.serial, doc);
  s_.fn.openDocument = 0;
  PrintDocumentHeader("ОТЧЕТ О ТЕКУЩЕМ СОСТОЯНИИ РАСЧЕТОВ");
  PrintLine("НЕПЕРЕДАННЫХ ФД " + std::to_string(unsent));
  PrintDocumentFooter(doc);
  DocumentOut(doc, out);
  out.Set("DocumentCount", unsent);
  if (unsent) {  // the date of the oldest unsent document
    out.SetDate("Date", firstTime);
    out.SetTime("Time", firstTime);
  }
  return kOk;
}

std::uint8_t TDeviceModel::FNFindDocument(const TFieldValues& in, TFieldValues& out) {
  const std::int64_t number = in.Int("DocumentNumber", -1);
  for (const auto& d : s_.fn.documents)
    if (d.number == number) {
      if (d.type == 1 || d.type == 11 || d.type == 6) FiscalizationOut(d, out);
      DocumentOut(d, out);
      out.Set("DocumentType", d.type);
      out.Set("OFDTicketReceived", d.acknowledged);
      out.Set("SessionNumber", d.shift);
      out.Set("OperationType", d.operationType);
      out.Set("Summ1", d.sum);
      if (d.type == 21) {  // settlement state: the queue as it was then
        out.Set("DocumentCount", static_cast<std::int64_t>(d.unsentCount));
        if (d.unsentCount) {
          out.SetDate("Date2", d.unsentSince);
          out.SetTime("Time2", d.unsentSince);
        }
      }
      return kOk;
    }
  return kFnNoData;
}

}  // namespace zel::emu
