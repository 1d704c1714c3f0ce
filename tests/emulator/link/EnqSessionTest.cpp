// The register's side of the ENQ framing, driven by hand-made host bytes.
#include <gtest/gtest.h>

#include "tests/emulator/link/TestLink.h"

namespace zel::test {
namespace {

constexpr std::uint8_t ENQ = 0x05, ACK = 0x06, NAK = 0x15;
const Bytes kCommandFC{0x02, 0x01, 0xFC, 0xFD};
const Bytes kAnswerFC{0x02, 0x02, 0xFC, 0x00, 0xFE};

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

class EnqSession : public ::testing::Test {
 protected:
  TLinkFixture F{0};
  THostEnd& Host = F.Host;
};

TEST_F(EnqSession, FullExchangeReleasesAnswerOnAck) {
  Host.Write({ENQ});
  EXPECT_EQ(Host.Read(1), Bytes{NAK});
  Host.Write(kCommandFC);
  EXPECT_EQ(Host.Read(6), Join({{ACK}, kAnswerFC}));
  Host.Write({ACK});
  Host.Write({ENQ});
  EXPECT_EQ(Host.Read(1), Bytes{NAK});
  EXPECT_EQ(F.Device.Commands(), std::vector<Bytes>{{0xFC}});
}

TEST_F(EnqSession, EmptyCommandReachesTheHandler) {
  F.Device.SetAnswer({0x00, 0x37});
  Host.Write({0x02, 0x00, 0x00});
  EXPECT_EQ(Host.Read(6), (Bytes{ACK, 0x02, 0x02, 0x00, 0x37, 0x35}));
  EXPECT_EQ(F.Device.Commands(), std::vector<Bytes>{Bytes{}});
}

TEST_F(EnqSession, BadOrIncompleteFrameIsNakedAndNotRun) {
  Host.Write({0x02, 0x01, 0xFC, 0xFE});  // wrong LRC
  EXPECT_EQ(Host.Read(1), Bytes{NAK});
  Host.Write({0x02, 0x05, 0x11});  // stops after one data byte
  EXPECT_EQ(Host.Read(1, 2000), Bytes{NAK});
  EXPECT_TRUE(F.Device.Commands().empty());
  Host.Write(kCommandFC);  // the resent frame goes through
  EXPECT_EQ(Host.Read(6), Join({{ACK}, kAnswerFC}));
}

TEST_F(EnqSession, AnswerIsKeptUntilTheHostAcksIt) {
  Host.Write(kCommandFC);
  EXPECT_EQ(Host.Read(6), Join({{ACK}, kAnswerFC}));
  // The host missed the answer and asks again: ACK, then the same frame.
  for (int i = 0; i < 2; ++i) {
    Host.Write({ENQ});
    EXPECT_EQ(Host.Read(6), Join({{ACK}, kAnswerFC}));
  }
  Host.Write({ACK});
  Host.Write({ENQ});
  EXPECT_EQ(Host.Read(1), Bytes{NAK});
  EXPECT_EQ(F.Device.Commands().size(), 1u);
}

TEST_F(EnqSession, NakedAnswerIsResentAFewTimesOnly) {
  Host.Write(kCommandFC);
  EXPECT_EQ(Host.Read(6), Join({{ACK}, kAnswerFC}));
  for (int i = 0; i < 3; ++i) {
    Host.Write({NAK});
    EXPECT_EQ(Host.Read(5), kAnswerFC) << "resend " << i;
  }
  Host.Write({NAK});
  EXPECT_TRUE(Host.ReadQuiet().empty());
  Host.Write({ENQ});  // still held for the ENQ that follows
  EXPECT_EQ(Host.Read(6), Join({{ACK}, kAnswerFC}));
}

TEST_F(EnqSession, TooLongAnswerIsNotSentTruncated) {
  F.Device.SetAnswer(Bytes(300, 0x11));
  Host.Write(kCommandFC);
  EXPECT_EQ(Host.ReadQuiet(), Bytes{ACK});
  Host.Write({ENQ});
  EXPECT_EQ(Host.Read(1), Bytes{NAK});
}

TEST_F(EnqSession, NakAndSilenceSwitches) {
  F.Session->Faults().SetNakCount(2);
  for (int i = 0; i < 2; ++i) {
    Host.Write(kCommandFC);
    EXPECT_EQ(Host.Read(1), Bytes{NAK});
  }
  F.Session->Faults().SilenceCommands(1);
  Host.Write(kCommandFC);
  EXPECT_TRUE(Host.ReadQuiet().empty());
  Host.Write({ENQ});  // ENQ is still answered, the silenced command left nothing
  EXPECT_EQ(Host.Read(1), Bytes{NAK});
  EXPECT_TRUE(F.Device.Commands().empty());
  Host.Write(kCommandFC);
  EXPECT_EQ(Host.Read(6), Join({{ACK}, kAnswerFC}));
}

TEST_F(EnqSession, StaleAnswerOnIdleEnq) {
  Host.Write(kCommandFC);
  EXPECT_EQ(Host.Read(6), Join({{ACK}, kAnswerFC}));
  Host.Write({ACK});
  F.Session->Faults().SetStaleCount(1);
  Host.Write({ENQ});
  EXPECT_EQ(Host.Read(6), Join({{ACK}, kAnswerFC}));
  Host.Write({ACK});
  Host.Write({ENQ});
  EXPECT_EQ(Host.Read(1), Bytes{NAK});
  EXPECT_EQ(F.Device.Commands().size(), 1u);
}

}  // namespace
}  // namespace zel::test
