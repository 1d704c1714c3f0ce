#pragma once
// Money amounts typed by the user and amounts shown to the user.
#include <string>
#include <string_view>

namespace zel {

// The largest amount a field accepts (the device keeps five-byte kopecks).
inline constexpr double kMaxSumm = 10995116277.0;

// Reads an amount: "," is taken as the decimal point, blanks are ignored
// ("1 234,567" gives 1234.57), the value is rounded to kopecks. Anything that
// is not a finite number, or is above kMaxSumm, throws std::runtime_error with
// "Некорректное значение в поле", a line break and the field name in quotes.
double GetSumm(std::string_view text, std::string_view fieldName);

// Throws std::runtime_error ("Некорректное значение в поле" "<field>") when the
// text is longer than 1024 characters; accepts anything else.
void CheckIntStr(std::string_view text, std::string_view fieldName);

// With pointPosition: two decimals with the given separator; without: the
// whole part only, cut toward zero (13.99 gives "13").
std::string AmountToStr(double value, bool pointPosition, char decimalSeparator = '.');

}  // namespace zel
