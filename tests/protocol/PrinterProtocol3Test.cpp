// The multichannel engine against a scripted line.
#include "server/protocol/PrinterProtocol3.h"

#include <gtest/gtest.h>

#include <memory>

#include "common/Crc.h"
#include "common/DriverError.h"
#include "tests/protocol/DeviceFrames.h"
#include "tests/protocol/ScriptedPort.h"

namespace zel {
namespace {

using test::Concat;
using test::MultichannelAnswer;
using test::ScriptedPort;

constexpr std::uint8_t PSEL = 0x90, ACCEPTED = 0x91;
const Bytes kCommand{0x11, 0x1E, 0x00, 0x00, 0x00};
const Bytes kAnswer{0x11, 0x00, 0x05};

class MultichannelProtocol : public ::testing::Test {
 protected:
  MultichannelProtocol() {
    params->Timeout = 50;
    rec.Command = kCommand;
    rec.Timeout = 2000;
  }
  void MarkOutputs() {
    rec.Answer = {0xAA};
    rec.TxData = {0xBB};
    rec.RxData = {0xCC};
  }
  void ExpectOutputsKept() const {
    EXPECT_EQ(rec.Answer, Bytes{0xAA});
    EXPECT_EQ(rec.TxData, Bytes{0xBB});
    EXPECT_EQ(rec.RxData, Bytes{0xCC});
  }

  std::shared_ptr<ScriptedPort> port = std::make_shared<ScriptedPort>();
  std::shared_ptr<TConnectionParams> params = std::make_shared<TConnectionParams>();
  TPrinterProtocol3 engine{port, params};
  TCommandRec rec;
};

TEST_F(MultichannelProtocol, ExchangeSelectsProtocolSendsFrameTwoAndReadsTheAnswer) {
  const Bytes answer = MultichannelAnswer(2, kAnswer);
  port->Feed({ACCEPTED}).Feed(answer);
  engine.Send(rec);

  Bytes covered{0x02, 0x05, 0x00};
  covered.insert(covered.end(), kCommand.begin(), kCommand.end());
  const std::uint16_t crc = Crc16Cms(covered);
  const Bytes frame = Concat({{0x82}, covered, {static_cast<std::uint8_t>(crc), static_cast<std::uint8_t>(crc >> 8)}});
  EXPECT_EQ(port->Writes(), (std::vector<Bytes>{{PSEL}, frame}));
  EXPECT_EQ(rec.TxData, frame);
  EXPECT_EQ(rec.Answer, kAnswer);
  EXPECT_EQ(rec.RxData, answer);
  EXPECT_EQ(port->Timeouts(), std::vector<std::uint32_t>{50});  // the command's own timeout is not used
}

TEST_F(MultichannelProtocol, FrameNumberRunsFrom2To255ThenStartsAt1) {
  // Failed exchanges advance the number too: PSEL accepted, then silence.
  for (int n = 2; n <= 255; ++n) {
    port->Feed({ACCEPTED});
    EXPECT_THROW(engine.Send(rec), EDriverError);
    ASSERT_EQ(port->Writes().back()[1], n);
  }
  port->Feed({ACCEPTED}).Feed(MultichannelAnswer(1, kAnswer));
  engine.Send(rec);
  EXPECT_EQ(rec.TxData[1], 1);
  EXPECT_EQ(rec.Answer, kAnswer);
}

TEST_F(MultichannelProtocol, DeviceRefusingPselGetsNoCommand) {
  for (const Bytes& reply : {Bytes{}, Bytes{0x15}}) {
    port = std::make_shared<ScriptedPort>();
    TPrinterProtocol3 fresh(port, params);
    port->Feed(reply);
    MarkOutputs();
    try {
      fresh.Send(rec);
      FAIL() << "no error";
    } catch (const EDriverError&) {
      FAIL() << "a plain error is expected";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), "Многоканальный протокол не поддерживается.");
    }
    EXPECT_EQ(port->Writes(), std::vector<Bytes>{{PSEL}});
    ExpectOutputsKept();
  }
}

TEST_F(MultichannelProtocol, NoValidAnswerIsNoLinkNeverThePreviousAnswer) {
  const Bytes good = MultichannelAnswer(2, kAnswer);
  Bytes badCrc = good;
  badCrc.back() ^= 0x40;
  Bytes wrongStart = good;
  wrongStart[0] = 0x83;
  Bytes wrongChannel = good;
  wrongChannel[1] = 0x01;
  const struct {
    const char* what;
    Bytes answer;
  } cases[] = {
      {"silence", {}},
      {"wrong start byte", wrongStart},
      {"non-zero second byte", wrongChannel},
      {"frame number of another command", MultichannelAnswer(3, kAnswer)},
      {"LEN 0", MultichannelAnswer(2, {})},
      {"body cut short", Bytes(good.begin(), good.begin() + 6)},
      {"CRC missing", Bytes(good.begin(), good.end() - 2)},
      {"CRC mismatch", badCrc},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    port = std::make_shared<ScriptedPort>();
    TPrinterProtocol3 fresh(port, params);
    port->Feed({ACCEPTED}).Feed(c.answer);
    MarkOutputs();
    try {
      fresh.Send(rec);
      FAIL() << "no error";
    } catch (const EDriverError& e) {
      EXPECT_EQ(e.ErrorCode(), kNoLink);
    }
    ExpectOutputsKept();
  }
}

TEST_F(MultichannelProtocol, AcceptsAChecksumThatAlsoCoversTheChannelByte) {
  Bytes covered{0x00, 0x02, 0x03, 0x00};
  covered.insert(covered.end(), kAnswer.begin(), kAnswer.end());
  const std::uint16_t crc = Crc16Cms(covered);
  const Bytes answer = Concat({{0x82}, covered, {static_cast<std::uint8_t>(crc), static_cast<std::uint8_t>(crc >> 8)}});
  port->Feed({ACCEPTED}).Feed(answer);
  engine.Send(rec);
  EXPECT_EQ(rec.Answer, kAnswer);
}

}  // namespace
}  // namespace zel
