#pragma once
// Result bytes of the virtual register's answers, as the shared command
// catalogue defines them. 1..48 are the fiscal storage's own codes.
#include <cstdint>

namespace zel::emu {

enum EResult : std::uint8_t {
  kOk = 0,
  kFnUnknownCommand = 1,      // unknown command, wrong format or parameters
  kFnWrongState = 2,          // the storage is in another state
  kFnLifePhase = 5,           // parameters do not match the life phase
  kFnBadDateTime = 7,
  kFnNoData = 8,              // no (more) requested data
  kFnBadParameter = 9,
  kFnTlvTooLarge = 16,
  kFnResourceExhausted = 18,
  kFnShiftOver24h = 22,
  kBadParameter = 51,         // bad parameter value / number past the last
  kNotSupported = 55,         // command not supported
  kShiftIsOpen = 61,
  kShiftNotOpen = 62,
  kReceiptIsOpen = 74,
  kPrintBufferFull = 75,
  kShiftOver24h = 78,
  kWrongPassword = 79,
  kPrinting = 80,             // still printing the previous command
  kReceiptClosed = 85,
  kNoSuchTable = 93,          // no such table, row or field
  kNotInThisMode = 115,       // command not allowed in this mode
};

}  // namespace zel::emu
