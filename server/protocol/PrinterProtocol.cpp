#include "server/protocol/PrinterProtocol.h"

#include <cstdio>
#include <stdexcept>

#include "common/Crc.h"
#include "common/DriverError.h"
#include "server/protocol/ProtocolTexts.h"

namespace zel {

namespace {
constexpr int kDrainTimeoutMs = 100;
// A line that keeps talking must not hold the drain forever.
constexpr int kMaxDrainBytes = 4096;
// Shown in the "Got ACK" line; kept as the device firmware logs it.
constexpr int kShownAnswerLimit = 4;
}  // namespace

TPrinterProtocol::TPrinterProtocol(std::shared_ptr<ISerialPort> port, std::shared_ptr<TConnectionParams> params)
    : FLink("TPrinterProtocol", std::move(port)), FParams(std::move(params)) {
  if (!FParams) throw std::invalid_argument("protocol engine needs connection parameters");
}

Bytes TPrinterProtocol::Encode(const Bytes& data) {
  CheckCommandSize(data.size(), kMaxCommandSize);
  const auto len = static_cast<std::uint8_t>(data.size());
  Bytes frame;
  frame.reserve(data.size() + 3);
  frame.push_back(STX);
  frame.push_back(len);
  frame.insert(frame.end(), data.begin(), data.end());
  frame.push_back(Lrc(data.data(), data.size(), len));
  return frame;
}

void TPrinterProtocol::Send(TCommandRec& command) {
  // Refuse before anything reaches the line: LEN would silently lose the high bits.
  CheckCommandSize(command.Command.size(), kMaxCommandSize);
  FOutput.clear();
  FRawInput.clear();
  FRawOutput.clear();

  FLink.Port().Purge();
  SetCmdTimeout(FParams->Timeout);
  EnqHandshake(TMode::Idle);
  SendFrame(Encode(command.Command));
  SetCmdTimeout(command.Timeout);
  if (ReadAnswer() != TAnswer::Ok) {
    if (FParams->MaxAnsCount < 2) {
      FLink.Logger().Debug("No Answer. MaxAnsCount = 1");
      RaiseNoLink();
    }
    FLink.Logger().Debug("No Answer. repeat");
    EnqHandshake(TMode::Answer);
  }
  command.Answer = FOutput;
  command.TxData = FRawInput;
  command.RxData = FRawOutput;
}

TPrinterProtocol::TControl TPrinterProtocol::ReadControlByte() {
  for (int attempt = 0; attempt < 3; ++attempt) {
    FLink.Logger().Debug("ReadAckChar try");
    std::uint8_t c = 0;
    if (!FLink.ReadByte(c)) return TControl::Nothing;
    if (c == 0xFF && !FLink.ReadByte(c)) return TControl::Nothing;
    switch (c) {
      case ACK: return TControl::Ack;
      case NAK: return TControl::Nak;
      case ENQ: return TControl::Enq;
      default: break;
    }
  }
  return TControl::Nothing;
}

void TPrinterProtocol::EnqHandshake(TMode mode) {
  int enqFailures = 0;
  int answers = 0;
  for (;;) {
    WriteFrame(Bytes{ENQ});
    switch (ReadControlByte()) {
      case TControl::Ack: {
        char line[64];
        std::snprintf(line, sizeof line, "_ Got ACK. ReadAnswerData (%d/%d)", answers, kShownAnswerLimit);
        FLink.Logger().Debug(line);
        const bool ok = ReadAnswer() == TAnswer::Ok;
        if (!ok) FLink.Logger().Debug("No answer. Repeat answer reading");
        if (ok && mode == TMode::Answer) return;
        ++answers;  // in idle mode a good answer here is a stale one and is dropped
        break;
      }
      case TControl::Nak:
        if (mode == TMode::Idle) return;
        RaiseNoLink();  // the device has no answer to give
      case TControl::Enq:
        ++enqFailures;
        DrainLine();
        break;
      case TControl::Nothing:
        Reconnect();
        ++enqFailures;
        FLink.Logger().Debug("EnqCount = " + std::to_string(enqFailures));
        FLink.Logger().Debug("MaxEnqCount = " + std::to_string(FParams->MaxENQCount));
        break;
    }
    if (enqFailures > FParams->MaxENQCount || answers > FParams->MaxAnsCount) RaiseNoLink();
    FLink.Logger().Debug("Repeat ENQ");
  }
}

void TPrinterProtocol::Reconnect() {
  FLink.Logger().Debug("Reconnect");
  try {
    FLink.Port().Close();
    FLink.Port().Open();
    SetCmdTimeout(FParams->Timeout);
  } catch (const std::exception& e) {
    FLink.Logger().Error(std::string("Reconnect: Port opening error: ") + e.what());
  }
}

void TPrinterProtocol::DrainLine() {
  FLink.Logger().Debug("ReadBadAnswer");
  SetCmdTimeout(kDrainTimeoutMs);
  try {
    std::uint8_t c = 0;
    for (int n = 0; n < kMaxDrainBytes && FLink.ReadByte(c); ++n) {
    }
  } catch (...) {
    SetCmdTimeout(FParams->Timeout);
    throw;
  }
  SetCmdTimeout(FParams->Timeout);
}

void TPrinterProtocol::SendFrame(const Bytes& frame) {
  FRawInput = frame;
  FRawOutput.clear();
  for (int attempt = 1;; ++attempt) {
    FLink.Port().Purge();
    WriteFrame(frame);
    TControl reply = ReadControlByte();
    for (int misses = 1; reply == TControl::Nothing; ++misses) {
      if (misses >= FParams->MaxAnsCount) RaiseNoLink();
      FLink.Logger().Debug("Repeat reading ACK");
      reply = ReadControlByte();
    }
    if (reply == TControl::Ack) return;
    if (reply == TControl::Enq || attempt >= FParams->CommandRetryCount) RaiseNoLink();
  }
}

// A frame with a bad checksum is refused with NAK and never taken as the answer;
// the caller asks for it again through the answer-mode handshake.
TPrinterProtocol::TAnswer TPrinterProtocol::ReadAnswer() {
  FOutput.clear();
  try {
    std::uint8_t c = 0;
    if (!FLink.ReadByte(c)) return TAnswer::Failed;
    FRawOutput.push_back(c);
    if (c != STX) return TAnswer::Failed;
    std::uint8_t len = 0;
    if (!FLink.ReadByte(len)) return TAnswer::Failed;
    FRawOutput.push_back(len);

    SetCmdTimeout(FParams->Timeout);
    const Bytes rest = FLink.Port().ReadEx(len + 1u, FParams->Timeout);
    FLink.Logger().WriteRxData(rest);
    FRawOutput.insert(FRawOutput.end(), rest.begin(), rest.end());
    if (rest.size() != len + 1u) RaiseNoLink();

    if (Lrc(rest.data(), len, len) != rest.back()) {
      FLink.Logger().Error("ReadAnswerData: answer checksum mismatch");
      WriteFrame(Bytes{NAK});
      return TAnswer::Failed;
    }
    WriteFrame(Bytes{ACK});
    FOutput.assign(rest.begin(), rest.end() - 1);
    return TAnswer::Ok;
  } catch (const std::exception& e) {
    FLink.Logger().Error(std::string("ReadAnswerData: ") + e.what());
    FOutput.clear();
    return TAnswer::Failed;
  }
}

// Frames carrying FE E9 at offset 2 are logged by their first four bytes only.
void TPrinterProtocol::WriteFrame(const Bytes& frame) {
  if (frame.size() >= 4 && frame[2] == 0xFE && frame[3] == 0xE9)
    FLink.Write(frame, Bytes(frame.begin(), frame.begin() + 4));
  else
    FLink.Write(frame);
}

}  // namespace zel
