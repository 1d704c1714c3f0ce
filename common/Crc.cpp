#include "common/Crc.h"

namespace zel {

namespace {
std::uint16_t Crc16Msb(const std::uint8_t* data, std::size_t size, std::uint16_t poly, std::uint16_t crc) {
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= static_cast<std::uint16_t>(data[i] << 8);
    for (int bit = 0; bit < 8; ++bit)
      crc = (crc & 0x8000) ? static_cast<std::uint16_t>((crc << 1) ^ poly) : static_cast<std::uint16_t>(crc << 1);
  }
  return crc;
}
}  // namespace

std::uint16_t Crc16CcittFalse(const std::uint8_t* data, std::size_t size, std::uint16_t init) {
  return Crc16Msb(data, size, 0x1021, init);
}

std::uint16_t Crc16Cms(const std::uint8_t* data, std::size_t size) { return Crc16Msb(data, size, 0x8005, 0xFFFF); }

std::uint8_t Lrc(const std::uint8_t* data, std::size_t size, std::uint8_t init) {
  for (std::size_t i = 0; i < size; ++i) init ^= data[i];
  return init;
}

}  // namespace zel
