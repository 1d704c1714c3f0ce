#include "emulator/link/NumberedSession.h"

#include "common/Crc.h"
#include "emulator/link/DeviceFrames.h"

namespace zel {

using namespace numbered;

TNumberedSession::TNumberedSession(int fd, CommandHandler handler, TSessionOptions options)
    : TDeviceSession(fd, std::move(handler), options, "NumberedSession"), FFrameNumber(options.FrameNumber) {}

TNumberedSession::ERead TNumberedSession::ReadUnstuffed(std::uint8_t& b) {
  if (!ReadFrameByte(b)) return ERead::Lost;
  if (b == kStart) return ERead::Restart;  // never inside a frame: a new one begins
  if (b != kEscape) return ERead::Ok;
  std::uint8_t code;
  if (!ReadFrameByte(code)) return ERead::Lost;
  if (code == kStart) return ERead::Restart;
  if (code == kEscapedStart) b = kStart;
  else if (code == kEscapedEscape) b = kEscape;
  else return ERead::Lost;  // invalid escape: the frame is dropped
  return ERead::Ok;
}

TNumberedSession::ERead TNumberedSession::ReadWord(std::uint16_t& value, Bytes& crcInput) {
  std::uint8_t lo, hi;
  ERead r = ReadUnstuffed(lo);
  if (r == ERead::Ok) r = ReadUnstuffed(hi);
  if (r != ERead::Ok) return r;
  crcInput.push_back(lo);
  crcInput.push_back(hi);
  value = static_cast<std::uint16_t>(lo | hi << 8);
  return ERead::Ok;
}

void TNumberedSession::ServeByte(std::uint8_t b) {
  if (b != kStart) return;  // bytes outside a frame are noise
  for (;;) {  // each pass reads one frame after its start byte
    Bytes body;
    std::uint16_t len = 0, number = 0, crc = 0;
    Bytes crcBytes;
    ERead r = ReadWord(len, body);
    if (r == ERead::Ok && len == 0) {
      r = ReadWord(crc, crcBytes);
      if (r == ERead::Ok) {
        if (crc != Crc16CcittFalse(body)) return;
        LogFrame("sync <- ", body);
        Write(Frame(FFrameNumber, {}));
        return;
      }
    }
    if (r == ERead::Ok && len < 2) return;  // outside the frame format
    if (r == ERead::Ok) r = ReadWord(number, body);
    for (std::size_t i = 2; r == ERead::Ok && i < len; ++i) {
      std::uint8_t d;
      r = ReadUnstuffed(d);
      body.push_back(d);
    }
    if (r == ERead::Ok) r = ReadWord(crc, crcBytes);
    if (r == ERead::Restart) continue;
    if (r != ERead::Ok) return;
    LogFrame("<- ", body);
    if (crc != Crc16CcittFalse(body)) return;  // a damaged frame gets no answer
    Serve(number, Bytes(body.begin() + 4, body.end()));
    return;
  }
}

void TNumberedSession::Serve(std::uint16_t number, const Bytes& data) {
  if (FFaults.TakeSilentCommand()) return;
  if (FFaults.TakeStale()) {
    if (FHasLast && FLastNumber != number) Write(FLastAnswer);
    else Write(Frame(static_cast<std::uint16_t>(number - 1), {}));
    return;
  }
  if (!FHasLast || number != FLastNumber) {
    const auto answer = Execute(data);
    if (!answer) return;
    if (answer->size() > kMaxData) {
      LogError("answer longer than a frame can carry: " + std::to_string(answer->size()));
      return;
    }
    FLastAnswer = Frame(number, *answer);
    FLastNumber = FFrameNumber = number;
    FHasLast = true;
  }
  LogFrame("-> ", FLastAnswer);
  Write(FLastAnswer);
}

}  // namespace zel
