#pragma once
// Result bytes of the virtual register's answers. 1..48 are the fiscal
// storage's own codes, passed through unchanged.
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
  kFnShiftOver24h = 22,
  kBadParameter = 51,         // bad parameter value / number past the last
  kNotSupported = 55,         // command not supported
  kPrintBufferFull = 75,
  kWrongPassword = 79,
  kPrinting = 80,             // still printing the previous command
  kNoSuchTable = 93,          // no such table, row or field
  kNotInThisMode = 115,       // command not allowed in this mode
  kSerialAlreadySet = 116,    // the serial number can be written only once
};

}  // namespace zel::emu
