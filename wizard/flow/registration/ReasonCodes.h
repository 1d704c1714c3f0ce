#pragma once
// Extended reasons for changing the register's registration data (FFD 1.2):
// bit n of the set is reason n+1.
#include <cstdint>
#include <string>
#include <vector>

namespace zel {

struct TReasonCode {
  int Bit;
  const char* Caption;  // message id
};

const std::vector<TReasonCode>& ReasonCodes();
// The bits a reason set may carry.
std::uint32_t DefinedReasonBits();
// Parses the decimal text of a reason set; false for anything but a number of
// 0..4294967295 made only of defined bits.
bool ParseReasonCodes(const std::string& text, std::uint32_t& value);

}  // namespace zel
