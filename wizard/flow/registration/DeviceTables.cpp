#include "wizard/flow/registration/DeviceTables.h"

#include <thread>

#include "common/Translate.h"
#include "driver/Zelvox.h"
#include "wizard/flow/core/TableMap.h"
#include "wizard/flow/registration/DriverCheck.h"

namespace zel {

namespace {
constexpr int kNoSuchField = 93;
constexpr int kBusyPrinting = 80;
constexpr int kBufferFull = 75;
}  // namespace

int TRegDevice::ReadModelParam(int number) {
  FDrv.put_ModelParamNumber(number);
  DriverCheck(FDrv, FDrv.ReadModelParamValue());
  return static_cast<int>(FDrv.get_ModelParamValue().Int);
}

int TRegDevice::MapTable(int table) {
  return MapTableNumber(table, [this](int param) { return ReadModelParam(param); });
}

void TRegDevice::Address(int table, int row, int field) {
  FDrv.put_TableNumber(MapTable(table));
  FDrv.put_RowNumber(row);
  FDrv.put_FieldNumber(field);
}

std::int64_t TRegDevice::TableReadInt(int table, int row, int field) {
  Address(table, row, field);
  DriverCheck(FDrv, FDrv.ReadTable());
  return FDrv.get_ValueOfFieldInteger();
}

std::string TRegDevice::TableReadStr(int table, int row, int field) {
  Address(table, row, field);
  DriverCheck(FDrv, FDrv.ReadTable());
  return FDrv.get_ValueOfFieldString();
}

std::int64_t TRegDevice::TableReadIntOrZero(int table, int row, int field) {
  Address(table, row, field);
  const int rc = FDrv.ReadTable();
  if (rc == kNoSuchField) return 0;
  DriverCheck(FDrv, rc);
  return FDrv.get_ValueOfFieldInteger();
}

std::string TRegDevice::TableReadStrOrEmpty(int table, int row, int field) {
  Address(table, row, field);
  const int rc = FDrv.ReadTable();
  if (rc == kNoSuchField) return {};
  DriverCheck(FDrv, rc);
  return FDrv.get_ValueOfFieldString();
}

void TRegDevice::TableWriteStr(int table, int row, int field, const std::string& value) {
  Address(table, row, field);
  FDrv.put_ValueOfFieldString(value);
  DriverCheck(FDrv, FDrv.WriteTable());
}

void TRegDevice::TableWriteInt(int table, int row, int field, std::int64_t value) {
  Address(table, row, field);
  DriverCheck(FDrv, FDrv.GetFieldStruct());
  if (FDrv.get_FieldType())
    FDrv.put_ValueOfFieldString(std::to_string(value));
  else
    FDrv.put_ValueOfFieldInteger(value);
  DriverCheck(FDrv, FDrv.WriteTable());
}

void TRegDevice::TableWriteIntRow1(int table, int field, std::int64_t value) {
  Address(table, 1, field);
  FDrv.put_ValueOfFieldInteger(value);
  DriverCheck(FDrv, FDrv.WriteTable());
}

bool TRegDevice::IsCashCore() {
  DriverCheck(FDrv, FDrv.GetDeviceMetrics());
  FDrv.put_ModelParamNumber(28);
  // A failed read leaves the value of an earlier parameter behind: that is no answer.
  if (FDrv.ReadModelParamValue() != 0) return false;
  return FDrv.get_ModelParamValue().Int != 0;
}

bool TRegDevice::IsModel19() {
  DriverCheck(FDrv, FDrv.GetDeviceMetrics());
  return FDrv.get_UModel() == 19;
}

int TRegDevice::ReadFFD() {
  return static_cast<int>(IsCashCore() ? TableReadInt(10, 1, 4) : TableReadInt(17, 1, 17));
}

void TRegDevice::WriteFFD(int value) {
  if (IsCashCore()) {
    TableWriteInt(10, 1, 29, value == 1 ? 0 : value);
    return;
  }
  TableWriteInt(17, 1, 17, value);
  if (value > 0) TableWriteInt(17, 1, 3, 2);
}

void TRegDevice::CallBusy(int (TZelvox::*method)()) {
  int rc = 0;
  for (int attempt = 1;; ++attempt) {
    rc = (FDrv.*method)();
    if ((rc != kBusyPrinting && rc != kBufferFull) || attempt >= FBusy.Attempts) break;
    std::this_thread::sleep_for(FBusy.Pause);
  }
  DriverCheck(FDrv, rc);
}

void TRegDevice::SendTagStr(int tag, const std::string& text) {
  FDrv.put_TagNumber(tag);
  FDrv.put_TagValueStr(text);
  FDrv.put_TagType(7);
  CallBusy(&TZelvox::FNSendTag);
}

void TRegDevice::SendTagByte(int tag, int value) {
  FDrv.put_TagNumber(tag);
  FDrv.put_TagValueInt(value);
  FDrv.put_TagType(0);
  CallBusy(&TZelvox::FNSendTag);
}

}  // namespace zel
