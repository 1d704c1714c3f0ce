// Settings tables and registers.
#include <charconv>

#include "emulator/model/DeviceModel.h"
#include "emulator/model/DeviceResult.h"
#include "emulator/model/Registers.h"
#include "emulator/model/TableDefs.h"

namespace zel::emu {
namespace {

void FieldStructOut(const TTableField& f, TFieldValues& out) {
  out.Set("FieldName", f.name);
  out.Set("FieldType", f.text);  // 0 number, 1 text
  out.Set("FieldSize", f.size);
  out.Set("MINValueOfField", f.min);
  out.Set("MAXValueOfField", f.max);
}

bool ParseInt(const std::string& s, std::int64_t& v) {
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && p == s.data() + s.size();
}

// A cell a command may address; nullptr when the table, row or field is missing.
const TTableField* Addressed(const TFieldValues& in, int& table, int& row, int& field) {
  table = static_cast<int>(in.Int("TableNumber", -1));
  row = static_cast<int>(in.Int("RowNumber", -1));
  field = static_cast<int>(in.Int("FieldNumber", -1));
  const TTableDef* t = FindTable(table);
  if (!t || row < 1 || row > t->rows) return nullptr;
  return FindField(table, field);
}

}  // namespace

std::uint8_t TDeviceModel::GetTableStruct(const TFieldValues& in, TFieldValues& out) {
  const TTableDef* t = FindTable(static_cast<int>(in.Int("TableNumber", -1)));
  if (!t) return kNoSuchTable;
  out.Set("TableNumber", t->number);
  out.Set("TableName", t->name);
  out.Set("RowNumber", t->rows);
  out.Set("FieldNumber", static_cast<int>(t->fields.size()));
  return kOk;
}

std::uint8_t TDeviceModel::GetFieldStruct(const TFieldValues& in, TFieldValues& out) {
  const TTableField* f = FindField(static_cast<int>(in.Int("TableNumber", -1)), static_cast<int>(in.Int("FieldNumber", -1)));
  if (!f) return kNoSuchTable;
  FieldStructOut(*f, out);
  return kOk;
}

std::uint8_t TDeviceModel::ReadTable(const TFieldValues& in, TFieldValues& out) {
  int table, row, field;
  const TTableField* f = Addressed(in, table, row, field);
  if (!f) return kNoSuchTable;
  if (table == cell::kExchange) RefreshExchangeTable();
  if (table == cell::kNetwork && field == 2)  // DHCP state follows the address mode
    SetCell(table, row, field, Cell(table, row, 1) == "0" ? std::to_string(DhcpStateLocked()) : "0");
  const std::string v = Cell(table, row, field);
  FieldStructOut(*f, out);
  if (f->text) {
    out.Set("ValueOfFieldString", v);
  } else {
    std::int64_t i = 0;
    ParseInt(v, i);
    out.Set("ValueOfFieldInteger", i);
    out.Set("ValueOfFieldString", std::to_string(i));
  }
  return kOk;
}

std::uint8_t TDeviceModel::WriteTable(const TFieldValues& in, TFieldValues& out) {
  int table, row, field;
  const TTableField* f = Addressed(in, table, row, field);
  if (!f) return kNoSuchTable;
  const std::int64_t password = in.Int("Password", -1);
  // Service switches of table 10 take the service password 0 as well.
  if (!IsAdmin(password) && !(table == cell::kService && password == 0)) return kWrongPassword;
  if (f->readOnly) return kBadParameter;
  std::string value;
  if (f->text) {
    value = in.Has("ValueOfFieldString") ? in.Str("ValueOfFieldString") : in.Str("ValueOfFieldInteger");
    if (value.size() > static_cast<std::size_t>(f->size)) return kBadParameter;
  } else {
    std::int64_t i = 0;
    if (in.Has("ValueOfFieldInteger")) {
      i = in.Int("ValueOfFieldInteger");
    } else if (!ParseInt(in.Str("ValueOfFieldString"), i)) {
      return kBadParameter;
    }
    if (i < f->min || i > f->max) return kBadParameter;
    value = std::to_string(i);
  }
  if (table == cell::kPasswords && field == 1) {
    // Two operators with one password would make the operator ambiguous.
    for (int r = 1; r <= 30; ++r)
      if (r != row && Cell(table, r, 1) == value) return kBadParameter;
  }
  SetCell(table, row, field, value);
  // A cash-core register takes the FFD version written to field 29 (0 for 1.0) and
  // reports it in field 4.
  if (s_.identity.cashCore && table == cell::kService && field == 29)
    SetCell(table, row, 4, value == "0" ? "1" : value);
  if (IsNetworkTable(table)) net_.restartPending = true;
  FieldStructOut(*f, out);
  return kOk;
}

std::uint8_t TDeviceModel::InitTable(const TFieldValues& in, TFieldValues&) {
  if (!IsAdmin(in.Int("Password", -1))) return kWrongPassword;
  if (s_.fn.phase != kFnSetUp) return kNotInThisMode;  // a registered register keeps its settings
  auto cash = s_.cashRegisters;
  auto ops = s_.operationRegisters;
  FillDefaults();
  s_.cashRegisters = cash;
  s_.operationRegisters = ops;
  return kOk;
}

std::uint8_t TDeviceModel::GetCashReg(const TFieldValues& in, TFieldValues& out) {
  const std::int64_t n = in.Int("RegisterNumber", -1);
  if (n < 0 || n >= kCashRegisterCount) return kBadParameter;
  out.Set("ContentsOfCashRegister", s_.cashRegisters[static_cast<std::size_t>(n)]);
  out.Set("NameCashReg", CashRegisterName(static_cast<int>(n)));
  return kOk;
}

std::uint8_t TDeviceModel::GetCashRegEx(const TFieldValues& in, TFieldValues& out) {
  const std::int64_t n = in.Int("RegisterNumber", -1) - kCashRegisterExFirst;
  if (n < 0 || n >= kCashRegisterExCount) return kBadParameter;
  out.Set("ContentsOfCashRegister", s_.fn.totals[static_cast<std::size_t>(n / 16)][static_cast<std::size_t>(n % 16)]);
  out.Set("NameCashRegEx", CashRegisterExName(static_cast<int>(n + kCashRegisterExFirst)));
  return kOk;
}

std::uint8_t TDeviceModel::GetOperationReg(const TFieldValues& in, TFieldValues& out) {
  const std::int64_t n = in.Int("RegisterNumber", -1);
  if (n < 0 || n >= kOperationRegisterCount) return kBadParameter;
  out.Set("ContentsOfOperationRegister", s_.operationRegisters[static_cast<std::size_t>(n)]);
  out.Set("NameOperationReg", OperationRegisterName(static_cast<int>(n)));
  return kOk;
}

}  // namespace zel::emu
