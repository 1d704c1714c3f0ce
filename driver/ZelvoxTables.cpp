// Table methods with logic: ReadTable and WriteTable learn the field's
// structure first, then carry its value as FieldSize bytes.
#include <algorithm>
#include <fstream>
#include <sstream>

#include "driver/Zelvox.h"
#include "driver/ZelvoxInternal.h"
#include "driver/catalogue/Cp1251.h"

namespace zel {

namespace {

std::string Trimmed(const std::string& s) {
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

std::string Quoted(const std::string& s) {
  std::string out = "\"";
  for (char c : s) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

// One line of the table file: numbers and quoted texts separated by ';'.
bool SplitLine(const std::string& line, std::vector<std::string>& cells) {
  cells.clear();
  std::size_t i = 0;
  while (i <= line.size()) {
    std::string cell;
    if (i < line.size() && line[i] == '"') {
      ++i;
      while (true) {
        if (i >= line.size()) return false;
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            cell += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        cell += line[i++];
      }
      if (i < line.size() && line[i] != ';') return false;
    } else {
      const std::size_t end = std::min(line.find(';', i), line.size());
      cell = line.substr(i, end - i);
      i = end;
    }
    cells.push_back(cell);
    ++i;  // past ';' (or the end)
  }
  return true;
}

constexpr const char* kTableFileHeader = "Table;Row;Field;Name;Value";
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
        out << table << ';' << row << ';' << field << ';' << Quoted(FProps.GetText(TPropId::FieldName)) << ';'
            << Quoted(FProps.GetText(TPropId::ValueOfFieldString)) << "\n";
      }
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << out.str();
  if (!file) RaiseCode(kBadValue, "FileName: " + path);
  return 0;
}

// Writes back every line of a file made by ExportTables. The whole file is
// checked first, so a damaged one changes nothing. A field the device refuses
// does not stop the others; the first refusal is the result.
int TZelvox::DoImportTables() {
  const std::string path = FProps.GetText(TPropId::FileName);
  std::ifstream file(path, std::ios::binary);
  if (!file) RaiseCode(kBadValue, "FileName: " + path);
  struct TLine {
    std::int64_t Table, Row, Field;
    std::string Value;
  };
  std::vector<TLine> lines;
  std::string line;
  std::vector<std::string> cells;
  int lineNumber = 0;
  while (std::getline(file, line)) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line == kTableFileHeader) continue;
    if (!SplitLine(line, cells) || cells.size() != 5) RaiseCode(kBadValue, path + ":" + std::to_string(lineNumber));
    std::int64_t numbers[3];
    for (int k = 0; k < 3; ++k) {
      std::size_t used = 0;
      try {
        numbers[k] = std::stoll(cells[static_cast<std::size_t>(k)], &used);
      } catch (const std::exception&) {
        used = 0;
      }
      if (used == 0 || used != cells[static_cast<std::size_t>(k)].size())
        RaiseCode(kBadValue, path + ":" + std::to_string(lineNumber));
    }
    lines.push_back({numbers[0], numbers[1], numbers[2], cells[4]});
  }
  int firstError = 0, refused = 0;
  std::string firstPlace;
  for (const TLine& l : lines) {
    FProps.SetInt(TPropId::TableNumber, l.Table);
    FProps.SetInt(TPropId::RowNumber, l.Row);
    FProps.SetInt(TPropId::FieldNumber, l.Field);
    FProps.SetText(TPropId::ValueOfFieldString, l.Value);
    const int error = DoWriteTable();
    if (error != 0 && ++refused == 1) {
      firstError = error;
      firstPlace = std::to_string(l.Table) + "." + std::to_string(l.Row) + "." + std::to_string(l.Field);
    }
  }
  if (firstError)
    FCallText = Tr(ErrorText(firstError)) + ": " + firstPlace + " (" + std::to_string(refused) + ")";
  return firstError;
}

}  // namespace zel
