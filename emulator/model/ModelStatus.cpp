// Status, identity, model parameters and the clock.
#include "emulator/model/DeviceClock.h"
#include "emulator/model/DeviceModel.h"
#include "emulator/model/DeviceResult.h"
#include "emulator/model/ModelParams.h"
#include "emulator/model/TableDefs.h"

namespace zel::emu {
namespace {
// The ISO dates of TIdentity ("YYYY-MM-DD") as device times.
std::int64_t IsoDay(const std::string& iso) {
  auto day = iso.size() == 10 ? ParseDate(iso.substr(8, 2) + "." + iso.substr(5, 2) + "." + iso.substr(0, 4)) : std::nullopt;
  return day ? *day : 0;
}
// Capabilities travel as booleans, counts and numbers as integers.
void SetParamValue(const TModelParam& p, TFieldValues& out) {
  if (p.isBool)
    out.Set("ModelParamValue", p.value != 0);
  else
    out.Set("ModelParamValue", p.value);
}
}  // namespace

std::uint8_t TDeviceModel::GetECRStatus(const TFieldValues& in, TFieldValues& out) {
  const auto& id = s_.identity;
  const std::int64_t now = NowLocked();
  if (int op = OperatorOf(in.Int("Password", -1)); op != 0) s_.lastOperator = op;
  out.Set("ECRMode", ModeLocked());
  out.Set("ECRAdvancedMode", 0);  // paper present, idle
  out.Set("ECRModeStatus", s_.receipt.open ? s_.receipt.type : 0);
  out.Set("ECRSoftVersion", id.firmwareVersion);
  out.Set("ECRBuild", id.firmwareBuild);
  out.SetDate("ECRSoftDate", IsoDay(id.firmwareDate));
  out.Set("FMSoftVersion", id.fmVersion);
  out.Set("FMBuild", id.fmBuild);
  out.SetDate("FMSoftDate", IsoDay(id.fmDate));
  out.Set("LogicalNumber", 1);
  out.Set("OpenDocumentNumber", s_.fn.documents.empty() ? 0 : static_cast<std::int64_t>(s_.fn.documents.back().number));
  out.Set("ECRFlags", 0x0002 /*receipt roll present*/ | (s_.identity.cutter ? 0x0100 : 0));
  out.Set("FMFlags", (s_.fn.phase & kFnFiscal) == kFnFiscal ? 0x02 : 0x00);
  out.Set("PortNumber", 0);
  out.SetDate("Date", now);
  out.SetTime("Time", now);
  out.Set("SessionNumber", s_.fn.sessionNumber);
  out.Set("FreeRecordInFM", 0);
  out.Set("RegistrationNumber", 30 - s_.fn.registrationsLeft);
  out.Set("FreeRegistration", s_.fn.registrationsLeft);
  out.Set("SerialNumber", id.serial);
  out.Set("INN", Cell(cell::kFiscal, 1, 2));
  out.Set("IsFM1OverflowOrNotPresent", false);
  out.Set("IsBatteryLow", false);
  return kOk;
}

std::uint8_t TDeviceModel::GetShortECRStatus(const TFieldValues&, TFieldValues& out) {
  out.Set("ECRMode", ModeLocked());
  out.Set("ECRAdvancedMode", 0);
  out.Set("ECRModeStatus", s_.receipt.open ? s_.receipt.type : 0);
  out.Set("ECRFlags", 0x0002 | (s_.identity.cutter ? 0x0100 : 0));
  out.Set("QuantityOfOperations", 0);
  out.Set("BatteryVoltage", 3.2);
  out.Set("PowerSourceVoltage", 24.0);
  out.Set("PrinterHeadTemperature", 30);
  out.Set("FMResultCode", 0);
  out.Set("EKLZResultCode", 0);
  out.Set("LastPrintResult", 0);
  out.Set("UpdateKeysResultCode", 254);  // no update needed
  out.Set("UpdateKeysStatus", 0);
  return kOk;
}

std::uint8_t TDeviceModel::GetDeviceMetrics(const TFieldValues&, TFieldValues& out) {
  const auto& id = s_.identity;
  out.Set("UMajorType", id.majorType);
  out.Set("UMinorType", id.minorType);
  out.Set("UMajorProtocolVersion", id.majorProtocol);
  out.Set("UMinorProtocolVersion", id.minorProtocol);
  out.Set("UModel", id.modelId);
  out.Set("UCodePage", id.codePage);
  out.Set("UDescription", id.description);
  out.Set("ModelParamCount", static_cast<std::int64_t>(ModelParams(id).size()));
  return kOk;
}

std::uint8_t TDeviceModel::ReadModelParam(const TFieldValues& in, TFieldValues& out) {
  const auto params = ModelParams(s_.identity);
  const std::int64_t index = in.Int("ModelParamIndex", -1);
  out.Set("ModelParamCount", static_cast<std::int64_t>(params.size()));
  if (index < 0 || index >= static_cast<std::int64_t>(params.size())) return kBadParameter;
  const auto& p = params[static_cast<std::size_t>(index)];
  out.Set("ModelParamNumber", p.number);
  out.Set("ModelParamDescription", p.description);
  SetParamValue(p, out);
  return kOk;
}

std::uint8_t TDeviceModel::ReadModelParamValue(const TFieldValues& in, TFieldValues& out) {
  const std::int64_t number = in.Int("ModelParamNumber", -1);
  for (const auto& p : ModelParams(s_.identity))
    if (p.number == number) {
      SetParamValue(p, out);
      return kOk;
    }
  return kBadParameter;
}

std::uint8_t TDeviceModel::ReadSerialNumber(const TFieldValues&, TFieldValues& out) {
  out.Set("SerialNumber", s_.identity.serial);
  return kOk;
}

std::uint8_t TDeviceModel::SetSerialNumber(const TFieldValues& in, TFieldValues&) {
  const std::string serial = in.Str("SerialNumber");
  if (!s_.identity.serial.empty()) return kNotInThisMode;  // written once
  if (serial.empty() || serial.size() > 20 || serial.find_first_not_of("0123456789") != std::string::npos)
    return kBadParameter;
  s_.identity.serial = serial;
  SetCell(cell::kFiscal, 1, 1, serial);
  return kOk;
}

std::uint8_t TDeviceModel::Beep(const TFieldValues&, TFieldValues&) { return kOk; }

std::uint8_t TDeviceModel::ResetECR(const TFieldValues&, TFieldValues&) {
  // A restart drops what is in preparation, not what is stored.
  s_.receipt = {};
  s_.fn.openDocument = 0;
  s_.fn.pendingTags.clear();
  return kOk;
}

std::uint8_t TDeviceModel::SetDate(const TFieldValues& in, TFieldValues&) {
  auto day = ParseDate(in.Str("Date"));
  if (!day) return kBadParameter;
  if (s_.receipt.open) return kReceiptIsOpen;
  // The date must not go back past the last fiscal document.
  if (!s_.fn.documents.empty() && *day < DayOf(s_.fn.documents.back().time)) return kFnBadDateTime;
  pendingDate_ = *day;  // waits in mode 6 for ConfirmDate
  return kOk;
}

std::uint8_t TDeviceModel::ConfirmDate(const TFieldValues& in, TFieldValues&) {
  auto day = ParseDate(in.Str("Date"));
  if (!day) return kBadParameter;
  if (pendingDate_ < 0) return kNotInThisMode;
  if (*day != pendingDate_) return kBadParameter;
  const std::int64_t now = NowLocked();
  s_.clockOffset += (*day + (now - DayOf(now))) - now;
  pendingDate_ = -1;
  return kOk;
}

std::uint8_t TDeviceModel::SetTime(const TFieldValues& in, TFieldValues&) {
  auto t = ParseTime(in.Str("Time"));
  if (!t) return kBadParameter;
  const std::int64_t now = NowLocked();
  s_.clockOffset += (DayOf(now) + *t) - now;
  return kOk;
}

}  // namespace zel::emu
