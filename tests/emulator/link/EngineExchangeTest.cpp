// Each host engine on a real serial port (a COM number linked to a pty)
// against the device side, clean and with the faults a real line shows.
#include <gtest/gtest.h>

#include <functional>

#include "common/ComPort.h"
#include "common/ComResolver.h"
#include "common/DriverError.h"
#include "server/protocol/PrinterProtocolFactory.h"
#include "tests/emulator/link/TestLink.h"
#include "tests/support/TempConfig.h"

namespace zel::test {
namespace {

using namespace std::chrono;
using namespace std::chrono_literals;

constexpr int kCom = 7;
const Bytes kCommand{0x11, 0x1E, 0x00, 0x00, 0x00};
const Bytes kAnswer{0x11, 0x00, 0x1E, 0x00, 0x00, 0x00};  // what the echo device returns
// Every faulted exchange ends within this, answered or failed.
constexpr auto kExchangeLimit = 5s;

// LinkLost: -1, or -2 once the port saw its device go away.
enum class EOutcome { Answer, NoLink, Failure, AnswerOrNoLink, LinkLost };

struct TResult {
  bool Answered = false;
  int Code = 0;  // EDriverError code; kOtherFailure for a plain exception
  Bytes Answer;
  steady_clock::duration Took{};
};

class TEngineRig {
 public:
  explicit TEngineRig(int protocolType) {
    TPtyLine line = OpenPtyLine();
    LinkCom(kCom, line.SlavePath);
    Session = CreateDeviceSession(protocolType, line.Master, Device.Handler());
    Session->Start();
    Params->Timeout = 200;
    Params->ProtocolType = protocolType;
    Params->ComNumber = kCom;
    Params->BaudRate = 6;
    Port->Open();
    Engine = GetProtocolFactory(protocolType).Instance(Port, Params);
  }

  TResult Exchange() {
    TCommandRec rec;
    rec.Command = kCommand;
    rec.Timeout = 300;
    TResult r;
    const auto start = steady_clock::now();
    try {
      Engine->Send(rec);
      r.Answered = true;
      r.Answer = rec.Answer;
    } catch (const EDriverError& e) {
      r.Code = e.ErrorCode();
    } catch (const std::exception&) {
      r.Code = kOtherFailure;
    }
    r.Took = steady_clock::now() - start;
    return r;
  }

  ScopedConfigHome Home;
  TEchoDevice Device;
  std::unique_ptr<TDeviceSession> Session;
  std::shared_ptr<TConnectionParams> Params = std::make_shared<TConnectionParams>();
  std::shared_ptr<TComPort> Port = std::make_shared<TComPort>(Params);
  std::unique_ptr<IPrinterProtocol> Engine;
};

struct TFaultCase {
  const char* Name;
  std::function<void(TDeviceSession&)> Inject;
  EOutcome Expected;
};

void RunCases(int protocolType, const std::vector<TFaultCase>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TEngineRig rig(protocolType);
    c.Inject(*rig.Session);
    const TResult r = rig.Exchange();
    EXPECT_LT(r.Took, kExchangeLimit);
    switch (c.Expected) {
      case EOutcome::Answer:
        EXPECT_TRUE(r.Answered) << "code " << r.Code;
        break;
      case EOutcome::NoLink:
        EXPECT_FALSE(r.Answered);
        EXPECT_EQ(r.Code, kNoLink);
        break;
      case EOutcome::Failure:
        EXPECT_FALSE(r.Answered);
        break;
      case EOutcome::LinkLost:
        EXPECT_FALSE(r.Answered);
        EXPECT_TRUE(r.Code == kNoLink || r.Code == kPortUnavailable) << "code " << r.Code;
        break;
      case EOutcome::AnswerOrNoLink:
        if (!r.Answered) {
          EXPECT_EQ(r.Code, kNoLink);
        }
        break;
    }
    if (r.Answered) {
      EXPECT_EQ(r.Answer, kAnswer);
      EXPECT_EQ(rig.Device.Commands().size(), 1u);  // retries never run a command twice
    }
    if (rig.Session->State() != ESessionState::Running) continue;
    // Whatever happened, the line is usable again once the fault is over
    // (a device still waiting for the rest of a cut frame may swallow one more).
    rig.Session->Faults().Clear();
    TResult next;
    for (int attempt = 0; attempt < 2 && !next.Answered; ++attempt) next = rig.Exchange();
    EXPECT_TRUE(next.Answered) << "next exchange, code " << next.Code;
    EXPECT_EQ(next.Answer, kAnswer);
  }
}

using EFD = EFaultDirection;
auto Out(EByteFault kind, std::size_t offset, std::uint8_t value = 0xFF) {
  return [=](TDeviceSession& s) { s.Faults().AddByteFault(EFD::Out, kind, offset, value); };
}
auto In(EByteFault kind, std::size_t offset, std::uint8_t value = 0xFF) {
  return [=](TDeviceSession& s) { s.Faults().AddByteFault(EFD::In, kind, offset, value); };
}
void NoFault(TDeviceSession&) {}
// The COM link goes with the device: a pty number freed by the hang-up may be
// handed to another test's line at once, and the reopen must not reach it.
void HangUp(TDeviceSession& s) {
  RemoveComLink(kCom);
  s.HangUp();
}
void HangUpMidExchange(TDeviceSession& s) {
  RemoveComLink(kCom);
  s.Faults().HangUpOnCommand();
}

TEST(EngineExchange, EnqProtocol) {
  // Device output of one exchange: NAK to ENQ (0), ACK to the frame (1), answer frame (2..10).
  RunCases(0, {
      {"clean", NoFault, EOutcome::Answer},
      {"noise byte before the answer", Out(EByteFault::Insert, 2, 0x55), EOutcome::Answer},
      {"answer byte lost", Out(EByteFault::Drop, 5), EOutcome::Answer},
      {"answer byte corrupted", Out(EByteFault::Corrupt, 6, 0x10), EOutcome::AnswerOrNoLink},
      {"command byte lost", In(EByteFault::Drop, 3), EOutcome::Answer},
      {"NAK burst below the retry limit", [](TDeviceSession& s) { s.Faults().SetNakCount(3); },
       EOutcome::Answer},
      {"NAK burst at the retry limit", [](TDeviceSession& s) { s.Faults().SetNakCount(4); },
       EOutcome::NoLink},
      {"stale answer before the command", [](TDeviceSession& s) { s.Faults().SetStaleCount(1); },
       EOutcome::Answer},
      {"silent to the command", [](TDeviceSession& s) { s.Faults().SilenceCommands(1); }, EOutcome::NoLink},
      {"silent for a while", [](TDeviceSession& s) { s.Faults().SilenceFor(450); }, EOutcome::Answer},
      {"slow answer", [](TDeviceSession& s) { s.Faults().SetDelay(150, 3); }, EOutcome::Answer},
      {"unplugged", HangUp, EOutcome::LinkLost},
      {"unplugged mid-exchange", HangUpMidExchange, EOutcome::LinkLost},
  });
}

TEST(EngineExchange, NumberedProtocol) {
  // Device output: sync answer (0..6), then the answer frame (7..).
  RunCases(1, {
      {"clean", NoFault, EOutcome::Answer},
      {"noise byte before the answer", Out(EByteFault::Insert, 7, 0x55), EOutcome::Answer},
      {"answer byte lost", Out(EByteFault::Drop, 10), EOutcome::Answer},
      {"answer byte corrupted", Out(EByteFault::Corrupt, 12, 0x10), EOutcome::Answer},
      {"command byte lost", In(EByteFault::Drop, 8), EOutcome::Answer},
      {"wrong-numbered answers", [](TDeviceSession& s) { s.Faults().SetStaleCount(2); }, EOutcome::Answer},
      {"wrong-numbered answers to the limit", [](TDeviceSession& s) { s.Faults().SetStaleCount(5); },
       EOutcome::NoLink},
      {"silent to the command", [](TDeviceSession& s) { s.Faults().SilenceCommands(1); }, EOutcome::Answer},
      {"silent for good", [](TDeviceSession& s) { s.Faults().SilenceCommands(100); }, EOutcome::NoLink},
      {"unplugged", HangUp, EOutcome::LinkLost},
      {"unplugged mid-exchange", HangUpMidExchange, EOutcome::LinkLost},
  });
}

TEST(EngineExchange, MultichannelProtocol) {
  // Device output: 0x91 to PSEL (0), then the answer frame (1..).
  RunCases(2, {
      {"clean", NoFault, EOutcome::Answer},
      {"noise byte before the answer", Out(EByteFault::Insert, 1, 0x55), EOutcome::NoLink},
      {"answer byte lost", Out(EByteFault::Drop, 7), EOutcome::NoLink},
      {"command byte lost", In(EByteFault::Drop, 4), EOutcome::NoLink},
      {"protocol selection refused", [](TDeviceSession& s) { s.Faults().SetPselMode(EPselMode::Refuse); },
       EOutcome::Failure},
      {"silent to the command", [](TDeviceSession& s) { s.Faults().SilenceCommands(1); }, EOutcome::NoLink},
      {"unplugged", HangUp, EOutcome::LinkLost},
      {"unplugged mid-exchange", HangUpMidExchange, EOutcome::LinkLost},
  });
}

}  // namespace
}  // namespace zel::test
