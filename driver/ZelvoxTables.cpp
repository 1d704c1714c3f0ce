// Table methods with logic: ReadTable and WriteTable learn the field's
// structure first, then carry its value as FieldSize bytes.
#include <algorithm>
#include <fstream>
#include <sstream>

#include "driver/Zelvox.h"
#include "driver/TableFile.h"
#include "driver/ZelvoxInternal.h"
#include "driver/catalogue/Cp1251.h"

namespace zel {

namespace {

std::string Trimmed(const std::string& s) {
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

constexpr int kMaxTables = 255;

}  // namespace

int TZelvox::ReadFieldStruct(std::int64_t table, std::int64_t field) {
  return Run("GetFieldStruct", {{"TableNumber", table}, {"FieldNumber", field}});
}

int TZelvox::DoReadTable() {
  int error = ReadFieldStruct(FProps.GetInt(TPropId::TableNumber), FProps.GetInt(TPropId::FieldNumber));
  if (error) return error;
  TFieldMap answer;
  if ((error = Run("ReadTable", {}, &answer)) != 0) return error;
  const Bytes& raw = std::get<Bytes>(answer.at("FieldValue"));
  if (FProps.GetInt(TPropId::FieldType) == 0) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < std::min<std::size_t>(raw.size(), 8); ++i) v |= std::uint64_t{raw[i]} << (8 * i);
    FProps.SetInt(TPropId::ValueOfFieldInteger, static_cast<std::int64_t>(v));
    FProps.SetText(TPropId::ValueOfFieldString, std::to_string(v));
  } else {
    std::string text(raw.begin(), raw.end());
    text = text.substr(0, text.find('\0'));
    FProps.SetText(TPropId::ValueOfFieldString, Cp1251ToUtf8(text));
  }
  return 0;
}

// A number field takes ValueOfFieldInteger, or ValueOfFieldString when that
// was set after it (the table editor writes every value as text).
int TZelvox::DoWriteTable() {
  int error = ReadFieldStruct(FProps.GetInt(TPropId::TableNumber), FProps.GetInt(TPropId::FieldNumber));
  if (error) return error;
  const auto size = static_cast<std::size_t>(FProps.GetInt(TPropId::FieldSize));
  Bytes value;
  if (FProps.GetInt(TPropId::FieldType) == 0) {
    std::int64_t v = FProps.GetInt(TPropId::ValueOfFieldInteger);
    if (FProps.Stamp(TPropId::ValueOfFieldString) > FProps.Stamp(TPropId::ValueOfFieldInteger)) {
      const std::string text = Trimmed(FProps.GetText(TPropId::ValueOfFieldString));
      std::size_t used = 0;
      try {
        v = std::stoll(text, &used);
      } catch (const std::exception&) {
        used = 0;
      }
      if (used == 0 || used != text.size()) RaiseCode(kBadValue, "ValueOfFieldString");
    }
    if (v < 0 || (size < 8 && static_cast<std::uint64_t>(v) >> (8 * size) != 0))
      RaiseCode(kBadValue, "ValueOfFieldInteger");
    for (std::size_t i = 0; i < size; ++i)
      value.push_back(i < 8 ? static_cast<std::uint8_t>(static_cast<std::uint64_t>(v) >> (8 * i)) : 0);
    FProps.SetInt(TPropId::ValueOfFieldInteger, v);
    FProps.SetText(TPropId::ValueOfFieldString, std::to_string(v));
  } else {
    const std::string text = Utf8ToCp1251(FProps.GetText(TPropId::ValueOfFieldString));
    if (text.size() > size) RaiseCode(kBadValue, "ValueOfFieldString");
    value.assign(text.begin(), text.end());
    value.resize(size, 0);
  }
  return Run("WriteTable", {{"FieldValue", value}});
}

}  // namespace zel

namespace zel {

// Every field of every table (1 up to the first 93) into FileName, one line
// per field: table;row;field;"name";"value" under a header line.
int TZelvox::DoExportTables() {
  const std::string path = FProps.GetText(TPropId::FileName);
  std::ostringstream out;
  out << kTableFileHeader << "\n";
  for (int table = 1; table <= kMaxTables; ++table) {
    int error = Run("GetTableStruct", {{"TableNumber", std::int64_t{table}}});
    if (error == kDevNoSuchTable) break;
    if (error) return error;
    const std::int64_t rows = FProps.GetInt(TPropId::RowNumber), fields = FProps.GetInt(TPropId::FieldNumber);
    for (std::int64_t row = 1; row <= rows; ++row)
      for (std::int64_t field = 1; field <= fields; ++field) {
        FProps.SetInt(TPropId::TableNumber, table);
        FProps.SetInt(TPropId::RowNumber, row);
        FProps.SetInt(TPropId::FieldNumber, field);
        if ((error = DoReadTable()) != 0) return error;
        out << table << ';' << row << ';' << field << ';' << TableFileQuote(FProps.GetText(TPropId::FieldName)) << ';'
            << TableFileQuote(FProps.GetText(TPropId::ValueOfFieldString)) << "\n";
      }
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << out.str();
  if (!file) RaiseCode(kBadValue, "FileName: " + path);
  return 0;
}

// Writes back every record of a file made by ExportTables whose value differs
// from the device's. A field the device refuses does not stop the others; the
// first refusal is the result.
int TZelvox::DoImportTables() {
  const std::string path = FProps.GetText(TPropId::FileName);
  std::ifstream file(path, std::ios::binary);
  if (!file) RaiseCode(kBadValue, "FileName: " + path);
  std::ostringstream content;
  content << file.rdbuf();
  std::vector<TTableFileRecord> records;
  int badLine = 0;
  if (!ParseTableFile(content.str(), records, badLine)) RaiseCode(kBadValue, path + ":" + std::to_string(badLine));
  // Every record is checked before the first write, so a bad file changes nothing.
  struct TItem {
    std::int64_t Number[3];
    const std::vector<std::string>* Cells;
  };
  std::vector<TItem> items;
  for (const TTableFileRecord& record : records) {
    const std::vector<std::string>& cells = record.Cells;
    if (cells.size() == 5 && cells[0] == "Table" && cells[4] == "Value") continue;  // the header
    if (cells.size() != 5) RaiseCode(kBadValue, path + ":" + std::to_string(record.Line));
    TItem item{{0, 0, 0}, &cells};
    for (int k = 0; k < 3; ++k) {
      std::size_t used = 0;
      try {
        item.Number[k] = std::stoll(cells[static_cast<std::size_t>(k)], &used);
      } catch (const std::exception&) {
        used = 0;
      }
      if (used == 0 || used != cells[static_cast<std::size_t>(k)].size())
        RaiseCode(kBadValue, path + ":" + std::to_string(record.Line));
    }
    items.push_back(item);
  }
  int firstError = 0, refused = 0;
  std::string firstPlace;
  for (const TItem& item : items) {
    const std::vector<std::string>& cells = *item.Cells;
    FProps.SetInt(TPropId::TableNumber, item.Number[0]);
    FProps.SetInt(TPropId::RowNumber, item.Number[1]);
    FProps.SetInt(TPropId::FieldNumber, item.Number[2]);
    // A field that already holds the value is left alone: read-only fields
    // (serial numbers, counters) then import cleanly from an export.
    if (DoReadTable() == 0 && FProps.GetText(TPropId::ValueOfFieldString) == cells[4]) continue;
    FProps.SetText(TPropId::ValueOfFieldString, cells[4]);
    const int error = DoWriteTable();
    if (error != 0 && ++refused == 1) {
      firstError = error;
      firstPlace = cells[0] + "." + cells[1] + "." + cells[2];
    }
  }
  if (firstError)
    FCallText = Tr(ErrorText(firstError)) + ": " + firstPlace + " (" + std::to_string(refused) + ")";
  return firstError;
}

}  // namespace zel
