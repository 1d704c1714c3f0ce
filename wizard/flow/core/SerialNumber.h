#pragma once
// The register's factory serial number as an operator types or scans it.
#include <string>

namespace zel {

// The third part of a scanned text whose parts are separated by ";" (blanks and control
// characters also separate, a part in double quotes may hold them); the text itself
// when it has fewer than three parts.
std::string SerialPart(const std::string& text);
// A serial counts as entered unless it is empty or all "0".
bool IsSerialEntered(const std::string& serial);
// A serial that may be written: 1..20 digits, not all zeros.
bool IsWritableSerial(const std::string& serial);

}  // namespace zel
