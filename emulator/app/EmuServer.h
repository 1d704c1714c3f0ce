#pragma once
// One virtual register served on its lines: a pty (linked as a COM number),
// a TCP port and UDP announcements, with the fault switches of the options.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "emulator/app/EmuOptions.h"
#include "emulator/front/TcpListener.h"
#include "emulator/front/UdpAnnouncer.h"
#include "emulator/link/DeviceSession.h"
#include "emulator/model/CommandHandler.h"
#include "emulator/model/DeviceModel.h"
#include "emulator/model/StateKeeper.h"

namespace zel::emu {

class TEmuServer {
 public:
  explicit TEmuServer(TEmuOptions options);
  ~TEmuServer();

  // Loads the state and opens every line asked for; throws std::runtime_error.
  void Start();
  // Closes every line, removes the COM link and saves the state.
  void Stop();
  // True once the commands asked for by --unplug-after have been served.
  bool UnplugDue() const;
  // Closes every line as a pulled cable would (the COM link stays, dangling).
  void Unplug();

  std::string PtyPath() const { return ptyPath_; }
  std::uint16_t TcpPort() const { return tcp_.Port(); }
  TDeviceModel& Model() { return model_; }

 private:
  Bytes Serve(const Bytes& command);
  bool IsMuted(const Bytes& command) const;  // --mute-command
  // lineFd >= 0: a pty whose host must have set the line to the --baud rate (--strict-baud).
  std::unique_ptr<TDeviceSession> MakeSession(int fd, int lineFd = -1);
  void Accept(int fd);

  TEmuOptions options_;
  TDeviceModel model_;
  TCommandHandler handler_;
  std::unique_ptr<TStateKeeper> keeper_;
  std::unique_ptr<TDeviceSession> pty_;
  std::string ptyPath_;
  int lineFd_ = -1;  // a second handle of the pty master, to read the host's line speed
  TTcpListener tcp_;
  std::mutex sessionsMutex_;
  std::vector<std::unique_ptr<TDeviceSession>> tcpSessions_;
  std::unique_ptr<TUdpAnnouncer> announcer_;
  std::atomic<int> commands_{0};
  bool comLinked_ = false;
  bool unplugged_ = false;
};

TIdentity IdentityFor(const TEmuOptions& options);

}  // namespace zel::emu
