#pragma once
// A register's line for end-to-end tests: the device side of a frame protocol
// serving a pty whose slave is linked as a COM number. Unplug() hangs the line
// up; Plug() brings a fresh line under the same number.
#include <memory>
#include <mutex>
#include <vector>

#include "common/Bytes.h"
#include "emulator/link/DeviceSession.h"

namespace zel::test {

class TPtyDevice {
 public:
  // Without a handler: status 0x11 answers with a status record in `mode`,
  // anything else with its code, error 0 and the command's other bytes.
  explicit TPtyDevice(int comNumber, int protocolType = 0, CommandHandler handler = {});
  ~TPtyDevice();
  void Plug();
  void Unplug();
  void SetMode(std::uint8_t mode);
  std::vector<Bytes> TakeCommands();
  std::uint64_t CommandCount();

 private:
  Bytes Answer(const Bytes& command);

  const int FCom;
  const int FProtocolType;
  CommandHandler FHandler;
  std::mutex FCS;
  std::vector<Bytes> FCommands;
  std::uint8_t FMode = 4;
  std::uint64_t FCount = 0;
  std::unique_ptr<TDeviceSession> FSession;
};

// Status answer: 0x11, error 0, then the 50-byte record with mode at offset 15.
Bytes StatusAnswerFor(std::uint8_t mode);

}  // namespace zel::test
