// Figures of the fiscal storage (sizes, resources, totals) and interface settings.
#include "emulator/model/DeviceModel.h"
#include "emulator/model/DeviceResult.h"
#include "emulator/model/TableDefs.h"

namespace zel::emu {
namespace {
constexpr std::int64_t kFiveYearCapacity = 250000;  // documents the archive holds
constexpr std::int64_t kThirtyDayCapacity = 1000;   // unsent documents before the storage blocks
}  // namespace

std::uint8_t TDeviceModel::FNGetDocumentSize(const TFieldValues&, TFieldValues& out) {
  if (s_.fn.documents.empty()) return kFnNoData;
  // A fixed header plus the tags the document carries, as the archive stores them (tag, length, value).
  const TFnDocument& d = s_.fn.documents.back();
  std::int64_t size = 64 + static_cast<std::int64_t>(d.inn.size() + d.rnm.size() + d.ofdInn.size());
  for (const auto& [tag, value] : d.tags) size += 4 + static_cast<std::int64_t>(value.size());
  out.Set("DocumentSize", size);
  out.Set("NotificationSize", size + 32);  // signed and addressed for the OFD
  return kOk;
}

std::uint8_t TDeviceModel::FNGetFreeMemoryResource(const TFieldValues&, TFieldValues& out) {
  std::int64_t unsent = 0;
  for (const auto& d : s_.fn.documents) unsent += d.acknowledged ? 0 : 1;
  out.Set("FN5YearResource", kFiveYearCapacity - static_cast<std::int64_t>(s_.fn.documents.size()));
  out.Set("FN30DayResource", kThirtyDayCapacity - unsent);
  out.Set("FNMarkingFillPercentage", std::int64_t{0});
  return kOk;
}

std::uint8_t TDeviceModel::FNGetImplementation(const TFieldValues&, TFieldValues& out) {
  out.Set("FNImplementation", "ФН-1.2 " + s_.fn.version);
  return kOk;
}

std::uint8_t TDeviceModel::FNGetNonClearableSumm(const TFieldValues&, TFieldValues& out) {
  for (int kind = 1; kind <= 4; ++kind) {
    std::int64_t sum = 0;
    for (auto v : s_.fn.totals[static_cast<std::size_t>(kind - 1)]) sum += v;
    out.Set("Summ" + std::to_string(kind), sum);
  }
  return kOk;
}

std::uint8_t TDeviceModel::FNGetNonClearableSummEx(const TFieldValues& in, TFieldValues& out) {
  const std::int64_t kind = in.Int("CheckType", -1);
  if (kind < 1 || kind > 5) return kBadParameter;
  const auto& totals = s_.fn.totals[static_cast<std::size_t>(kind - 1)];
  for (int i = 1; i <= 16; ++i) out.Set("Summ" + std::to_string(i), totals[static_cast<std::size_t>(i - 1)]);
  return kOk;
}

std::uint8_t TDeviceModel::FNGetUnconfirmedDocCount(const TFieldValues&, TFieldValues& out) {
  std::int64_t unsent = 0;
  for (const auto& d : s_.fn.documents) unsent += d.acknowledged ? 0 : 1;
  out.Set("DocumentCount", unsent);
  return kOk;
}

std::uint8_t TDeviceModel::SetExchangeParam(const TFieldValues& in, TFieldValues&) {
  if (!IsAdmin(in.Int("Password", -1))) return kWrongPassword;
  const std::int64_t port = in.Int("PortNumber", -1), baud = in.Int("BaudRate", -1), timeout = in.Int("Timeout", -1);
  const std::int64_t tcp = in.Int("TCPPort", 0);
  if (port < 0 || port > 2 || baud < 0 || baud > 9 || timeout < 0 || timeout > 65535) return kBadParameter;
  if (port == 2 && (tcp < 1 || tcp > 65535)) return kBadParameter;
  s_.exchange[static_cast<std::size_t>(port)] = {static_cast<int>(baud), static_cast<int>(timeout)};
  if (port == 2) SetCell(21, 1, 4, std::to_string(tcp));  // the register's TCP port lives in table 21
  return kOk;
}

std::uint8_t TDeviceModel::GetExchangeParam(const TFieldValues& in, TFieldValues& out) {
  const std::int64_t port = in.Int("PortNumber", -1);
  if (port < 0 || port > 2) return kBadParameter;
  const TExchangeParams& p = s_.exchange[static_cast<std::size_t>(port)];
  out.Set("BaudRate", p.baudRate);
  out.Set("Timeout", p.timeout);
  out.Set("TCPPort", port == 2 ? CellInt(21, 1, 4) : 0);
  return kOk;
}

}  // namespace zel::emu
