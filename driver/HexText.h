#pragma once
// Bytes as hexadecimal text: the driver writes upper-case pairs separated by
// one blank and reads either case, with or without blanks between pairs.
#include <string>

#include "common/Bytes.h"

namespace zel {

std::string BytesToHex(const Bytes& data);
std::string BytesToHex(const std::string& data);
// Blank-separated tokens; a token of one digit is one byte, longer tokens are
// read as pairs ("01 2 ff", "0102ff"). False on any other character or an odd
// token longer than one digit.
bool HexToBytes(const std::string& text, Bytes& out);

}  // namespace zel
