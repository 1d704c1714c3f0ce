#pragma once
// Result codes and their Russian texts (gettext message ids; the driver
// translates them in the host program's domain).
//   < 0  link and driver codes, raised by the driver itself;
//   > 0  error bytes of device answers. The device must use these codes with
//        these meanings; 1..48, 121 and 160..172 are the FN's own codes and
//        pass through unchanged.
#include <string>
#include <vector>

namespace zel {

struct TErrorText {
  int Code;
  const char* Text;     // Russian message id
  const char* Meaning;  // English gloss for the reference
};

// Driver-side codes beyond those of common/DriverError.h.
enum DriverCode : int {
  kAnswerMismatch = -4,    // the answer carries another command code
  kAnswerTooShort = -5,    // the answer is shorter than its fields
  kBadValue = -6,          // a property value does not fit the command
  kNotSupported = -7,      // the method is not implemented by this driver version
  kServerUnavailable = -9, // no device server on ComputerName
  kBadConnectionType = -10,
  kPrintTimeout = -11,     // printing did not finish within ConnectionTimeout
  kNoSuchProperty = -12,
  kNoSuchMethod = -13,
  kEndOfDocuments = -41,
};

// Device error bytes the programs test.
enum DeviceCode : int {
  kDevNoData = 8,
  kDevBadParameter = 51,
  kDevNotSupported = 55,
  kDevReceiptOpen = 74,
  kDevPrintBufferFull = 75,
  kDevBusyPrinting = 80,
  kDevNoSuchTable = 93,
};

const std::vector<TErrorText>& LinkErrors();    // negative codes
const std::vector<TErrorText>& DeviceErrors();  // positive codes, FN codes included
const std::vector<TErrorText>& FNErrors();      // the FN's own codes only
inline constexpr const char* kTextSuccess = "Ошибок нет";
inline constexpr const char* kTextUnknownError = "Неизвестный код ошибки";

// Untranslated text of a result code: 0 success, known codes their text,
// anything else kTextUnknownError.
const char* ErrorText(int code);

}  // namespace zel
