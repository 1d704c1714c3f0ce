// The ENQ/ACK/NAK engine against a scripted line.
#include "server/protocol/PrinterProtocol.h"

#include <gtest/gtest.h>

#include <memory>

#include "common/DriverError.h"
#include "tests/protocol/DeviceFrames.h"
#include "tests/protocol/ScriptedPort.h"

namespace zel {
namespace {

using test::Concat;
using test::EnqFrame;
using test::ScriptedPort;

constexpr std::uint8_t ENQ = 0x05, ACK = 0x06, NAK = 0x15;
const Bytes kCommand{0xFC};
const Bytes kCommandFrame{0x02, 0x01, 0xFC, 0xFD};
const Bytes kAnswer{0xFC, 0x00, 0x01, 0x02};

class EnqProtocol : public ::testing::Test {
 protected:
  EnqProtocol() {
    params->Timeout = 50;
    rec.Command = kCommand;
    rec.Timeout = 3000;
  }
  // A record whose outputs must survive a failed exchange.
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
  int SendCode() {
    try {
      engine.Send(rec);
    } catch (const EDriverError& e) {
      return e.ErrorCode();
    }
    return 0;
  }
  int CommandWrites() const {
    int n = 0;
    for (const Bytes& w : port->Writes()) n += w == rec.TxData || w == kCommandFrame;
    return n;
  }

  std::shared_ptr<ScriptedPort> port = std::make_shared<ScriptedPort>();
  std::shared_ptr<TConnectionParams> params = std::make_shared<TConnectionParams>();
  TPrinterProtocol engine{port, params};
  TCommandRec rec;
};

TEST_F(EnqProtocol, EncodesLengthBodyAndXorChecksum) {
  EXPECT_EQ(engine.Encode({0xFC}), (Bytes{0x02, 0x01, 0xFC, 0xFD}));
  EXPECT_EQ(engine.Encode({}), (Bytes{0x02, 0x00, 0x00}));
  EXPECT_EQ(engine.Encode({0x11, 0x1E, 0x00, 0x00, 0x00}), (Bytes{0x02, 0x05, 0x11, 0x1E, 0x00, 0x00, 0x00, 0x0A}));
  EXPECT_EQ(engine.Encode(Bytes(255, 0x01)).size(), 258u);
}

TEST_F(EnqProtocol, ExchangeWritesEnqFrameAndAcknowledgesTheAnswer) {
  const Bytes answerFrame = EnqFrame(kAnswer);
  port->Feed({NAK, ACK}).Feed(answerFrame);
  engine.Send(rec);

  EXPECT_EQ(rec.Answer, kAnswer);
  EXPECT_EQ(rec.TxData, kCommandFrame);
  EXPECT_EQ(rec.RxData, answerFrame);
  EXPECT_EQ(port->Writes(), (std::vector<Bytes>{{ENQ}, kCommandFrame, {ACK}}));
  // Link timeout for the handshake, the command's own for the answer head, link timeout for the body.
  EXPECT_EQ(port->Timeouts(), (std::vector<std::uint32_t>{50, 3000, 50}));
  EXPECT_EQ(port->Remaining(), 0u);
}

TEST_F(EnqProtocol, StaleAnswerIsAcknowledgedAndDroppedBeforeTheCommand) {
  const Bytes stale = EnqFrame({0x10, 0x00});
  port->Feed({ACK}).Feed(stale).Feed({NAK, ACK}).Feed(EnqFrame(kAnswer));
  engine.Send(rec);

  EXPECT_EQ(rec.Answer, kAnswer);
  EXPECT_EQ(rec.RxData, EnqFrame(kAnswer));  // the stale frame is not part of this exchange
  EXPECT_EQ(port->Writes(), (std::vector<Bytes>{{ENQ}, {ACK}, {ENQ}, kCommandFrame, {ACK}}));
}

// Bytes the device sends after ENQ before it says NAK; a control byte search gives up
// after three non-control bytes, and the engine then reconnects and asks again.
TEST_F(EnqProtocol, LineNoiseBeforeAControlByte) {
  struct Case {
    Bytes noise;
    int reconnects;
  } cases[] = {
      {{0xFF}, 0},                    // one 0xFF is skipped without costing a try
      {{0xFF, 0x00, 0x00}, 0},        // 0xFF 00 is one try, 00 another, NAK the third
      {{0xFF, 0xFF, 0x00, 0x00}, 1},  // two 0xFF cost a try of their own
      {{0x00, 0x00, 0x00}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ScriptedPort::Hex(c.noise));
    port = std::make_shared<ScriptedPort>();
    TPrinterProtocol fresh(port, params);
    port->Feed(c.noise).Feed({NAK, ACK}).Feed(EnqFrame(kAnswer));
    fresh.Send(rec);
    EXPECT_EQ(rec.Answer, kAnswer);
    EXPECT_EQ(port->Count("Close"), c.reconnects);
    EXPECT_EQ(port->Count("Open"), c.reconnects);
  }
}

TEST_F(EnqProtocol, FailuresRaiseNoLinkAndKeepTheRecord) {
  struct Case {
    const char* what;
    Bytes script;
    int commandWrites;
  } cases[] = {
      {"NAK to every frame", {NAK, NAK, NAK, NAK, NAK}, 4},
      {"ENQ in place of ACK", {NAK, ENQ}, 1},
      {"device silent after the frame", {NAK}, 1},
      {"no answer, then NAK to answer-mode ENQ", {NAK, ACK, 0x00, NAK}, 1},
      {"device silent from the start", {}, 0},
      {"stale answers without end", Concat({{ACK}, EnqFrame({1}), {ACK}, EnqFrame({1}), {ACK}, EnqFrame({1}), {ACK},
                                            EnqFrame({1}), {ACK}, EnqFrame({1}), {ACK}, EnqFrame({1})}),
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    port = std::make_shared<ScriptedPort>();
    TPrinterProtocol fresh(port, params);
    port->Feed(c.script);
    MarkOutputs();
    EXPECT_THROW(
        {
          try {
            fresh.Send(rec);
          } catch (const EDriverError& e) {
            EXPECT_EQ(e.ErrorCode(), kNoLink);
            throw;
          }
        },
        EDriverError);
    ExpectOutputsKept();
    int writes = 0;
    for (const Bytes& w : port->Writes()) writes += w == kCommandFrame;
    EXPECT_EQ(writes, c.commandWrites);
  }
}

TEST_F(EnqProtocol, ThreeNaksThenAckStillSucceeds) {
  port->Feed({NAK, NAK, NAK, NAK, ACK}).Feed(EnqFrame(kAnswer));
  engine.Send(rec);
  EXPECT_EQ(rec.Answer, kAnswer);
  EXPECT_EQ(CommandWrites(), 4);
}

TEST_F(EnqProtocol, SilentDeviceGetsFiveEnqsWithReconnectsEvenWhenReopenFails) {
  port->FailNextOpens(100);
  EXPECT_EQ(SendCode(), kNoLink);
  EXPECT_EQ(port->Writes(), std::vector<Bytes>(5, Bytes{ENQ}));
  EXPECT_EQ(port->Count("Close"), 5);
}

TEST_F(EnqProtocol, EnqInReplyDrainsTheLineWithAShortTimeout) {
  port->Feed({ENQ, 0x33, 0x44}).Silence().Feed({NAK, ACK}).Feed(EnqFrame(kAnswer));
  engine.Send(rec);
  EXPECT_EQ(rec.Answer, kAnswer);
  EXPECT_EQ(port->Timeouts(), (std::vector<std::uint32_t>{50, 100, 50, 3000, 50}));
  EXPECT_EQ(port->Writes().front(), Bytes{ENQ});
  EXPECT_EQ(port->Writes()[1], Bytes{ENQ});
}

TEST_F(EnqProtocol, AnswerBodyLateIsReadAgainAfterEnq) {
  port->Feed({NAK, ACK, 0x02, 0x04, 0xFC}).Silence();  // body cut short
  port->Feed({ACK}).Feed(EnqFrame(kAnswer));
  engine.Send(rec);
  EXPECT_EQ(rec.Answer, kAnswer);
  EXPECT_EQ(port->Writes(), (std::vector<Bytes>{{ENQ}, kCommandFrame, {ENQ}, {ACK}}));
}

TEST_F(EnqProtocol, CommandLongerThan255BytesIsRefusedBeforeAnyIo) {
  rec.Command.assign(256, 0x01);
  MarkOutputs();
  try {
    engine.Send(rec);
    FAIL() << "no error";
  } catch (const EDriverError& e) {
    EXPECT_EQ(e.ErrorCode(), kOtherFailure);
    EXPECT_STREQ(e.what(), "Команда слишком длинная");
  }
  EXPECT_TRUE(port->Trace().empty());
  ExpectOutputsKept();
  EXPECT_THROW(engine.Encode(Bytes(256, 0)), EDriverError);
}

Bytes Corrupt(Bytes frame) {
  frame.back() ^= 0x01;
  return frame;
}

TEST_F(EnqProtocol, CorruptAnswerIsRefusedAndAskedForAgain) {
  port->Feed({NAK, ACK}).Feed(Corrupt(EnqFrame(kAnswer)));
  port->Feed({ACK}).Feed(EnqFrame(kAnswer));
  engine.Send(rec);
  EXPECT_EQ(rec.Answer, kAnswer);
  EXPECT_EQ(port->Writes(), (std::vector<Bytes>{{ENQ}, kCommandFrame, {NAK}, {ENQ}, {ACK}}));
}

TEST_F(EnqProtocol, CorruptAnswerIsNeverReturned) {
  Bytes script{NAK, ACK};
  for (int i = 0; i < 6; ++i) script = Concat({script, Corrupt(EnqFrame(kAnswer)), {ACK}});
  port->Feed(script);
  MarkOutputs();
  EXPECT_EQ(SendCode(), kNoLink);
  ExpectOutputsKept();
  int naks = 0;
  for (const Bytes& w : port->Writes()) naks += w == Bytes{NAK};
  EXPECT_EQ(naks, 1 + 5);  // the first copy, then MaxAnsCount + 1 re-reads
  for (const Bytes& w : port->Writes()) EXPECT_NE(w, Bytes{ACK});
}

TEST_F(EnqProtocol, SingleAnswerTryFailsAtOnceOnCorruptAnswer) {
  params->MaxAnsCount = 1;
  port->Feed({NAK, ACK}).Feed(Corrupt(EnqFrame(kAnswer))).Feed({ACK}).Feed(EnqFrame(kAnswer));
  EXPECT_EQ(SendCode(), kNoLink);
  EXPECT_EQ(port->Writes().back(), Bytes{NAK});
}

TEST_F(EnqProtocol, ReadErrorDuringAnswerCountsAsAMissingAnswer) {
  port->Feed({NAK, ACK, 0x02}).ReadError().Feed({ACK}).Feed(EnqFrame(kAnswer));
  engine.Send(rec);
  EXPECT_EQ(rec.Answer, kAnswer);
}

}  // namespace
}  // namespace zel
