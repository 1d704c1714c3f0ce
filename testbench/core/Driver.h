#pragma once
// The test bench's one driver instance and the silent abort that ends a button
// handler when a driver call fails (the code stays in ResultCode and is shown
// by the result line).
#include <exception>

#include "driver/Zelvox.h"

namespace zel {

// Silent abort: a page handler catches it and shows nothing.
class EAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "Operation aborted"; }
};

// Raises EAbort when resultCode is not 0.
void Check(int resultCode);

class TDriver : public TZelvox {
 public:
  static void Check(int resultCode) { zel::Check(resultCode); }
};

// The instance, created on first use. A failed creation raises
// std::runtime_error with "Ошибка создания объекта драйвера: " in front of the
// cause; the next call tries again.
TDriver& Driver();
bool DriverExists();
// Destroys the instance; the next Driver() makes a new one.
void FreeDriver();

}  // namespace zel
