// Replacing the fiscal storage, and where the register keeps what a
// registration report takes from its tables.
#include "emulator/model/DeviceModel.h"
#include "emulator/model/TableDefs.h"

namespace zel::emu {
namespace {
constexpr int kCashCoreExtendedTable = 13;
}  // namespace

bool TDeviceModel::ReplaceFN(const std::string& serial) {
  if (serial.empty() || serial.size() > 16 || serial.find_first_not_of("0123456789") != std::string::npos) return false;
  std::lock_guard lock(mutex_);
  TFiscalStorage fresh;
  fresh.serial = serial;
  fresh.version = s_.fn.version;
  fresh.softType = s_.fn.softType;
  fresh.expiry = NowLocked() + 3LL * 365 * 24 * 3600;
  s_.fn = std::move(fresh);  // the old storage leaves with its archive
  s_.receipt = {};
  SetCell(cell::kFiscal, 1, 4, serial);
  return true;
}

int TDeviceModel::ExtendedModesTable() const {
  return s_.identity.cashCore ? kCashCoreExtendedTable : cell::kFiscal;
}

bool TDeviceModel::FreshFnAfterRegistration() const {
  return s_.fn.phase == kFnSetUp && s_.fn.documents.empty() && !Cell(cell::kFiscal, 1, 3).empty();
}

}  // namespace zel::emu
