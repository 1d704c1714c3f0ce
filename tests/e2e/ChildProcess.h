#pragma once
// TChildProcess: one of our programs run as a child, its stdout and stderr on a
// pipe the test reads with bounded waits. The destructor ends it (SIGTERM,
// then SIGKILL after 5 s) and reaps it.
#include <sys/types.h>

#include <string>
#include <vector>

namespace zel::test {

class TChildProcess {
 public:
  // Starts program with args; env entries ("NAME=value" sets, "NAME" unsets)
  // change the child's environment only. Throws when it cannot be started.
  TChildProcess(const std::string& program, const std::vector<std::string>& args,
                const std::vector<std::string>& env = {});
  ~TChildProcess();
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;

  // Reads output until it contains text or timeoutMs passed.
  bool WaitFor(const std::string& text, int timeoutMs);
  // Waits for the child to end by itself; its exit status, or -1 when it was
  // still running after timeoutMs (it is then killed).
  int WaitExit(int timeoutMs);
  // Everything the child printed so far.
  const std::string& Output() const { return FOutput; }

 private:
  bool ReadSome(int timeoutMs);
  pid_t FPid = -1;
  int FOut = -1;
  int FStatus = -1;
  std::string FOutput;
};

// Runs a program to its end (at most timeoutMs) and returns status and output.
struct TRunResult {
  int Status = -1;
  std::string Output;
};
TRunResult RunProgram(const std::string& program, const std::vector<std::string>& args, int timeoutMs);

}  // namespace zel::test
