#pragma once
// A driver result code turned into an exception the wizard's steps show.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace zel {

class TZelvox;

class EDriverCheck : public std::runtime_error {
 public:
  EDriverCheck(int code, const std::string& text) : std::runtime_error(text), FCode(code) {}
  int Code() const { return FCode; }

 private:
  int FCode;
};

// Nothing for 0; otherwise throws EDriverCheck "Ошибка <code>, <ResultCodeDescription>".
void DriverCheck(const TZelvox& driver, int resultCode);
// Field of row of table as a number, through DriverCheck.
std::int64_t TableReadInt(TZelvox& driver, int table, int row, int field);

}  // namespace zel
