#pragma once
// Answer frames as the register writes them, one builder per framing.
#include <cstdint>

#include "common/Bytes.h"

namespace zel {

namespace enq {
inline constexpr std::uint8_t ENQ = 0x05, STX = 0x02, ACK = 0x06, NAK = 0x15;
inline constexpr std::size_t kMaxData = 255;
Bytes Frame(const Bytes& data);  // STX LEN DATA LRC; data must fit kMaxData
}  // namespace enq

namespace numbered {
inline constexpr std::uint8_t kStart = 0x8F, kEscape = 0x9F;
inline constexpr std::uint8_t kEscapedStart = 0x81, kEscapedEscape = 0x83;
inline constexpr std::size_t kMaxData = 0xFFFF - 2;
Bytes Frame(std::uint16_t number, const Bytes& data);  // start byte, then LEN FN DATA CRC stuffed
}  // namespace numbered

namespace multichannel {
inline constexpr std::uint8_t kPsel = 0x90, kPselAccepted = 0x91, kPselRefused = 0x15, kFrame = 0x82;
inline constexpr std::size_t kMaxData = 0xFFFF;
// 82 00 FN LEN DATA CRC; the CRC covers every byte between the 0x82 and itself.
Bytes AnswerFrame(std::uint8_t number, const Bytes& data);
}  // namespace multichannel

}  // namespace zel
