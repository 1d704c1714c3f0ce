#pragma once
// Structure of the register's settings tables: names, rows, fields with
// type, size and limits. Tables are numbered 1..TableCount() without gaps so
// that a walk from table 1 ends at the first missing number.
#include <cstdint>
#include <string>
#include <vector>

namespace zel::emu {

struct TTableField {
  std::string name;
  bool text = false;          // false: integer of `size` bytes; true: text of at most `size` bytes
  int size = 1;
  std::int64_t min = 0, max = 255;
  std::string def;            // default value as text
  bool readOnly = false;      // kept by the register itself
};

struct TTableDef {
  int number = 0;
  std::string name;
  int rows = 1;
  std::vector<TTableField> fields;  // field N is fields[N - 1]
};

const std::vector<TTableDef>& TableDefs();
// nullptr when there is no such table / field.
const TTableDef* FindTable(int number);
const TTableField* FindField(int table, int field);
// Default text of a cell (rows may differ, e.g. cashier names).
std::string DefaultCell(int table, int row, int field);

// Cells the model itself keeps up to date.
namespace cell {
inline constexpr int kPasswords = 2;      // row = operator; 1 password, 2 name
inline constexpr int kService = 10;
inline constexpr int kNetwork = 16;       // 1 address mode (0 DHCP, 1 static), 2 DHCP state, 3.. octets
inline constexpr int kFiscal = 18;        // 1 serial, 2 INN, 3 RNM, 4 FN serial, 7.. requisites
inline constexpr int kOfd = 19;
inline constexpr int kExchange = 20;
inline constexpr int kVending = 24;
inline constexpr int kDhcpObtained = 10;
}  // namespace cell

}  // namespace zel::emu
