// Tag records, counters and the FE service commands.
#include "driver/catalogue/FieldCodec.h"
#include "emulator/model/DeviceModel.h"
#include "emulator/model/DeviceResult.h"

namespace zel::emu {
namespace {
// The four bytes 6E 3B D9 47 as a little-endian parameter.
constexpr std::int64_t kServiceAccessCode = 0x47D93B6E;
}  // namespace

std::uint8_t TDeviceModel::FNSendTLV(const TFieldValues& in, TFieldValues&) {
  if (OperatorOf(in.Int("Password", -1)) == 0) return kWrongPassword;
  if (s_.fn.openDocument == 0 && !s_.receipt.open) return kFnWrongState;
  std::vector<zel::TTlv> records;
  try {
    records = zel::DecodeTlvList(in.Bin("TLVData"));
  } catch (const zel::ECodecError&) {
    return kFnBadParameter;
  }
  if (records.empty()) return kFnBadParameter;
  for (const auto& r : records) {
    if (r.Value.size() > 1024) return kFnTlvTooLarge;
    s_.fn.pendingTags[r.Tag] = std::string(r.Value.begin(), r.Value.end());
  }
  return kOk;
}

std::uint8_t TDeviceModel::ContinuePrint(const TFieldValues& in, TFieldValues&) {
  return OperatorOf(in.Int("Password", -1)) == 0 ? kWrongPassword : kOk;
}

std::uint8_t TDeviceModel::FNCountersSync(const TFieldValues& in, TFieldValues&) {
  if (OperatorOf(in.Int("Password", -1)) == 0) return kWrongPassword;
  if (s_.receipt.open) return kReceiptIsOpen;
  return kOk;
}

std::uint8_t TDeviceModel::FNResetState(const TFieldValues& in, TFieldValues&) {
  if (!IsAdmin(in.Int("Password", -1))) return kWrongPassword;
  // Only a debug storage can be reset; this one runs serial firmware.
  if (s_.fn.softType == 1) return kFnWrongState;
  TFiscalStorage fresh;
  fresh.serial = s_.fn.serial;
  fresh.version = s_.fn.version;
  fresh.softType = s_.fn.softType;
  fresh.expiry = s_.fn.expiry;
  s_.fn = fresh;
  return kOk;
}

std::uint8_t TDeviceModel::ServiceCommand(const TFieldValues& in, TFieldValues& out) {
  const std::int64_t parameter = in.Int("Parameter");
  switch (in.Int("SubCode", -1)) {
    case 0x04:  // format the SD card
    case 0x0E:  // Ethernet 100 Mbit on or off
    case 0xED:  // firmware-update mode: the virtual register stays as it is
      return kOk;
    case 0x0F: {  // does the storage support OSU
      if ((parameter & 0xFF) != 2) return kBadParameter;
      out.Set("Payload", Bytes{0});
      return kOk;
    }
    case 0x1A: {  // update the marking-code check keys
      if (parameter != kServiceAccessCode) return kWrongPassword;
      const std::uint8_t updated = s_.okpKeysUpdated ? 254 : 2;
      s_.okpKeysUpdated = true;
      out.Set("Payload", Bytes{updated});
      return kOk;
    }
    case 0xE2:  // set the date of the last fiscal document to the clock's date
      if (parameter != kServiceAccessCode) return kWrongPassword;
      if (!s_.fn.documents.empty()) s_.fn.documents.back().time = NowLocked();
      return kOk;
    case 0xEB: {  // board firmware version
      const std::string v = "BOARD " + s_.identity.firmwareVersion + "." + std::to_string(s_.identity.firmwareBuild);
      out.Set("Payload", Bytes(v.begin(), v.end()));
      return kOk;
    }
  }
  return kNotSupported;
}

}  // namespace zel::emu
