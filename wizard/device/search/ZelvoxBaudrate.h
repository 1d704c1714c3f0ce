#pragma once
// Bit rates and the driver's BaudRate codes (0 = 2400 ... 9 = 921600).
namespace zel {

class TZelvoxBaudrate {
 public:
  // Unknown rates (115200 among them) give 6.
  static int BaudrateToCode(int baudrate);
  // Unknown codes (6 among them) give 115200.
  static int CodeToBaudrate(int code);
};

}  // namespace zel
