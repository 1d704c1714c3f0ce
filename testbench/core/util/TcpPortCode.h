#pragma once
// The device keeps its TCP port in one byte: the high nibble of the port's top
// hex digit and its lowest digit; the middle digits are always 0 and 3, so
// only ports of the form 0xH03L survive the trip (code 0x12 is port 0x1032).
#include <cstdint>

namespace zel {

std::uint8_t EncodeTCPPort(std::uint16_t port);
std::uint16_t DecodeTCPPort(std::uint8_t code);
// True when the one-byte code gives the same port back.
bool IsTCPPortEncodable(std::uint16_t port);

}  // namespace zel
