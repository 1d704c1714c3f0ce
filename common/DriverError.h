#pragma once
// EDriverError: a driver result code with its text, raised wherever a link
// fails and turned back into a result code at the program boundary.
#include <stdexcept>
#include <string>

namespace zel {

// Link result codes of the system itself (device codes are positive).
enum LinkCode : int {
  kNoLink = -1,           // "Нет связи"
  kPortUnavailable = -2,  // "СOM порт недоступен"
  kPortBusy = -3,         // "СOM порт занят другим приложением"
  kOtherFailure = -8,
  kPortLocked = -18,      // "Порт заблокирован"
};

// Message ids (Russian, translated through the current text domain).
// The two port texts begin with the Cyrillic letter С (U+0421), then Latin "OM".
inline constexpr const char* kTextNoLink = "Нет связи";
inline constexpr const char* kTextPortUnavailable = "\u0421OM порт недоступен";
inline constexpr const char* kTextPortBusy = "\u0421OM порт занят другим приложением";

class EDriverError : public std::runtime_error {
 public:
  EDriverError(int code, const std::string& message)
      : std::runtime_error(message), FErrorCode(code), FWideMessage(message) {}
  static EDriverError Create2(int code, const std::string& message) { return {code, message}; }

  int ErrorCode() const noexcept { return FErrorCode; }
  const std::string& WideMessage() const noexcept { return FWideMessage; }

 private:
  int FErrorCode;
  std::string FWideMessage;
};

// Raise -1 / -2 / -3 with their translated texts.
[[noreturn]] void RaiseNoLink();
[[noreturn]] void RaisePortUnavailable();
[[noreturn]] void RaisePortBusy();

}  // namespace zel
