// The register's side of the multichannel framing.
#include <gtest/gtest.h>

#include "tests/emulator/link/TestLink.h"

namespace zel::test {
namespace {

const Bytes kCommand2{0x82, 0x02, 0x01, 0x00, 0xFC, 0x38, 0x2A};              // FN 2: FC
const Bytes kAnswer2{0x82, 0x00, 0x02, 0x02, 0x00, 0xFC, 0x00, 0x27, 0xA0};   // FN 2: FC 00
const Bytes kCommand3{0x82, 0x03, 0x01, 0x00, 0x11, 0x55, 0xBC};              // FN 3: 11

class MultichannelSession : public ::testing::Test {
 protected:
  TLinkFixture F{2};
  THostEnd& Host = F.Host;
};

TEST_F(MultichannelSession, PselThenCommand) {
  Host.Write({0x90});
  EXPECT_EQ(Host.Read(1), Bytes{0x91});
  Host.Write(kCommand2);
  EXPECT_EQ(Host.ReadQuiet(), kAnswer2);
  Host.Write(kCommand3);
  EXPECT_EQ(Host.ReadQuiet(), (Bytes{0x82, 0x00, 0x03, 0x02, 0x00, 0x11, 0x00, 0x53, 0xCE}));
  EXPECT_EQ(F.Device.Commands(), (std::vector<Bytes>{{0xFC}, {0x11}}));
}

TEST_F(MultichannelSession, PselCanBeRefusedOrIgnored) {
  const std::pair<EPselMode, Bytes> cases[] = {
      {EPselMode::Refuse, {0x15}}, {EPselMode::Silent, {}}, {EPselMode::Accept, {0x91}}};
  for (const auto& [mode, reply] : cases) {
    F.Session->Faults().SetPselMode(mode);
    Host.Write({0x90});
    EXPECT_EQ(Host.ReadQuiet(), reply) << static_cast<int>(mode);
  }
}

TEST_F(MultichannelSession, DamagedOrShortFramesGetNoAnswer) {
  Host.Write({0x82, 0x02, 0x01, 0x00, 0xFC, 0x38, 0x2B});  // CRC
  EXPECT_TRUE(Host.ReadQuiet().empty());
  Host.Write({0x82, 0x02, 0x05, 0x00, 0xFC});  // body never completes
  EXPECT_TRUE(Host.ReadQuiet(500).empty());
  EXPECT_TRUE(F.Device.Commands().empty());
  Host.Write(kCommand2);
  EXPECT_EQ(Host.ReadQuiet(), kAnswer2);
}

TEST_F(MultichannelSession, StaleAndSilentSwitches) {
  Host.Write(kCommand2);
  EXPECT_EQ(Host.ReadQuiet(), kAnswer2);
  F.Session->Faults().SetStaleCount(1);
  Host.Write(kCommand3);
  EXPECT_EQ(Host.ReadQuiet(), kAnswer2);  // frame number 2 where 3 was asked
  F.Session->Faults().SilenceCommands(1);
  Host.Write(kCommand3);
  EXPECT_TRUE(Host.ReadQuiet().empty());
  EXPECT_EQ(F.Device.Commands().size(), 1u);
}

}  // namespace
}  // namespace zel::test
