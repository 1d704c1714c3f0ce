#pragma once
// Small text helpers shared by the pages. Text is UTF-8 in memory.
#include <cstdint>
#include <string>
#include <string_view>

namespace zel {

std::string BoolToYesNo(bool flag);                 // "[да]" / "[нет]"
std::string GetBitStr(std::int64_t value, int bit);  // BoolToYesNo of the bit

std::string GetINN(std::string_view inn);                    // the text, or "не задан"
std::string GetRNM(std::string_view rnm);                    // the text, or "не задан"
std::string GetSerialNumber(std::string_view serialNumber);  // the text, or "не введен"

// The first n characters of s; a shorter s gets "0" characters in front up to n.
std::string AddLeadingZeros(std::string_view s, int n);

// Device text in code page 866 as UTF-8. Printable pseudo-graphics keep their
// shapes; bytes below 0x80 pass unchanged.
std::string Str866To1251(std::string_view cp866);

// Characters (code points) in UTF-8 text (continuation bytes are not counted).
std::size_t Utf8Length(std::string_view text);
// The text followed by blanks up to `width` characters; never cut.
std::string PadRight(std::string_view text, std::size_t width);

}  // namespace zel
