#pragma once
// Helpers shared by the files of TZelvox.
#include <string>

#include "common/DriverError.h"
#include "common/Translate.h"
#include "driver/catalogue/ErrorCodes.h"

namespace zel {

// Raises a driver code with its translated text and an optional detail.
[[noreturn]] inline void RaiseCode(int code, const std::string& detail) {
  std::string text = Tr(ErrorText(code));
  if (!detail.empty()) text += ": " + detail;
  throw EDriverError(code, text);
}

}  // namespace zel
