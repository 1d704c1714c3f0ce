#pragma once
// Byte strings as hexadecimal text, little-endian integers, bits and rounding.
#include <cstdint>
#include <string>
#include <string_view>

#include "common/Bytes.h"

namespace zel {

// "01 AB FF": two upper-case digits a byte, one blank between, none at the end.
std::string BytesToHex(const Bytes& data);
// Lenient reader of typed hex: "01 2 ff" and "0102" both work; reading stops
// quietly at the first token that is not hex and keeps what came before.
Bytes HexToBytes(std::string_view text);
// The same two conversions on one-byte strings.
std::string StrToHex(std::string_view data);
std::string HexToStr(std::string_view text);
// Each byte as two upper-case digits, each followed by a blank when `spaces`.
std::string StrToHex(std::string_view data, bool spaces);

// `count` bytes from the 1-based `index`, little-endian; 0 when the range is
// not wholly inside the data or count is not 1..8.
std::int64_t BinToInt(const Bytes& data, int index, int count);
std::int64_t BinToInt(std::string_view data, int index, int count);
// The low `count` bytes (1..8) of value, little-endian; empty for any other count.
Bytes IntToBin(std::int64_t value, int count);

void SetBit(std::uint8_t& value, int bit);
bool TestBit(std::int64_t value, int bit);  // bit 0 is the lowest; false outside 0..63

// Rounds to a multiple of step, halves away from zero. A step of 0 (or not
// finite) leaves the value as it is.
double ExRound(double value, double step);

}  // namespace zel
