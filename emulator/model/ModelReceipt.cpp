// Receipts, cash in and out, shifts and their reports.
#include "emulator/model/DeviceClock.h"
#include "emulator/model/DeviceModel.h"
#include "emulator/model/DeviceResult.h"
#include "emulator/model/Registers.h"
#include "emulator/model/TableDefs.h"

namespace zel::emu {
namespace {
const char* const kReceiptTitles[] = {"ПРИХОД", "РАСХОД", "ВОЗВРАТ ПРИХОДА", "ВОЗВРАТ РАСХОДА"};

std::string Money(std::int64_t kopecks) {
  const char* sign = kopecks < 0 ? "-" : "";
  if (kopecks < 0) kopecks = -kopecks;
  std::string k = std::to_string(kopecks % 100);
  return sign + std::to_string(kopecks / 100) + "." + (k.size() < 2 ? "0" + k : k);
}
}  // namespace

void TDeviceModel::PrintLine(const std::string& text, int font) { tape_.Print(text, font); }

void TDeviceModel::PrintDocumentHeader(const std::string& title) {
  PrintLine(Cell(cell::kFiscal, 1, 7));
  PrintLine(title, 2);
  PrintLine(DateText(NowLocked()) + " " + TimeText(NowLocked()));
}

void TDeviceModel::PrintDocumentFooter(const TFnDocument& doc) {
  PrintLine("ЗН ККТ " + s_.identity.serial);
  PrintLine("ФН " + s_.fn.serial);
  PrintLine("ФД " + std::to_string(doc.number) + " ФП " + std::to_string(doc.fiscalSign));
  tape_.Feed(3);
  if (s_.identity.cutter) tape_.Cut();
}

std::uint8_t TDeviceModel::OpenCheck(const TFieldValues& in, TFieldValues&) {
  const int op = OperatorOf(in.Int("Password", -1));
  if (op == 0) return kWrongPassword;
  const std::int64_t type = in.Int("CheckType", 0);
  if (type < 0 || type > 3) return kBadParameter;
  const int mode = ModeLocked();
  if (mode == kModeReceiptOpen) return kReceiptIsOpen;
  if (mode == kModeShiftOver24h) return kShiftOver24h;
  if (mode != kModeShiftOpen) return kShiftNotOpen;
  if (s_.fn.openDocument != 0) return kFnWrongState;
  s_.receipt = {true, static_cast<int>(type), op, 0};
  return kOk;
}

std::uint8_t TDeviceModel::CancelCheck(const TFieldValues& in, TFieldValues&) {
  if (OperatorOf(in.Int("Password", -1)) == 0) return kWrongPassword;
  if (!s_.receipt.open) return kReceiptClosed;
  s_.receipt = {};
  s_.operationRegisters[reg::kOpCancelled]++;
  PrintLine("ЧЕК АННУЛИРОВАН", 2);
  tape_.Feed(3);
  if (s_.identity.cutter) tape_.Cut();
  return kOk;
}

std::uint8_t TDeviceModel::SysAdminCancelCheck(const TFieldValues& in, TFieldValues& out) {
  if (!IsAdmin(in.Int("Password", -1))) return kWrongPassword;
  return CancelCheck(in, out);
}

std::uint8_t TDeviceModel::CashIncome(const TFieldValues& in, TFieldValues&) {
  if (OperatorOf(in.Int("Password", -1)) == 0) return kWrongPassword;
  const std::int64_t sum = in.Int("Summ1", -1);
  if (sum < 0 || sum > 99999999999LL) return kBadParameter;
  if (ModeLocked() != kModeShiftOpen) return s_.receipt.open ? kReceiptIsOpen : kShiftNotOpen;
  s_.cashRegisters[reg::kCashInDrawer] += sum;
  s_.cashRegisters[reg::kCashIncome] += sum;
  s_.operationRegisters[reg::kOpCashIncome]++;
  PrintLine("ВНЕСЕНИЕ " + Money(sum));
  return kOk;
}

std::uint8_t TDeviceModel::CashOutcome(const TFieldValues& in, TFieldValues&) {
  if (OperatorOf(in.Int("Password", -1)) == 0) return kWrongPassword;
  const std::int64_t sum = in.Int("Summ1", -1);
  if (sum < 0 || sum > 99999999999LL) return kBadParameter;
  if (ModeLocked() != kModeShiftOpen) return s_.receipt.open ? kReceiptIsOpen : kShiftNotOpen;
  if (sum > s_.cashRegisters[reg::kCashInDrawer]) return kBadParameter;  // no more than is in the drawer
  s_.cashRegisters[reg::kCashInDrawer] -= sum;
  s_.cashRegisters[reg::kCashOutcome] += sum;
  s_.operationRegisters[reg::kOpCashOutcome]++;
  PrintLine("ВЫПЛАТА " + Money(sum));
  return kOk;
}

std::uint8_t TDeviceModel::FNBeginOpenSession(const TFieldValues& in, TFieldValues&) {
  if (OperatorOf(in.Int("Password", -1)) == 0) return kWrongPassword;
  if (s_.fn.phase != kFnFiscal) return kFnLifePhase;
  if (s_.fn.sessionOpen || s_.fn.openDocument != 0) return kFnWrongState;
  s_.fn.openDocument = 2;
  return kOk;
}

std::uint8_t TDeviceModel::OpenSession(const TFieldValues& in, TFieldValues& out) {
  if (OperatorOf(in.Int("Password", -1)) == 0) return kWrongPassword;
  if (s_.fn.phase != kFnFiscal) return kFnLifePhase;
  if (s_.fn.sessionOpen) return kShiftIsOpen;
  if (s_.fn.openDocument != 0 && s_.fn.openDocument != 2) return kFnWrongState;
  s_.fn.openDocument = 0;
  s_.fn.sessionOpen = true;
  s_.fn.sessionNumber++;
  s_.fn.receiptNumber = 0;
  s_.fn.sessionOpenTime = NowLocked();
  for (int r = 0; r < 4; ++r) s_.operationRegisters[reg::kOpReceiptsBase + r] = 0;
  s_.operationRegisters[reg::kOpCancelled] = 0;
  s_.operationRegisters[reg::kOpCashIncome] = s_.operationRegisters[reg::kOpCashOutcome] = 0;
  s_.cashRegisters[reg::kCashIncome] = s_.cashRegisters[reg::kCashOutcome] = 0;
  s_.operationRegisters[reg::kOpShiftOpens]++;
  TFnDocument& doc = AddDocument(2);
  doc.fiscalSign = FiscalSignOf(s_.fn.serial, doc);
  PrintDocumentHeader("ОТЧЕТ ОБ ОТКРЫТИИ СМЕНЫ");
  PrintLine("СМЕНА " + std::to_string(s_.fn.sessionNumber));
  PrintDocumentFooter(doc);
  out.Set("SessionNumber", s_.fn.sessionNumber);
  out.Set("DocumentNumber", static_cast<std::int64_t>(doc.number));
  out.Set("FiscalSign", static_cast<std::int64_t>(doc.fiscalSign));
  return kOk;
}

std::uint8_t TDeviceModel::FNBeginCloseSession(const TFieldValues& in, TFieldValues&) {
  if (OperatorOf(in.Int("Password", -1)) == 0) return kWrongPassword;
  if (!s_.fn.sessionOpen || s_.receipt.open || s_.fn.openDocument != 0) return kFnWrongState;
  s_.fn.openDocument = 8;
  return kOk;
}

std::uint8_t TDeviceModel::PrintReportWithCleaning(const TFieldValues& in, TFieldValues& out) {
  if (OperatorOf(in.Int("Password", -1)) == 0) return kWrongPassword;
  if (s_.receipt.open) return kReceiptIsOpen;
  if (!s_.fn.sessionOpen) return kShiftNotOpen;
  if (s_.fn.openDocument != 0 && s_.fn.openDocument != 8) return kFnWrongState;
  return CloseShift(out);
}

std::uint8_t TDeviceModel::CloseShift(TFieldValues& out) {
  s_.fn.openDocument = 0;
  s_.fn.sessionOpen = false;
  s_.operationRegisters[reg::kOpShiftCloses]++;
  TFnDocument& doc = AddDocument(5);
  doc.fiscalSign = FiscalSignOf(s_.fn.serial, doc);
  PrintDocumentHeader("ОТЧЕТ О ЗАКРЫТИИ СМЕНЫ");
  PrintLine("СМЕНА " + std::to_string(s_.fn.sessionNumber));
  PrintLine("ЧЕКОВ ЗА СМЕНУ " + std::to_string(s_.fn.receiptNumber));
  PrintLine("НАЛИЧНОСТЬ В КАССЕ " + Money(s_.cashRegisters[reg::kCashInDrawer]));
  PrintDocumentFooter(doc);
  out.Set("SessionNumber", s_.fn.sessionNumber);
  out.Set("DocumentNumber", static_cast<std::int64_t>(doc.number));
  out.Set("FiscalSign", static_cast<std::int64_t>(doc.fiscalSign));
  return kOk;
}

std::uint8_t TDeviceModel::PrintReportWithoutCleaning(const TFieldValues& in, TFieldValues&) {
  if (OperatorOf(in.Int("Password", -1)) == 0) return kWrongPassword;
  if (s_.receipt.open) return kReceiptIsOpen;
  PrintDocumentHeader("ОТЧЕТ БЕЗ ГАШЕНИЯ");
  PrintLine("СМЕНА " + std::to_string(s_.fn.sessionNumber));
  PrintLine("НАЛИЧНОСТЬ В КАССЕ " + Money(s_.cashRegisters[reg::kCashInDrawer]));
  tape_.Feed(3);
  if (s_.identity.cutter) tape_.Cut();
  return kOk;
}

}  // namespace zel::emu
