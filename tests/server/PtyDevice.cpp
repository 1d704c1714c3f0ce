#include "tests/server/PtyDevice.h"

#include "common/ComResolver.h"
#include "emulator/link/PtyLine.h"
#include "emulator/link/SessionFactory.h"

namespace zel::test {

Bytes StatusAnswerFor(std::uint8_t mode) {
  Bytes a(2 + 50, 0);
  a[0] = 0x11;
  a[2 + 15] = mode;
  return a;
}

TPtyDevice::TPtyDevice(int comNumber, int protocolType, CommandHandler handler)
    : FCom(comNumber), FProtocolType(protocolType), FHandler(std::move(handler)) {
  Plug();
}

TPtyDevice::~TPtyDevice() {
  if (FSession) FSession->Stop();
}

Bytes TPtyDevice::Answer(const Bytes& command) {
  std::uint8_t mode;
  {
    std::lock_guard lock(FCS);
    FCommands.push_back(command);
    ++FCount;
    mode = FMode;
  }
  if (FHandler) return FHandler(command);
  if (command.empty()) return {};
  if (command[0] == 0x11) return StatusAnswerFor(mode);
  Bytes answer{command[0], 0x00};
  answer.insert(answer.end(), command.begin() + 1, command.end());
  return answer;
}

void TPtyDevice::Plug() {
  if (FSession) FSession->Stop();
  const TPtyLine line = OpenPtyLine();
  CreateComLink(FCom, line.SlavePath);
  FSession = CreateDeviceSession(FProtocolType, line.Master, [this](const Bytes& c) { return Answer(c); });
  FSession->Start();
}

void TPtyDevice::Unplug() { FSession->HangUp(); }

void TPtyDevice::SetMode(std::uint8_t mode) {
  std::lock_guard lock(FCS);
  FMode = mode;
}

std::vector<Bytes> TPtyDevice::TakeCommands() {
  std::lock_guard lock(FCS);
  std::vector<Bytes> out;
  out.swap(FCommands);
  return out;
}

std::uint64_t TPtyDevice::CommandCount() {
  std::lock_guard lock(FCS);
  return FCount;
}

}  // namespace zel::test
