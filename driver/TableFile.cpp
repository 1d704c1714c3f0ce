#include "driver/TableFile.h"

namespace zel {

std::string TableFileQuote(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

bool ParseTableFile(const std::string& text, std::vector<TTableFileRecord>& records, int& badLine) {
  records.clear();
  badLine = 0;
  std::size_t i = 0;
  int line = 1;
  const std::size_t n = text.size();
  while (i < n) {
    TTableFileRecord record;
    record.Line = line;
    // A blank line (or a lone "\r\n") is no record.
    if (text[i] == '\n' || (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n')) {
      i += text[i] == '\r' ? 2 : 1;
      ++line;
      continue;
    }
    while (true) {
      std::string cell;
      if (i < n && text[i] == '"') {
        ++i;
        while (true) {
          if (i >= n) {
            badLine = record.Line;
            return false;
          }
          if (text[i] == '"') {
            if (i + 1 < n && text[i + 1] == '"') {
              cell += '"';
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          if (text[i] == '\n') ++line;
          cell += text[i++];
        }
      } else {
        while (i < n && text[i] != ';' && text[i] != '\n' && !(text[i] == '\r' && i + 1 < n && text[i + 1] == '\n'))
          cell += text[i++];
      }
      record.Cells.push_back(std::move(cell));
      if (i >= n) break;
      if (text[i] == ';') {
        ++i;
        continue;
      }
      if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
      if (text[i] == '\n') {
        ++i;
        ++line;
        break;
      }
      badLine = record.Line;  // text after a closing quote
      return false;
    }
    records.push_back(std::move(record));
  }
  return true;
}

}  // namespace zel
