#include "emulator/link/EnqSession.h"

#include "common/Crc.h"
#include "emulator/link/DeviceFrames.h"

namespace zel {

using namespace enq;

TEnqSession::TEnqSession(int fd, CommandHandler handler, TSessionOptions options)
    : TDeviceSession(fd, std::move(handler), options, "EnqSession") {}

void TEnqSession::ServeByte(std::uint8_t b) {
  switch (b) {
    case ENQ:
      if (!FPending.empty()) {
        WriteByte(ACK);
        FResends = 0;
        SendAnswer();
      } else if (!FLast.empty() && FFaults.TakeStale()) {
        WriteByte(ACK);
        Write(FLast);  // an answer the host already has; its ACK changes nothing
      } else {
        WriteByte(NAK);
      }
      break;
    case ACK:
      if (FAwaitingAck) FPending.clear();
      FAwaitingAck = false;
      break;
    case NAK:
      if (FAwaitingAck && FResends < Options().MaxAnswerResends) {
        ++FResends;
        SendAnswer();
      }
      break;
    case STX:
      ReceiveFrame();
      break;
    default:
      break;  // line noise between frames
  }
}

void TEnqSession::ReceiveFrame() {
  Bytes frame{STX};
  std::uint8_t len;
  if (!ReadFrameByte(len)) {
    WriteByte(NAK);
    return;
  }
  frame.push_back(len);
  for (int i = 0; i <= len; ++i) {
    std::uint8_t b;
    if (!ReadFrameByte(b)) {
      LogFrame("incomplete <- ", frame);
      WriteByte(NAK);
      return;
    }
    frame.push_back(b);
  }
  LogFrame("<- ", frame);
  if (Lrc(frame.data() + 1, frame.size() - 2) != frame.back()) {
    WriteByte(NAK);
    return;
  }
  if (FFaults.TakeSilentCommand()) return;
  if (FFaults.TakeNak()) {
    WriteByte(NAK);
    return;
  }
  WriteByte(ACK);
  // A new command replaces an answer the host never collected.
  FPending.clear();
  FAwaitingAck = false;
  const auto answer = Execute(Bytes(frame.begin() + 2, frame.end() - 1));
  if (!answer) return;
  if (answer->size() > kMaxData) {
    LogError("answer longer than a frame can carry: " + std::to_string(answer->size()));
    return;
  }
  FPending = FLast = Frame(*answer);
  FResends = 0;
  SendAnswer();
}

void TEnqSession::SendAnswer() {
  LogFrame("-> ", FPending);
  FAwaitingAck = true;
  Write(FPending);
}

}  // namespace zel
