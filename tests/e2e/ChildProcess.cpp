#include "tests/e2e/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>

namespace zel::test {

namespace {
using Clock = std::chrono::steady_clock;

int MillisLeft(Clock::time_point deadline) {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return ms < 0 ? 0 : static_cast<int>(ms);
}
}  // namespace

TChildProcess::TChildProcess(const std::string& program, const std::vector<std::string>& args,
                             const std::vector<std::string>& env) {
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  FPid = ::fork();
  if (FPid == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::dup2(out[1], STDERR_FILENO);
    for (const auto& e : env) {
      const auto eq = e.find('=');
      if (eq == std::string::npos)
        ::unsetenv(e.c_str());
      else
        ::setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
    }
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  if (FPid < 0) {
    ::close(out[0]);
    throw std::runtime_error("fork failed");
  }
  FOut = out[0];
}

TChildProcess::~TChildProcess() {
  if (FPid > 0) {
    ::kill(FPid, SIGTERM);
    WaitExit(5000);  // kills it when it does not stop in time
  }
  if (FOut >= 0) ::close(FOut);
}

bool TChildProcess::ReadSome(int timeoutMs) {
  if (FOut < 0) return false;
  pollfd p{FOut, POLLIN, 0};
  if (::poll(&p, 1, timeoutMs) != 1) return false;
  char buf[4096];
  const ssize_t n = ::read(FOut, buf, sizeof buf);
  if (n <= 0) {
    ::close(FOut);
    FOut = -1;
    return false;
  }
  FOutput.append(buf, static_cast<std::size_t>(n));
  return true;
}

bool TChildProcess::WaitFor(const std::string& text, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (FOutput.find(text) == std::string::npos && FOut >= 0 && Clock::now() < deadline)
    ReadSome(std::min(MillisLeft(deadline), 100));
  return FOutput.find(text) != std::string::npos;
}

int TChildProcess::WaitExit(int timeoutMs) {
  if (FPid <= 0) return FStatus;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    while (ReadSome(0)) {
    }
    int status = 0;
    if (::waitpid(FPid, &status, WNOHANG) == FPid) {
      while (ReadSome(50)) {
      }
      FPid = -1;
      FStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return FStatus;
    }
    if (Clock::now() >= deadline) {
      ::kill(FPid, SIGKILL);
      ::waitpid(FPid, nullptr, 0);
      FPid = -1;
      return -1;
    }
    ReadSome(std::min(MillisLeft(deadline), 20));
  }
}

TRunResult RunProgram(const std::string& program, const std::vector<std::string>& args, int timeoutMs) {
  TChildProcess child(program, args);
  TRunResult r;
  r.Status = child.WaitExit(timeoutMs);
  r.Output = child.Output();
  return r;
}

}  // namespace zel::test
