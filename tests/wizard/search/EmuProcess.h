#pragma once
// One zelvox-emu process for the length of a test: started with the given
// options, ready when constructed, killed when destroyed.
#include <sys/types.h>

#include <string>
#include <vector>

namespace zel::test {

class EmuProcess {
 public:
  // Throws std::runtime_error when the program does not get ready within 10 s.
  explicit EmuProcess(std::vector<std::string> args);
  ~EmuProcess();
  EmuProcess(const EmuProcess&) = delete;
  EmuProcess& operator=(const EmuProcess&) = delete;

  int TcpPort() const { return FTcpPort; }  // 0 without --tcp
  pid_t Pid() const { return FPid; }

 private:
  std::string Line(int timeoutMs);
  void Kill();
  pid_t FPid = -1;
  int FOut = -1;
  std::string FBuffer;
  int FTcpPort = 0;
};

// A TCP port on 127.0.0.1 that nobody listens on (bound once, then let go).
int ClosedTcpPort();

}  // namespace zel::test
