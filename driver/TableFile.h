#pragma once
// The table file of ExportTables/ImportTables: UTF-8 text in the CSV manner,
// ';' between cells, a header line, then one record per field:
//
//   Table;Row;Field;Name;Value
//   18;1;7;"Пользователь";"ООО ""Ромашка""; склад"
//
// Texts are in double quotes with a quote inside doubled; a quoted text may
// hold ';' and line breaks, which stay as they are. Records end with "\n"
// (a "\r\n" written by another program is read as well).
#include <string>
#include <vector>

namespace zel {

inline constexpr const char* kTableFileHeader = "Table;Row;Field;Name;Value";

std::string TableFileQuote(const std::string& text);

struct TTableFileRecord {
  int Line = 0;  // where the record starts (1-based)
  std::vector<std::string> Cells;
};

// Splits the whole file into records; false with badLine set at the first
// malformed record (a quote left open, text after a closing quote).
// Empty lines are skipped.
bool ParseTableFile(const std::string& text, std::vector<TTableFileRecord>& records, int& badLine);

}  // namespace zel
