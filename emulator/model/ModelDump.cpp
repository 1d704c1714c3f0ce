// Memory dumps: the register sends a memory area in 32-byte blocks. The
// non-volatile memory is the register's saved state, the clock area the
// current date and time. Also the long-data echo.
#include <algorithm>
#include <ctime>

#include "emulator/model/DeviceModel.h"
#include "emulator/model/DeviceResult.h"
#include "emulator/model/StateFile.h"

namespace zel::emu {

namespace {
constexpr std::size_t kDumpBlockSize = 32;
constexpr int kDumpClock = 3;
constexpr int kDumpNonVolatile = 4;

int BlockCount(const Bytes& image) { return static_cast<int>((image.size() + kDumpBlockSize - 1) / kDumpBlockSize); }
}  // namespace

std::uint8_t TDeviceModel::DampRequest(const TFieldValues& in, TFieldValues& out) {
  if (OperatorOf(in.Int("Password", -1)) == 0) return kWrongPassword;
  const int code = static_cast<int>(in.Int("DeviceCode", -1));
  Bytes image;
  if (code == kDumpNonVolatile) {
    const std::string text = SaveStateText(s_);
    image.assign(text.begin(), text.end());
  } else if (code == kDumpClock) {
    // Day, month, year - 2000, hour, minute, second, as the clock chip keeps them.
    const std::time_t now = static_cast<std::time_t>(NowLocked());
    std::tm t{};
    gmtime_r(&now, &t);
    image = {static_cast<std::uint8_t>(t.tm_mday), static_cast<std::uint8_t>(t.tm_mon + 1),
             static_cast<std::uint8_t>(t.tm_year - 100), static_cast<std::uint8_t>(t.tm_hour),
             static_cast<std::uint8_t>(t.tm_min), static_cast<std::uint8_t>(t.tm_sec)};
  } else {
    return kBadParameter;
  }
  dump_ = {code, std::move(image), 1};
  out.Set("DataBlockNumber", BlockCount(dump_.image));
  return kOk;
}

std::uint8_t TDeviceModel::GetData(const TFieldValues& in, TFieldValues& out) {
  if (OperatorOf(in.Int("Password", -1)) == 0) return kWrongPassword;
  if (dump_.deviceCode < 0 || dump_.nextBlock > BlockCount(dump_.image)) return kFnNoData;
  const std::size_t from = static_cast<std::size_t>(dump_.nextBlock - 1) * kDumpBlockSize;
  const std::size_t to = std::min(from + kDumpBlockSize, dump_.image.size());
  out.Set("DeviceCode", dump_.deviceCode);
  out.Set("DataBlockNumber", dump_.nextBlock);
  out.Set("DataBlock", Bytes(dump_.image.begin() + static_cast<std::ptrdiff_t>(from),
                             dump_.image.begin() + static_cast<std::ptrdiff_t>(to)));
  ++dump_.nextBlock;
  return kOk;
}

std::uint8_t TDeviceModel::InterruptDataStream(const TFieldValues& in, TFieldValues&) {
  if (OperatorOf(in.Int("Password", -1)) == 0) return kWrongPassword;
  dump_ = {};
  return kOk;
}

std::uint8_t TDeviceModel::SendLongData(const TFieldValues& in, TFieldValues& out) {
  if (OperatorOf(in.Int("Password", -1)) == 0) return kWrongPassword;
  out.Set("LongData", in.Str("LongData"));
  return kOk;
}

}  // namespace zel::emu
