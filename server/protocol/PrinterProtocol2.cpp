#include "server/protocol/PrinterProtocol2.h"

#include <stdexcept>

#include "common/Crc.h"
#include "common/DriverError.h"
#include "common/Translate.h"
#include "server/protocol/ProtocolTexts.h"

namespace zel {

namespace {
constexpr std::uint8_t kEscapedStart = 0x81;
constexpr std::uint8_t kEscapedEscape = 0x83;

void PutWord(Bytes& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

[[noreturn]] void RaiseBadFrame() { throw std::runtime_error(Tr(kTextBadFrame)); }
}  // namespace

TPrinterProtocol2::TPrinterProtocol2(std::shared_ptr<ISerialPort> port, std::shared_ptr<TConnectionParams> params)
    : FLink("TPrinterProtocol2", std::move(port)), FParams(std::move(params)) {
  if (!FParams) throw std::invalid_argument("protocol engine needs connection parameters");
}

Bytes TPrinterProtocol2::Encode(const Bytes& data) {
  CheckCommandSize(data.size(), kMaxCommandSize);
  Bytes body;
  if (data.empty()) {
    PutWord(body, 0);
  } else {
    PutWord(body, static_cast<unsigned>(data.size() + 2));
    PutWord(body, static_cast<unsigned>(FFrameNumber));
    body.insert(body.end(), data.begin(), data.end());
  }
  PutWord(body, Crc16CcittFalse(body));

  Bytes frame{kStart};
  for (std::uint8_t b : body) {
    if (b == kStart) {
      frame.insert(frame.end(), {kEscape, kEscapedStart});
    } else if (b == kEscape) {
      frame.insert(frame.end(), {kEscape, kEscapedEscape});
    } else {
      frame.push_back(b);
    }
  }
  return frame;
}

void TPrinterProtocol2::Send(TCommandRec& command) {
  CheckCommandSize(command.Command.size(), kMaxCommandSize);
  int answerFailures = 0;
  int numberMismatches = 0;
  for (;;) {
    FLink.Port().Purge();
    FRawInput.clear();
    FRawOutput.clear();
    FLink.Port().SetCmdTimeout(PortTimeout(FParams->Timeout));
    if (!FSynchronized) Synchronize();

    FRawInput = Encode(command.Command);
    FLink.Write(FRawInput);
    FLink.Port().SetCmdTimeout(PortTimeout(command.Timeout));

    int number = 0;
    try {
      number = ReadFrame();
    } catch (const std::exception& e) {
      FLink.Logger().Error("ReadFrame", &e);
      if (++answerFailures < FParams->MaxAnsCount) continue;  // same number, no new sync
      RaiseNoLink();
    }
    if (number == FFrameNumber) {
      AdvanceFrameNumber();
      command.Answer = FOutput;
      command.TxData = FRawInput;
      command.RxData = FRawOutput;
      return;
    }
    FSynchronized = false;
    if (++numberMismatches >= FParams->MaxCmdCount) RaiseNoLink();
  }
}

void TPrinterProtocol2::Sync() {
  FSynchronized = false;
  FLink.Port().SetCmdTimeout(PortTimeout(FParams->Timeout));
  Synchronize();
}

void TPrinterProtocol2::Synchronize() {
  FLink.Write(Encode(Bytes{}));
  FFrameNumber = ReadFrame();
  FSynchronized = true;
  AdvanceFrameNumber();
}

int TPrinterProtocol2::ReadFrame() {
  FOutput.clear();
  while (ReadUnstuffed() != kStart) {
  }
  unsigned len = ReadUnstuffed();
  len |= static_cast<unsigned>(ReadUnstuffed()) << 8;
  unsigned number = ReadUnstuffed();
  number |= static_cast<unsigned>(ReadUnstuffed()) << 8;
  // LEN counts FN too: anything below 2 is not a frame.
  if (len < 2) RaiseBadFrame();

  const std::size_t size = len - 2;
  Bytes data;
  data.reserve(size);
  if (size > 0) {
    const Bytes raw = FLink.Port().ReadEx(static_cast<std::uint32_t>(size), FParams->Timeout);
    FLink.Logger().WriteRxData(raw);
    FRawOutput.insert(FRawOutput.end(), raw.begin(), raw.end());
    if (raw.size() != size) RaiseNoLink();
    for (std::size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != kEscape) {
        data.push_back(raw[i]);
      } else if (i + 1 < raw.size()) {
        const std::uint8_t second = raw[++i];
        if (second == kEscapedStart) {
          data.push_back(kStart);
        } else if (second == kEscapedEscape) {
          data.push_back(kEscape);
        } else {
          RaiseBadFrame();
        }
      } else {
        data.push_back(CompleteEscape(ReadRaw()));  // lone escape at the end of the block
      }
    }
  }
  while (data.size() < size) data.push_back(ReadUnstuffed());

  unsigned crc = ReadUnstuffed();
  crc |= static_cast<unsigned>(ReadUnstuffed()) << 8;
  Bytes covered;
  covered.reserve(size + 4);
  PutWord(covered, len);
  PutWord(covered, number);
  covered.insert(covered.end(), data.begin(), data.end());
  if (Crc16CcittFalse(covered) != crc) {
    FLink.Logger().Error("ReadFrame: CRC mismatch");
    RaiseNoLink();
  }
  FOutput = std::move(data);
  return static_cast<int>(number);
}

std::uint8_t TPrinterProtocol2::ReadRaw() {
  std::uint8_t c = 0;
  if (!FLink.ReadByte(c)) RaiseNoLink();
  FRawOutput.push_back(c);
  return c;
}

std::uint8_t TPrinterProtocol2::CompleteEscape(std::uint8_t second) {
  if (second == kEscapedStart) return kStart;
  if (second == kEscapedEscape) return kEscape;
  RaiseNoLink();
}

std::uint8_t TPrinterProtocol2::ReadUnstuffed() {
  const std::uint8_t c = ReadRaw();
  return c == kEscape ? CompleteEscape(ReadRaw()) : c;
}

}  // namespace zel
