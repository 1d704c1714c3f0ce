#pragma once
// Answer frames as a register puts them on the line, built independently of
// the engines so that tests compare against the wire format, not the code.
#include <cstdint>

#include "common/Bytes.h"
#include "common/Crc.h"

namespace zel::test {

// STX, LEN, DATA, LRC.
inline Bytes EnqFrame(const Bytes& data) {
  Bytes f{0x02, static_cast<std::uint8_t>(data.size())};
  std::uint8_t lrc = static_cast<std::uint8_t>(data.size());
  for (std::uint8_t b : data) {
    f.push_back(b);
    lrc ^= b;
  }
  f.push_back(lrc);
  return f;
}

// 0x8F, then LEN (DATA + 2), FN, DATA and CRC-16/CCITT-FALSE, all stuffed.
// `len` overrides LEN for malformed frames.
inline Bytes NumberedFrame(unsigned fn, const Bytes& data, int len = -1) {
  const unsigned l = len < 0 ? static_cast<unsigned>(data.size() + 2) : static_cast<unsigned>(len);
  Bytes body{static_cast<std::uint8_t>(l), static_cast<std::uint8_t>(l >> 8), static_cast<std::uint8_t>(fn),
             static_cast<std::uint8_t>(fn >> 8)};
  body.insert(body.end(), data.begin(), data.end());
  const std::uint16_t crc = Crc16CcittFalse(body);
  body.push_back(static_cast<std::uint8_t>(crc));
  body.push_back(static_cast<std::uint8_t>(crc >> 8));
  Bytes f{0x8F};
  for (std::uint8_t b : body) {
    if (b == 0x8F || b == 0x9F) {
      f.push_back(0x9F);
      f.push_back(b == 0x8F ? 0x81 : 0x83);
    } else {
      f.push_back(b);
    }
  }
  return f;
}

// 0x82, 0x00, FN, LEN, DATA, CRC-16/CMS over FN, LEN and DATA.
inline Bytes MultichannelAnswer(std::uint8_t fn, const Bytes& data) {
  Bytes covered{fn, static_cast<std::uint8_t>(data.size()), static_cast<std::uint8_t>(data.size() >> 8)};
  covered.insert(covered.end(), data.begin(), data.end());
  const std::uint16_t crc = Crc16Cms(covered);
  Bytes f{0x82, 0x00};
  f.insert(f.end(), covered.begin(), covered.end());
  f.push_back(static_cast<std::uint8_t>(crc));
  f.push_back(static_cast<std::uint8_t>(crc >> 8));
  return f;
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

}  // namespace zel::test
