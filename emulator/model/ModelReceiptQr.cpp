// The QR code text printed on a receipt, read back by document number.
#include <cstdio>
#include <ctime>

#include "emulator/model/DeviceModel.h"
#include "emulator/model/DeviceResult.h"

namespace zel::emu {

namespace {
constexpr int kReceipt = 3;
constexpr int kCorrectionReceipt = 31;
}  // namespace

std::uint8_t TDeviceModel::FNReadFiscalBarcode(const TFieldValues& in, TFieldValues& out) {
  if (OperatorOf(in.Int("Password", -1)) == 0) return kWrongPassword;
  const std::int64_t number = in.Int("DocumentNumber", -1);
  for (const auto& d : s_.fn.documents) {
    if (d.number != number) continue;
    if (d.type != kReceipt && d.type != kCorrectionReceipt) return kFnNoData;
    const std::time_t time = static_cast<std::time_t>(d.time);
    std::tm t{};
    gmtime_r(&time, &t);
    char text[160];
    std::snprintf(text, sizeof text, "t=%04d%02d%02dT%02d%02d&s=%lld.%02lld&fn=%s&i=%u&fp=%u&n=%d", t.tm_year + 1900,
                  t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, static_cast<long long>(d.sum / 100),
                  static_cast<long long>(d.sum % 100), s_.fn.serial.c_str(), d.number, d.fiscalSign, d.operationType);
    out.Set("BarCode", std::string(text));
    return kOk;
  }
  return kFnNoData;
}

}  // namespace zel::emu
