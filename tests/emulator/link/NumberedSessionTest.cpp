// The register's side of the numbered, byte-stuffed framing.
#include <gtest/gtest.h>

#include "tests/emulator/link/TestLink.h"

namespace zel::test {
namespace {

const Bytes kSync{0x8F, 0x00, 0x00, 0x0F, 0x1D};
const Bytes kCommand1{0x8F, 0x03, 0x00, 0x01, 0x00, 0xFC, 0x7D, 0xE6};        // FN 1: FC
const Bytes kAnswer1{0x8F, 0x04, 0x00, 0x01, 0x00, 0xFC, 0x00, 0xA9, 0x28};    // FN 1: FC 00

class NumberedSession : public ::testing::Test {
 protected:
  static TSessionOptions StartingAt(std::uint16_t number) {
    TSessionOptions o;
    o.FrameNumber = number;
    return o;
  }
  TLinkFixture F{1, StartingAt(0x1234)};
  THostEnd& Host = F.Host;
};

TEST_F(NumberedSession, SyncReportsTheCurrentFrameNumber) {
  Host.Write(kSync);
  EXPECT_EQ(Host.ReadQuiet(), (Bytes{0x8F, 0x02, 0x00, 0x34, 0x12, 0x8A, 0x92}));
  Host.Write(kCommand1);
  EXPECT_EQ(Host.ReadQuiet(), kAnswer1);
  Host.Write(kSync);  // now the number of the frame just served
  EXPECT_EQ(Host.ReadQuiet(), (Bytes{0x8F, 0x02, 0x00, 0x01, 0x00, 0x99, 0x5A}));
}

TEST_F(NumberedSession, RepeatedNumberResendsWithoutRunningAgain) {
  Host.Write(kCommand1);
  EXPECT_EQ(Host.ReadQuiet(), kAnswer1);
  Host.Write(kCommand1);
  EXPECT_EQ(Host.ReadQuiet(), kAnswer1);
  EXPECT_EQ(F.Device.Commands().size(), 1u);
}

TEST_F(NumberedSession, StuffedBytesInDataNumberAndCrc) {
  // FN 2, data FC 8F 9F: both special bytes stuffed, LEN counts them once.
  Host.Write({0x8F, 0x05, 0x00, 0x02, 0x00, 0xFC, 0x9F, 0x81, 0x9F, 0x83, 0x29, 0x23});
  EXPECT_EQ(Host.ReadQuiet(),
            (Bytes{0x8F, 0x06, 0x00, 0x02, 0x00, 0xFC, 0x00, 0x9F, 0x81, 0x9F, 0x83, 0x3A, 0x93}));
  // FN 0x9F8F: both number bytes stuffed.
  Host.Write({0x8F, 0x03, 0x00, 0x9F, 0x81, 0x9F, 0x83, 0x11, 0x70, 0xE2});
  EXPECT_EQ(Host.ReadQuiet(), (Bytes{0x8F, 0x04, 0x00, 0x9F, 0x81, 0x9F, 0x83, 0x11, 0x00, 0x2D, 0x65}));
  EXPECT_EQ(F.Device.Commands(), (std::vector<Bytes>{{0xFC, 0x8F, 0x9F}, {0x11}}));
}

TEST_F(NumberedSession, DamagedFramesGetNoAnswer) {
  const Bytes damaged[] = {
      {0x8F, 0x03, 0x00, 0x01, 0x00, 0xFC, 0x7D, 0xE7},              // CRC
      {0x8F, 0x03, 0x00, 0x01, 0x00, 0x9F, 0x00, 0x7D, 0xE6},        // invalid escape
      {0x8F, 0x01, 0x00, 0x01, 0x00, 0x00},                          // LEN below 2
      {0x8F, 0x00, 0x00, 0x0F, 0x1E},                                // sync with a bad CRC
  };
  for (const auto& frame : damaged) {
    Host.Write(frame);
    EXPECT_TRUE(Host.ReadQuiet().empty());
  }
  EXPECT_TRUE(F.Device.Commands().empty());
}

TEST_F(NumberedSession, StartByteInsideAFrameBeginsANewOne) {
  Bytes line{0x55, 0x8F, 0x03, 0x00, 0x07};  // noise, then a frame cut short
  line.insert(line.end(), kCommand1.begin(), kCommand1.end());
  Host.Write(line);
  EXPECT_EQ(Host.ReadQuiet(), kAnswer1);
  EXPECT_EQ(F.Device.Commands(), std::vector<Bytes>{{0xFC}});
}

TEST_F(NumberedSession, StaleAnswerCarriesThePreviousNumber) {
  Host.Write(kCommand1);
  EXPECT_EQ(Host.ReadQuiet(), kAnswer1);
  F.Session->Faults().SetStaleCount(1);
  Host.Write({0x8F, 0x03, 0x00, 0x02, 0x00, 0xFC, 0x2D, 0xBF /* FN 2 */});
  const Bytes stale = Host.ReadQuiet();
  EXPECT_EQ(stale, kAnswer1);
  EXPECT_EQ(F.Device.Commands().size(), 1u);
}

TEST(NumberedSessionFresh, StaleBeforeAnyAnswerUsesTheNumberBefore) {
  TLinkFixture f(1);
  f.Session->Faults().SetStaleCount(1);
  f.Host.Write(kCommand1);
  EXPECT_EQ(f.Host.ReadQuiet(), (Bytes{0x8F, 0x02, 0x00, 0x00, 0x00, 0xA8, 0x69}));
  EXPECT_TRUE(f.Device.Commands().empty());
}

}  // namespace
}  // namespace zel::test
