#include "testbench/core/util/TcpPortCode.h"

namespace zel {

std::uint8_t EncodeTCPPort(std::uint16_t port) {
  return static_cast<std::uint8_t>((((port & 0xF000u) >> 12) << 4) | (port & 0x0Fu));
}

std::uint16_t DecodeTCPPort(std::uint8_t code) {
  return static_cast<std::uint16_t>(((code & 0xF0u) << 8) | 0x30u | (code & 0x0Fu));
}

bool IsTCPPortEncodable(std::uint16_t port) { return DecodeTCPPort(EncodeTCPPort(port)) == port; }

}  // namespace zel
