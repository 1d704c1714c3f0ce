#include "emulator/model/DeviceModel.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>

#include "emulator/model/DeviceResult.h"
#include "emulator/model/Registers.h"
#include "emulator/model/TableDefs.h"

namespace zel::emu {
namespace {
std::int64_t SystemMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}
}  // namespace

const std::vector<TDeviceModel::TOpRow>& TDeviceModel::OpTable() {
  using M = TDeviceModel;
  static const std::vector<TOpRow> rows = {
      {"GetECRStatus", &M::GetECRStatus, true},
      {"GetShortECRStatus", &M::GetShortECRStatus, true},
      {"GetDeviceMetrics", &M::GetDeviceMetrics, true},
      {"ReadModelParam", &M::ReadModelParam, true},
      {"ReadModelParamValue", &M::ReadModelParamValue, true},
      {"ReadSerialNumber", &M::ReadSerialNumber, true},
      {"SetSerialNumber", &M::SetSerialNumber, false},
      {"Beep", &M::Beep, false},
      {"ResetECR", &M::ResetECR, false},
      {"SetDate", &M::SetDate, false},
      {"ConfirmDate", &M::ConfirmDate, false},
      {"SetTime", &M::SetTime, false},
      {"GetTableStruct", &M::GetTableStruct, false},
      {"GetFieldStruct", &M::GetFieldStruct, false},
      {"ReadTable", &M::ReadTable, false},
      {"WriteTable", &M::WriteTable, false},
      {"InitTable", &M::InitTable, false},
      {"GetCashReg", &M::GetCashReg, false},
      {"GetCashRegEx", &M::GetCashRegEx, false},
      {"GetOperationReg", &M::GetOperationReg, false},
      {"OpenCheck", &M::OpenCheck, false},
      {"CancelCheck", &M::CancelCheck, false},
      {"SysAdminCancelCheck", &M::SysAdminCancelCheck, false},
      {"FNOperation", &M::FNOperation, false},
      {"FNCloseCheckEx", &M::FNCloseCheckEx, false},
      {"CashIncome", &M::CashIncome, false},
      {"CashOutcome", &M::CashOutcome, false},
      {"FNBeginOpenSession", &M::FNBeginOpenSession, false},
      {"OpenSession", &M::OpenSession, false},
      {"FNBeginCloseSession", &M::FNBeginCloseSession, false},
      {"PrintReportWithCleaning", &M::PrintReportWithCleaning, false},
      {"PrintReportWithoutCleaning", &M::PrintReportWithoutCleaning, false},
      {"FNGetStatus", &M::FNGetStatus, true},
      {"FNGetSerial", &M::FNGetSerial, true},
      {"FNGetVersion", &M::FNGetVersion, true},
      {"FNGetExpirationTime", &M::FNGetExpirationTime, true},
      {"FNGetCurrentSessionParams", &M::FNGetCurrentSessionParams, true},
      {"FNGetInfoExchangeStatus", &M::FNGetInfoExchangeStatus, true},
      {"FNGetOSUSupportStatus", &M::FNGetOSUSupportStatus, true},
      {"FNBeginRegistrationReport", &M::FNBeginRegistrationReport, false},
      {"FNSendTag", &M::FNSendTag, false},
      {"FNBuildRegistrationReport", &M::FNBuildRegistrationReport, false},
      {"FNBuildReregistrationReport", &M::FNBuildReregistrationReport, false},
      {"FNGetFiscalizationResult", &M::FNGetFiscalizationResult, true},
      {"FNGetFiscalizationResultByNumber", &M::FNGetFiscalizationResultByNumber, true},
      {"FNCancelDocument", &M::FNCancelDocument, false},
      {"FNBeginCloseFiscalMode", &M::FNBeginCloseFiscalMode, false},
      {"FNCloseFiscalMode", &M::FNCloseFiscalMode, false},
      {"FNBeginCalculationStateReport", &M::FNBeginCalculationStateReport, false},
      {"FNBuildCalculationStateReport", &M::FNBuildCalculationStateReport, false},
      {"FNFindDocument", &M::FNFindDocument, true},
      {"FNGetDocumentSize", &M::FNGetDocumentSize, true},
      {"FNGetFreeMemoryResource", &M::FNGetFreeMemoryResource, true},
      {"FNGetImplementation", &M::FNGetImplementation, true},
      {"FNGetNonClearableSumm", &M::FNGetNonClearableSumm, true},
      {"FNGetNonClearableSummEx", &M::FNGetNonClearableSummEx, true},
      {"FNGetUnconfirmedDocCount", &M::FNGetUnconfirmedDocCount, true},
      {"SetExchangeParam", &M::SetExchangeParam, false},
      {"GetExchangeParam", &M::GetExchangeParam, false},
      {"FNSendTLV", &M::FNSendTLV, false},
      {"FNSendTLVOperation", &M::FNSendTLV, false},
      {"ContinuePrint", &M::ContinuePrint, false},
      {"FNCountersSync", &M::FNCountersSync, false},
      {"FNResetState", &M::FNResetState, false},
      {"ServiceCommand", &M::ServiceCommand, false},
      {"PrintString", &M::PrintString, false},
      {"PrintStringWithFont", &M::PrintStringWithFont, false},
      {"FeedDocument", &M::FeedDocument, false},
      {"CutCheck", &M::CutCheck, false},
      {"GetFontMetrics", &M::GetFontMetrics, false},
      {"DampRequest", &M::DampRequest, false},
      {"GetData", &M::GetData, false},
      {"InterruptDataStream", &M::InterruptDataStream, false},
      {"SendLongData", &M::SendLongData, false},
      {"FNReadFiscalBarcode", &M::FNReadFiscalBarcode, false},
  };
  return rows;
}

TDeviceModel::TDeviceModel(TIdentity identity) : hostMs_(SystemMs) {
  s_.identity = std::move(identity);
  FillDefaults();
  s_.fn.expiry = NowLocked() + 3LL * 365 * 24 * 3600;
  ofdLastMs_ = hostMs_();
}

void TDeviceModel::FillDefaults() {
  s_.tables.clear();
  for (const auto& t : TableDefs())
    for (int r = 1; r <= t.rows; ++r)
      for (int f = 1; f <= static_cast<int>(t.fields.size()); ++f) s_.tables[t.number][r][f] = DefaultCell(t.number, r, f);
  s_.tables[cell::kFiscal][1][1] = s_.identity.serial;
  s_.tables[cell::kFiscal][1][4] = s_.fn.serial;
  s_.cashRegisters.assign(kCashRegisterCount, 0);
  s_.operationRegisters.assign(kOperationRegisterCount, 0);
}

bool TDeviceModel::Knows(const std::string& operation) {
  for (const auto& r : OpTable())
    if (operation == r.name) return true;
  return false;
}

std::vector<std::string> TDeviceModel::Operations() {
  std::vector<std::string> out;
  for (const auto& r : OpTable()) out.emplace_back(r.name);
  return out;
}

std::uint8_t TDeviceModel::Execute(const std::string& operation, const TFieldValues& in, TFieldValues& out) {
  std::lock_guard lock(mutex_);
  DrainOfdLocked();
  for (const auto& r : OpTable()) {
    if (operation != r.name) continue;
    const bool busyHere = busyOps_.empty() || std::find(busyOps_.begin(), busyOps_.end(), r.name) != busyOps_.end();
    if (!r.busyExempt && busyLeft_ > 0 && busyHere) {
      --busyLeft_;
      return busyCode_;
    }
    std::uint8_t rc = (this->*r.op)(in, out);
    if (int op = OperatorOf(in.Int("Password", -1)); op != 0) s_.lastOperator = op;
    out.Set("OperatorNumber", s_.lastOperator);
    return rc;
  }
  return kNotSupported;
}

void TDeviceModel::SetBusy(std::uint8_t code, int times) {
  std::lock_guard lock(mutex_);
  busyCode_ = code;
  busyLeft_ = times > 0 ? times : 0;
}

void TDeviceModel::SetBusyOperations(std::vector<std::string> operations) {
  std::lock_guard lock(mutex_);
  busyOps_ = std::move(operations);
}

void TDeviceModel::SetOfdPace(double documentsPerSecond) {
  std::lock_guard lock(mutex_);
  DrainOfdLocked();
  ofdPace_ = documentsPerSecond > 0 && std::isfinite(documentsPerSecond) ? documentsPerSecond : 0;
}

void TDeviceModel::HoldOfd(bool hold) {
  std::lock_guard lock(mutex_);
  DrainOfdLocked();
  ofdHeld_ = hold;
}

void TDeviceModel::SetOfdError(int code) {
  std::lock_guard lock(mutex_);
  DrainOfdLocked();
  ofdError_ = code;
}

void TDeviceModel::SetDhcpState(int state) {
  std::lock_guard lock(mutex_);
  dhcpState_ = state;
}

void TDeviceModel::SetHostClock(std::function<std::int64_t()> nowMs) {
  std::lock_guard lock(mutex_);
  hostMs_ = nowMs ? std::move(nowMs) : std::function<std::int64_t()>(SystemMs);
  ofdLastMs_ = hostMs_();
}

void TDeviceModel::SetTapeFile(const std::string& path) {
  std::lock_guard lock(mutex_);
  tape_.SetFile(path);
}

int TDeviceModel::Mode() {
  std::lock_guard lock(mutex_);
  return ModeLocked();
}

std::vector<TTapeItem> TDeviceModel::Tape() {
  std::lock_guard lock(mutex_);
  return tape_.Items();
}

std::size_t TDeviceModel::UnsentDocuments() {
  std::lock_guard lock(mutex_);
  DrainOfdLocked();
  std::size_t n = 0;
  for (const auto& d : s_.fn.documents) n += d.acknowledged ? 0 : 1;
  return n;
}

std::int64_t TDeviceModel::DeviceTime() {
  std::lock_guard lock(mutex_);
  return NowLocked();
}

TDeviceState TDeviceModel::Snapshot() {
  std::lock_guard lock(mutex_);
  DrainOfdLocked();
  return s_;
}

void TDeviceModel::Restore(const TDeviceState& state) {
  std::lock_guard lock(mutex_);
  s_ = state;
  // Cells missing from an older file get their defaults; registers get their full size.
  for (const auto& t : TableDefs())
    for (int r = 1; r <= t.rows; ++r)
      for (int f = 1; f <= static_cast<int>(t.fields.size()); ++f)
        if (!s_.tables[t.number][r].count(f)) s_.tables[t.number][r][f] = DefaultCell(t.number, r, f);
  s_.cashRegisters.resize(kCashRegisterCount, 0);
  s_.operationRegisters.resize(kOperationRegisterCount, 0);
  s_.fn.totals.resize(5);
  for (auto& kind : s_.fn.totals) kind.resize(16, 0);
  s_.exchange.resize(3);
  ofdLastMs_ = hostMs_();
  ofdCredit_ = 0;
}

std::int64_t TDeviceModel::NowLocked() const { return hostMs_() / 1000 + s_.clockOffset; }

int TDeviceModel::ModeLocked() const {
  if (s_.receipt.open) return kModeReceiptOpen;
  if (pendingDate_ >= 0) return kModeDateConfirm;
  if (!s_.fn.sessionOpen) return kModeShiftClosed;
  return NowLocked() - s_.fn.sessionOpenTime > 24 * 3600 ? kModeShiftOver24h : kModeShiftOpen;
}

int TDeviceModel::OperatorOf(std::int64_t password) const {
  if (password < 0) return 0;
  const auto& rows = s_.tables.at(cell::kPasswords);
  // The administrator's row wins when a cashier shares the password.
  for (int r = 30; r >= 1; --r)
    if (rows.at(r).at(1) == std::to_string(password)) return r;
  return 0;
}

bool TDeviceModel::IsAdmin(std::int64_t password) const { return OperatorOf(password) == 30; }

void TDeviceModel::DrainOfdLocked() {
  const std::int64_t now = hostMs_();
  const std::int64_t elapsed = now - ofdLastMs_;
  ofdLastMs_ = now;
  if (ofdHeld_ || ofdError_ != 0 || ofdPace_ <= 0 || elapsed <= 0) return;
  ofdCredit_ += static_cast<double>(elapsed) / 1000.0 * ofdPace_;
  for (auto& d : s_.fn.documents) {
    if (ofdCredit_ < 1) break;
    if (d.acknowledged) continue;
    d.acknowledged = true;
    ofdCredit_ -= 1;
  }
  if (ofdCredit_ > 1) ofdCredit_ = 1;  // idle time does not bank sending capacity
  if (s_.fn.phase == kFnPostFiscal) {
    bool all = true;
    for (const auto& d : s_.fn.documents) all = all && d.acknowledged;
    if (all) s_.fn.phase = kFnArchiveClosed;
  }
}

std::string TDeviceModel::Cell(int table, int row, int field) const {
  return s_.tables.at(table).at(row).at(field);
}

std::int64_t TDeviceModel::CellInt(int table, int row, int field) const {
  const std::string v = Cell(table, row, field);
  std::int64_t i = 0;
  auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), i);
  return ec == std::errc() && p == v.data() + v.size() ? i : 0;
}

void TDeviceModel::RefreshExchangeTable() {
  const TFnDocument* first = nullptr;
  std::int64_t queued = 0;
  bool anyConfirmed = false;
  for (const auto& d : s_.fn.documents) {
    anyConfirmed = anyConfirmed || d.acknowledged;
    if (!d.acknowledged && queued++ == 0) first = &d;
  }
  const bool connected = !ofdHeld_;
  SetCell(cell::kExchange, 1, 1, std::to_string((connected ? 1 : 0) | (queued ? 2 : 0)));
  SetCell(cell::kExchange, 1, 2, std::to_string(queued));
  SetCell(cell::kExchange, 1, 3, std::to_string(first ? first->number : 0));
  SetCell(cell::kExchange, 1, 5, connected ? "1" : "0");
  SetCell(cell::kExchange, 1, 6, anyConfirmed || ofdError_ ? "1" : "0");
  SetCell(cell::kExchange, 1, 7, std::to_string(ofdError_));
  SetCell(cell::kExchange, 1, 8, ofdError_ ? "OFD error " + std::to_string(ofdError_) : queued ? "sending" : "idle");
}

void TDeviceModel::SetCell(int table, int row, int field, const std::string& value) {
  s_.tables[table][row][field] = value;
}

std::uint32_t FiscalSignOf(const std::string& fnSerial, const TFnDocument& doc) {
  // FNV-1a over what identifies the document.
  std::uint32_t h = 2166136261u;
  auto mix = [&h](const std::string& s) {
    for (unsigned char c : s) h = (h ^ c) * 16777619u;
    h = (h ^ '|') * 16777619u;
  };
  mix(fnSerial);
  mix(std::to_string(doc.number));
  mix(std::to_string(doc.type));
  mix(std::to_string(doc.time));
  mix(std::to_string(doc.sum));
  mix(doc.inn + doc.rnm);
  return h;
}

TFnDocument& TDeviceModel::AddDocument(int type) {
  TFnDocument d;
  d.number = s_.fn.documents.empty() ? 1 : s_.fn.documents.back().number + 1;
  d.type = type;
  d.time = NowLocked();
  d.shift = s_.fn.sessionNumber;
  s_.fn.documents.push_back(std::move(d));
  return s_.fn.documents.back();
}

}  // namespace zel::emu
