#include "tests/wizard/search/EmuProcess.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace zel::test {

EmuProcess::EmuProcess(std::vector<std::string> args) {
  int out[2];
  if (pipe(out) != 0) throw std::runtime_error("pipe");
  FPid = fork();
  if (FPid == 0) {
    dup2(out[1], 1);
    close(out[0]);
    close(out[1]);
    std::vector<char*> argv{const_cast<char*>(ZEL_EMU_PATH)};
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(ZEL_EMU_PATH, argv.data());
    _exit(127);
  }
  close(out[1]);
  FOut = out[0];
  for (std::string line = Line(10000); line != "ready"; line = Line(10000)) {
    if (line.empty()) {
      Kill();
      throw std::runtime_error("zelvox-emu did not get ready");
    }
    if (line.rfind("tcp ", 0) == 0) FTcpPort = std::stoi(line.substr(line.rfind(':') + 1));
  }
}

EmuProcess::~EmuProcess() { Kill(); }

void EmuProcess::Kill() {
  if (FPid > 0) {
    kill(FPid, SIGTERM);
    waitpid(FPid, nullptr, 0);
    FPid = -1;
  }
  if (FOut >= 0) close(FOut);
  FOut = -1;
}

std::string EmuProcess::Line(int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (auto nl = FBuffer.find('\n'); nl != std::string::npos) {
      std::string line = FBuffer.substr(0, nl);
      FBuffer.erase(0, nl + 1);
      return line;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    pollfd p{FOut, POLLIN, 0};
    if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) != 1) return {};
    char b[256];
    const ssize_t n = read(FOut, b, sizeof b);
    if (n <= 0) return {};
    FBuffer.append(b, static_cast<std::size_t>(n));
  }
}

int ClosedTcpPort() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  if (s < 0 || bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) != 0)
    throw std::runtime_error("no free TCP port");
  close(s);
  return ntohs(a.sin_port);
}

}  // namespace zel::test
