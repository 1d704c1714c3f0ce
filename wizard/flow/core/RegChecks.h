#pragma once
// Check digits of the taxpayer number (INN) and of the register's registration number (RNM).
#include <string>

namespace zel {

// Check digit over the first n-1 digits of an INN (n = 10, 11 or 12); -1 when the text is too short
// or not digits.
int INNCheckDigit(int n, const std::string& text);
// A 10-digit INN with a right 10th digit, or a 12-digit one with right 11th and 12th digits.
bool IsValidINN(const std::string& text);

// Number padded to 10 digits followed by the 6-digit CRC over the padded number, INN (12) and serial (20).
std::string MakeRNM(const std::string& number, const std::string& inn, const std::string& serial);
// True when the first 10 characters of rnm give back exactly rnm with this INN and serial.
bool IsValidRNM(const std::string& rnm, const std::string& inn, const std::string& serial);

}  // namespace zel
