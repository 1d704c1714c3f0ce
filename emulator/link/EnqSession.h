#pragma once
// TEnqSession: the register's side of the ENQ/ACK/NAK framing.
// ENQ is answered NAK while the device holds no answer and ACK followed by the
// answer frame while it does; an answer is held until the host ACKs it.
#include "emulator/link/DeviceSession.h"

namespace zel {

class TEnqSession final : public TDeviceSession {
 public:
  TEnqSession(int fd, CommandHandler handler, TSessionOptions options = {});
  ~TEnqSession() override { Stop(); }

 private:
  void ServeByte(std::uint8_t b) override;
  void ReceiveFrame();
  void SendAnswer();

  Bytes FPending;     // answer frame the host has not acknowledged yet
  Bytes FLast;        // the last answer frame, kept for the stale-answer fault
  bool FAwaitingAck = false;
  int FResends = 0;
};

}  // namespace zel
