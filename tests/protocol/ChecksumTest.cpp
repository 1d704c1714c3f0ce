// Check values of the frame checksums.
#include <gtest/gtest.h>

#include <cstring>

#include "common/Crc.h"

namespace zel {
namespace {

TEST(FrameChecksums, CheckValuesOf123456789) {
  const char* text = "123456789";
  const auto* data = reinterpret_cast<const std::uint8_t*>(text);
  EXPECT_EQ(Crc16CcittFalse(data, std::strlen(text)), 0x29B1);
  EXPECT_EQ(Crc16Cms(data, std::strlen(text)), 0xAEE7);
  EXPECT_EQ(Lrc(data, 2, 0), 0x31 ^ 0x32);
}

}  // namespace
}  // namespace zel
