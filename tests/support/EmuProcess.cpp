#include "tests/support/EmuProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace zel::test {

namespace {

using TClock = std::chrono::steady_clock;

int MsLeft(TClock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

TEmuProcess::TEmuProcess(const std::string& program, const std::vector<std::string>& args) {
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
  // The argument list is built before the child exists: a process with threads
  // must not allocate between fork and exec.
  std::vector<std::string> words{program};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  const int error = ::posix_spawn(&FPid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (error != 0) {
    ::close(out[0]);
    FPid = -1;
    throw std::runtime_error("cannot start " + program + ": " + std::strerror(error));
  }
  FOut = out[0];
}

TEmuProcess::~TEmuProcess() {
  if (FPid > 0) Terminate();
  ::close(FOut);
}

std::string TEmuProcess::Line(int timeoutMs) {
  std::string line;
  NextLine(line, timeoutMs);
  return line;
}

bool TEmuProcess::NextLine(std::string& line, int timeoutMs) {
  const auto deadline = TClock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (const auto nl = FBuffer.find('\n'); nl != std::string::npos) {
      line = FBuffer.substr(0, nl);
      FBuffer.erase(0, nl + 1);
      return true;
    }
    const int left = MsLeft(deadline);
    pollfd p{FOut, POLLIN, 0};
    if (left == 0 || ::poll(&p, 1, left) != 1) return false;
    char b[256];
    const ssize_t n = ::read(FOut, b, sizeof b);
    if (n <= 0) return false;
    FBuffer.append(b, static_cast<std::size_t>(n));
  }
}

bool TEmuProcess::WaitForLine(const std::string& wanted, int timeoutMs) {
  const auto deadline = TClock::now() + std::chrono::milliseconds(timeoutMs);
  for (std::string line; NextLine(line, MsLeft(deadline));)
    if (line == wanted) return true;
  return false;
}

bool TEmuProcess::WaitReady(int timeoutMs) {
  const auto deadline = TClock::now() + std::chrono::milliseconds(timeoutMs);
  for (std::string line; NextLine(line, MsLeft(deadline));) {
    if (line == "ready") return true;
    const auto blank = line.find(' ');
    FAnnounced[line.substr(0, blank)] = blank == std::string::npos ? "" : line.substr(blank + 1);
  }
  return false;
}

int TEmuProcess::TcpPort() const {
  const auto it = FAnnounced.find("tcp");
  if (it == FAnnounced.end()) return 0;
  const auto colon = it->second.rfind(':');
  return colon == std::string::npos ? 0 : std::atoi(it->second.c_str() + colon + 1);
}

int TEmuProcess::Terminate(int timeoutMs) {
  if (FPid > 0) ::kill(FPid, SIGTERM);
  return Wait(timeoutMs);
}

int TEmuProcess::Wait(int timeoutMs) {
  if (FPid <= 0) return -1;
  const auto deadline = TClock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int status = 0;
    if (::waitpid(FPid, &status, WNOHANG) == FPid) {
      FPid = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    if (MsLeft(deadline) == 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ::kill(FPid, SIGKILL);
  ::waitpid(FPid, nullptr, 0);
  FPid = -1;
  return -1;
}

}  // namespace zel::test
