// The numbered-frame engine against a scripted line.
#include "server/protocol/PrinterProtocol2.h"

#include <gtest/gtest.h>

#include <memory>

#include "common/Crc.h"
#include "common/DriverError.h"
#include "tests/protocol/DeviceFrames.h"
#include "tests/protocol/ScriptedPort.h"

namespace zel {
namespace {

using test::Concat;
using test::NumberedFrame;
using test::ScriptedPort;

const Bytes kSyncRequest{0x8F, 0x00, 0x00, 0x0F, 0x1D};
const Bytes kCommand{0x11, 0x1E, 0x00, 0x00, 0x00};
const Bytes kAnswer{0x11, 0x00, 0x05};

class NumberedProtocol : public ::testing::Test {
 protected:
  NumberedProtocol() {
    params->Timeout = 50;
    rec.Command = kCommand;
    rec.Timeout = 2000;
  }
  int SendCode() {
    try {
      engine.Send(rec);
    } catch (const EDriverError& e) {
      return e.ErrorCode();
    } catch (const std::exception&) {
      return 1;
    }
    return 0;
  }
  int Count(const Bytes& frame) const {
    int n = 0;
    for (const Bytes& w : port->Writes()) n += w == frame;
    return n;
  }

  std::shared_ptr<ScriptedPort> port = std::make_shared<ScriptedPort>();
  std::shared_ptr<TConnectionParams> params = std::make_shared<TConnectionParams>();
  TPrinterProtocol2 engine{port, params};
  TCommandRec rec;
};

TEST_F(NumberedProtocol, EncodesSyncRequestAndStuffsCommandBytes) {
  EXPECT_EQ(engine.Encode({}), kSyncRequest);
  // LEN 4 counts the two unstuffed data bytes; 8F and 9F each go out as two bytes.
  const Bytes frame = engine.Encode({0x8F, 0x9F});
  EXPECT_EQ(frame, NumberedFrame(0, {0x8F, 0x9F}));
  EXPECT_EQ(Bytes(frame.begin(), frame.begin() + 9), (Bytes{0x8F, 0x04, 0x00, 0x00, 0x00, 0x9F, 0x81, 0x9F, 0x83}));
}

TEST_F(NumberedProtocol, FirstCommandSynchronisesThenUsesTheNextNumber) {
  const Bytes answer = NumberedFrame(11, kAnswer);
  port->Feed(NumberedFrame(10, {})).Feed(answer);
  engine.Send(rec);

  EXPECT_EQ(port->Writes(), (std::vector<Bytes>{kSyncRequest, NumberedFrame(11, kCommand)}));
  EXPECT_EQ(rec.Answer, kAnswer);
  EXPECT_EQ(rec.TxData, NumberedFrame(11, kCommand));
  EXPECT_EQ(rec.RxData, Concat({NumberedFrame(10, {}), answer}));  // every byte of the exchange
  EXPECT_EQ(engine.FrameNumber(), 12);
  EXPECT_EQ(port->Timeouts(), (std::vector<std::uint32_t>{50, 2000}));

  // Synchronised: the next command goes straight out.
  port->Feed(NumberedFrame(12, kAnswer));
  engine.Send(rec);
  EXPECT_EQ(port->Writes().back(), NumberedFrame(12, kCommand));
  EXPECT_EQ(rec.RxData, NumberedFrame(12, kAnswer));
  EXPECT_EQ(port->Count("Write 8F 00 00 0F 1D"), 1);
}

// Data for which the answer's CRC holds a byte that must be stuffed.
Bytes DataWithStuffedCrc(unsigned fn) {
  for (unsigned v = 0; v < 0x10000; ++v) {
    const Bytes data{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
    const Bytes frame = NumberedFrame(fn, data);
    const Bytes tail(frame.end() - 3, frame.end());
    if (frame.size() == 1 + 8 + 1 && (tail[0] == 0x9F || tail[1] == 0x9F)) return data;
  }
  return {};
}

TEST_F(NumberedProtocol, ReadsAnswersWithStuffedBytesAnywhere) {
  const Bytes crcStuffed = DataWithStuffedCrc(1);
  ASSERT_FALSE(crcStuffed.empty());
  const Bytes cases[] = {
      crcStuffed,
      {0x8F},              // the raw body read ends on a lone escape byte
      {0x9F, 0x8F, 0x01},  // escapes inside the body
      {0x10, 0x8F},
  };
  for (const Bytes& data : cases) {
    SCOPED_TRACE(ScriptedPort::Hex(data));
    port = std::make_shared<ScriptedPort>();
    TPrinterProtocol2 fresh(port, params);
    const Bytes answer = NumberedFrame(1, data);
    port->Feed(NumberedFrame(0, {})).Feed(answer);
    fresh.Send(rec);
    EXPECT_EQ(rec.Answer, data);
    EXPECT_EQ(rec.RxData, Concat({NumberedFrame(0, {}), answer}));
    EXPECT_EQ(port->Remaining(), 0u);
  }
}

// One bad answer, then a good one: the same frame is sent again without a new sync.
TEST_F(NumberedProtocol, BadAnswerIsCountedAndTheFrameResent) {
  Bytes badCrc = NumberedFrame(1, kAnswer);
  badCrc[badCrc.size() - 1] ^= 0x01;
  Bytes badEscape = NumberedFrame(1, {0x01, 0x02});
  badEscape[5] = 0x9F;  // body 9F 02
  const struct {
    const char* what;
    Bytes bad;
  } cases[] = {
      {"CRC mismatch", badCrc},
      {"LEN 1", NumberedFrame(1, {}, 1)},
      {"LEN 0", NumberedFrame(1, {}, 0)},
      {"invalid escape in the body", badEscape},
      {"invalid escape in the header", {0x8F, 0x9F, 0x00}},
      {"nothing", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    port = std::make_shared<ScriptedPort>();
    TPrinterProtocol2 fresh(port, params);
    port->Feed(NumberedFrame(0, {})).Feed(c.bad);
    if (c.bad.empty()) port->Silence();
    port->Feed(NumberedFrame(1, kAnswer));
    fresh.Send(rec);
    EXPECT_EQ(rec.Answer, kAnswer);
    EXPECT_EQ(port->Writes(), (std::vector<Bytes>{kSyncRequest, NumberedFrame(1, kCommand), NumberedFrame(1, kCommand)}));
    EXPECT_EQ(fresh.FrameNumber(), 2);
  }
}

TEST_F(NumberedProtocol, FourFailedAnswersGiveNoLinkAndKeepTheRecord) {
  port->Feed(NumberedFrame(0, {}));
  rec.Answer = {0xAA};
  rec.TxData = {0xBB};
  rec.RxData = {0xCC};
  EXPECT_EQ(SendCode(), kNoLink);
  EXPECT_EQ(Count(NumberedFrame(1, kCommand)), 4);
  EXPECT_EQ(rec.Answer, Bytes{0xAA});
  EXPECT_EQ(rec.TxData, Bytes{0xBB});
  EXPECT_EQ(rec.RxData, Bytes{0xCC});
}

TEST_F(NumberedProtocol, WrongNumbersResynchroniseAndFailAfterFive) {
  // The device keeps answering with the number of the previous frame.
  for (unsigned sync = 100; sync < 600; sync += 100) port->Feed(NumberedFrame(sync, {})).Feed(NumberedFrame(sync, kAnswer));
  EXPECT_EQ(SendCode(), kNoLink);
  EXPECT_EQ(Count(kSyncRequest), 5);
  for (unsigned sync = 100; sync < 600; sync += 100) EXPECT_EQ(Count(NumberedFrame(sync + 1, kCommand)), 1);
  EXPECT_FALSE(engine.Synchronized());
}

TEST_F(NumberedProtocol, WrongNumberOnceThenResynchronisedAnswer) {
  port->Feed(NumberedFrame(7, {})).Feed(NumberedFrame(7, kAnswer));
  port->Feed(NumberedFrame(20, {})).Feed(NumberedFrame(21, kAnswer));
  engine.Send(rec);
  EXPECT_EQ(port->Writes(), (std::vector<Bytes>{kSyncRequest, NumberedFrame(8, kCommand), kSyncRequest,
                                                NumberedFrame(21, kCommand)}));
  EXPECT_EQ(engine.FrameNumber(), 22);
}

TEST_F(NumberedProtocol, FrameNumberWrapsAfter65535) {
  port->Feed(NumberedFrame(65534, {})).Feed(NumberedFrame(65535, kAnswer)).Feed(NumberedFrame(0, kAnswer));
  engine.Send(rec);
  EXPECT_EQ(engine.FrameNumber(), 0);
  engine.Send(rec);
  EXPECT_EQ(port->Writes().back(), NumberedFrame(0, kCommand));
  EXPECT_EQ(engine.FrameNumber(), 1);
}

TEST_F(NumberedProtocol, FailedSyncEndsTheExchange) {
  port->Silence();
  EXPECT_EQ(SendCode(), kNoLink);
  EXPECT_EQ(port->Writes(), std::vector<Bytes>{kSyncRequest});
}

TEST_F(NumberedProtocol, SyncRequestsANewNumberAtOnce) {
  port->Feed(NumberedFrame(300, {}));
  engine.Sync();
  EXPECT_TRUE(engine.Synchronized());
  EXPECT_EQ(engine.FrameNumber(), 301);
}

}  // namespace
}  // namespace zel
