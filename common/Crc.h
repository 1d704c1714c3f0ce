#pragma once
// Checksums of the device frames, notifications and registration numbers.
#include <cstddef>
#include <cstdint>

#include "common/Bytes.h"

namespace zel {

// CRC-16/CCITT-FALSE: poly 0x1021, init 0xFFFF, no reflection, no final xor.
std::uint16_t Crc16CcittFalse(const std::uint8_t* data, std::size_t size, std::uint16_t init = 0xFFFF);
inline std::uint16_t Crc16CcittFalse(const Bytes& data) { return Crc16CcittFalse(data.data(), data.size()); }

// CRC-16/CMS: poly 0x8005, init 0xFFFF, no reflection, no final xor.
std::uint16_t Crc16Cms(const std::uint8_t* data, std::size_t size);
inline std::uint16_t Crc16Cms(const Bytes& data) { return Crc16Cms(data.data(), data.size()); }

// XOR of every byte, starting from init.
std::uint8_t Lrc(const std::uint8_t* data, std::size_t size, std::uint8_t init = 0);

}  // namespace zel
