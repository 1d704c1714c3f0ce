#include "wizard/flow/device/DeviceTables.h"

#include "common/Translate.h"
#include "wizard/flow/core/TableMap.h"

namespace zel {
namespace {
constexpr int kNoSuchField = 93;
}

int TDeviceTables::Table(int logical) {
  return MapTableNumber(logical, [this](int param) {
    FDriver.put_ModelParamNumber(param);
    Check(FDriver.ReadModelParamValue());
    return static_cast<int>(FDriver.get_ModelParamValue().Int);  // integer or boolean, never text
  });
}

int TDeviceTables::Read(int table, int row, int field) {
  FDriver.put_TableNumber(Table(table));
  FDriver.put_RowNumber(row);
  FDriver.put_FieldNumber(field);
  return FDriver.ReadTable();
}

std::int64_t TDeviceTables::ReadInt(int table, int row, int field) {
  Check(Read(table, row, field));
  return FDriver.get_ValueOfFieldInteger();
}

std::string TDeviceTables::ReadStr(int table, int row, int field) {
  Check(Read(table, row, field));
  return FDriver.get_ValueOfFieldString();
}

std::int64_t TDeviceTables::ReadIntOrZero(int table, int row, int field) {
  const int rc = Read(table, row, field);
  if (rc == kNoSuchField) return 0;
  Check(rc);
  return FDriver.get_ValueOfFieldInteger();
}

std::string TDeviceTables::ReadStrOrEmpty(int table, int row, int field) {
  const int rc = Read(table, row, field);
  if (rc == kNoSuchField) return {};
  Check(rc);
  return FDriver.get_ValueOfFieldString();
}

void TDeviceTables::WriteInt(int table, int row, int field, std::int64_t value) {
  FDriver.put_TableNumber(Table(table));
  FDriver.put_RowNumber(row);
  FDriver.put_FieldNumber(field);
  Check(FDriver.GetFieldStruct());
  if (FDriver.get_FieldType() != 0)
    FDriver.put_ValueOfFieldString(std::to_string(value));
  else
    FDriver.put_ValueOfFieldInteger(value);
  Check(FDriver.WriteTable());
}

void TDeviceTables::WriteStr(int table, int row, int field, const std::string& value) {
  FDriver.put_TableNumber(Table(table));
  FDriver.put_RowNumber(row);
  FDriver.put_FieldNumber(field);
  FDriver.put_ValueOfFieldString(value);
  Check(FDriver.WriteTable());
}

bool TDeviceTables::IsCashCore() {
  Check(FDriver.GetDeviceMetrics());
  FDriver.put_ModelParamNumber(28);
  // A register without the parameter is not cash-core.
  return FDriver.ReadModelParamValue() == 0 && FDriver.get_ModelParamValue().Int != 0;
}

int TDeviceTables::ReadFFD() {
  return static_cast<int>(IsCashCore() ? ReadInt(10, 1, 4) : ReadInt(17, 1, 17));
}

}  // namespace zel
