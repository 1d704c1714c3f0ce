#pragma once
// TNumberedSession: the register's side of the numbered, byte-stuffed framing.
// A sync request (LEN 0) is answered with the device's current frame number; a
// command frame with an answer echoing its number; a frame that repeats the
// last number gets the stored answer again without running the command twice.
#include "emulator/link/DeviceSession.h"

namespace zel {

class TNumberedSession final : public TDeviceSession {
 public:
  TNumberedSession(int fd, CommandHandler handler, TSessionOptions options = {});
  ~TNumberedSession() override { Stop(); }

 private:
  enum class ERead { Ok, Lost, Restart };
  void ServeByte(std::uint8_t b) override;
  ERead ReadUnstuffed(std::uint8_t& b);
  ERead ReadWord(std::uint16_t& value, Bytes& crcInput);
  void Serve(std::uint16_t number, const Bytes& data);

  std::uint16_t FFrameNumber;  // number of the last frame served
  bool FHasLast = false;
  std::uint16_t FLastNumber = 0;
  Bytes FLastAnswer;  // stuffed answer frame of FLastNumber
};

}  // namespace zel
