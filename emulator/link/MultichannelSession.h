#pragma once
// TMultichannelSession: the register's side of the multichannel framing.
// PSEL 0x90 is accepted with 0x91 (or refused, or ignored, by the fault
// switches); a command frame 82 FN LEN DATA CRC gets 82 00 FN LEN DATA CRC.
#include "emulator/link/DeviceSession.h"

namespace zel {

class TMultichannelSession final : public TDeviceSession {
 public:
  TMultichannelSession(int fd, CommandHandler handler, TSessionOptions options = {});
  ~TMultichannelSession() override { Stop(); }

 private:
  void ServeByte(std::uint8_t b) override;
  void ReceiveFrame();

  bool FHasLast = false;
  Bytes FLastAnswer;
};

}  // namespace zel
