#include "emulator/link/MultichannelSession.h"

#include "common/Crc.h"
#include "emulator/link/DeviceFrames.h"

namespace zel {

using namespace multichannel;

TMultichannelSession::TMultichannelSession(int fd, CommandHandler handler, TSessionOptions options)
    : TDeviceSession(fd, std::move(handler), options, "MultichannelSession") {}

void TMultichannelSession::ServeByte(std::uint8_t b) {
  if (b == kFrame) {
    ReceiveFrame();
    return;
  }
  if (b != kPsel) return;
  switch (FFaults.PselMode()) {
    case EPselMode::Accept: WriteByte(kPselAccepted); break;
    case EPselMode::Refuse: WriteByte(kPselRefused); break;
    case EPselMode::Silent: break;
  }
}

void TMultichannelSession::ReceiveFrame() {
  Bytes body;  // FN LEN DATA: what the CRC covers
  for (int i = 0; i < 3; ++i) {
    std::uint8_t b;
    if (!ReadFrameByte(b)) return;
    body.push_back(b);
  }
  const std::size_t len = body[1] | body[2] << 8;
  for (std::size_t i = 0; i < len + 2; ++i) {
    std::uint8_t b;
    if (!ReadFrameByte(b)) return;  // an incomplete frame gets no answer
    body.push_back(b);
  }
  const std::uint16_t crc = static_cast<std::uint16_t>(body[body.size() - 2] | body.back() << 8);
  body.resize(body.size() - 2);
  LogFrame("<- ", body);
  if (crc != Crc16Cms(body)) return;
  const std::uint8_t number = body[0];
  if (FFaults.TakeSilentCommand()) return;
  if (FFaults.TakeStale()) {
    Write(FHasLast ? FLastAnswer : AnswerFrame(static_cast<std::uint8_t>(number - 1), {}));
    return;
  }
  const auto answer = Execute(Bytes(body.begin() + 3, body.end()));
  if (!answer) return;
  FLastAnswer = AnswerFrame(number, *answer);
  FHasLast = true;
  LogFrame("-> ", FLastAnswer);
  Write(FLastAnswer);
}

}  // namespace zel
