#pragma once
// Failures of the wizard's steps and the one check of a driver result code.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace zel {

class TZelvox;

// A failure with the text to show; the operator stays on the step.
class EWizardError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A failed driver call: "Ошибка <code>, <description>".
class EDriverCheck : public EWizardError {
 public:
  EDriverCheck(int code, const std::string& text) : EWizardError(text), FCode(code) {}
  int Code() const { return FCode; }

 private:
  int FCode;
};

// The text DriverCheck raises for a code and its description.
std::string DriverErrorText(int code, const std::string& description);
// Nothing for 0; otherwise throws EDriverCheck with the driver's ResultCodeDescription.
void DriverCheck(const TZelvox& driver, int resultCode);
// Field of row of table as a number, through DriverCheck.
std::int64_t TableReadInt(TZelvox& driver, int table, int row, int field);

}  // namespace zel
