#include "wizard/device/search/ZelvoxBaudrate.h"

#include <iterator>

namespace zel {

namespace {
constexpr int kRates[] = {2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600};
constexpr int kDefaultCode = 6;
}  // namespace

int TZelvoxBaudrate::BaudrateToCode(int baudrate) {
  for (int code = 0; code < static_cast<int>(std::size(kRates)); ++code)
    if (kRates[code] == baudrate) return code;
  return kDefaultCode;
}

int TZelvoxBaudrate::CodeToBaudrate(int code) {
  if (code < 0 || code >= static_cast<int>(std::size(kRates))) return kRates[kDefaultCode];
  return kRates[code];
}

}  // namespace zel
