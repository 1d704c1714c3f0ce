#pragma once
// Device bytes as hexadecimal text.
#include <string>
#include <string_view>

#include "common/Bytes.h"

namespace zel {

// Two digits per byte, high digit first; 0-9, A-F, a-f. An odd last character
// is ignored; any other character raises "Неверный формат данных".
Bytes HexDecode(std::string_view text);
// Two lower-case digits per byte, no separators.
std::string HexEncode(const Bytes& data);

}  // namespace zel
