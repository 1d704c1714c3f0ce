#pragma once
// TEmuProcess: one zelvox-emu run by a test. Its standard output comes on a
// pipe and is read line by line with bounded waits; the options it announces
// before "ready" ("tcp 127.0.0.1:PORT", "pty /dev/pts/N", ...) are kept. The
// destructor ends it (SIGTERM, SIGKILL after 5 s) and reaps it.
#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace zel::test {

class TEmuProcess {
 public:
  // Starts program (the zelvox-emu build) with args; throws std::runtime_error
  // when it cannot be started.
  TEmuProcess(const std::string& program, const std::vector<std::string>& args);
  ~TEmuProcess();
  TEmuProcess(const TEmuProcess&) = delete;
  TEmuProcess& operator=(const TEmuProcess&) = delete;

  // The next line the program prints; "" when none comes within timeoutMs or
  // its output ended.
  std::string Line(int timeoutMs = 5000);
  // Reads lines until one is line, within timeoutMs; false when none is.
  bool WaitForLine(const std::string& line, int timeoutMs = 5000);
  // Reads lines up to "ready" within timeoutMs; false when it does not come.
  bool WaitReady(int timeoutMs = 10000);
  // The lines before "ready": first word -> the rest ("tcp" -> "127.0.0.1:7001").
  const std::map<std::string, std::string>& Announced() const { return FAnnounced; }
  int TcpPort() const;  // from the "tcp" line; 0 without one

  // SIGTERM, then the exit status; -1 when it did not end within timeoutMs
  // (it is killed then) or ended by a signal.
  int Terminate(int timeoutMs = 5000);
  // The exit status of a program that ends by itself, as Terminate.
  int Wait(int timeoutMs = 5000);

 private:
  bool NextLine(std::string& line, int timeoutMs);  // false on timeout or end of output
  pid_t FPid = -1;
  int FOut = -1;
  std::string FBuffer;
  std::map<std::string, std::string> FAnnounced;
};

}  // namespace zel::test
