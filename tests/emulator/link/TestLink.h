#pragma once
// Test side of a device link: a pty pair whose slave end plays the host, and
// a small echoing device behind the session.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/Bytes.h"
#include "emulator/link/PtyLine.h"
#include "emulator/link/SessionFactory.h"

namespace zel::test {

class THostEnd {
 public:
  THostEnd() {
    TPtyLine line = OpenPtyLine();
    FMaster = line.Master;
    FSlaveName = line.SlavePath;
    OpenSlave();
  }
  ~THostEnd() {
    CloseSlave();
    if (FMaster >= 0) close(FMaster);
  }
  THostEnd(const THostEnd&) = delete;
  THostEnd& operator=(const THostEnd&) = delete;

  int TakeMaster() {
    const int fd = FMaster;
    FMaster = -1;
    return fd;
  }
  void OpenSlave() {
    FSlave = open(FSlaveName.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (FSlave < 0) throw std::runtime_error("open " + FSlaveName);
    termios tio{};
    tcgetattr(FSlave, &tio);
    cfmakeraw(&tio);
    tcsetattr(FSlave, TCSANOW, &tio);
  }
  void CloseSlave() {
    if (FSlave >= 0) close(FSlave);
    FSlave = -1;
  }
  int Slave() const { return FSlave; }

  void Write(const Bytes& data) {
    if (::write(FSlave, data.data(), data.size()) != static_cast<ssize_t>(data.size()))
      throw std::runtime_error("host write");
  }
  // Up to count bytes; returns early with what came when timeoutMs ends.
  Bytes Read(std::size_t count, int timeoutMs = 1000) {
    Bytes out;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (out.size() < count) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            deadline - std::chrono::steady_clock::now()).count();
      if (left <= 0) break;
      pollfd p{FSlave, POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(left)) <= 0) break;
      if (!(p.revents & POLLIN)) break;  // hung up with nothing left to read
      std::uint8_t b[256];
      const ssize_t n = ::read(FSlave, b, std::min(sizeof b, count - out.size()));
      if (n <= 0) break;
      out.insert(out.end(), b, b + n);
    }
    return out;
  }
  // Whatever arrives until the line stays quiet for quietMs.
  Bytes ReadQuiet(int quietMs = 200) {
    Bytes out;
    for (int rounds = 0; rounds < 100; ++rounds) {
      Bytes more = Read(4096, quietMs);
      if (more.empty()) break;
      out.insert(out.end(), more.begin(), more.end());
    }
    return out;
  }

 private:
  int FMaster = -1;
  int FSlave = -1;
  std::string FSlaveName;
};

// Answers every command with its code, error 0 and the rest of the command.
class TEchoDevice {
 public:
  CommandHandler Handler() {
    return [this](const Bytes& cmd) {
      std::lock_guard lock(FLock);
      FCommands.push_back(cmd);
      if (FAnswer) return *FAnswer;
      Bytes answer;
      if (!cmd.empty()) {
        answer = {cmd[0], 0x00};
        answer.insert(answer.end(), cmd.begin() + 1, cmd.end());
      }
      return answer;
    };
  }
  void SetAnswer(Bytes answer) {
    std::lock_guard lock(FLock);
    FAnswer = std::make_unique<Bytes>(std::move(answer));
  }
  std::vector<Bytes> Commands() {
    std::lock_guard lock(FLock);
    return FCommands;
  }

 private:
  std::mutex FLock;
  std::vector<Bytes> FCommands;
  std::unique_ptr<Bytes> FAnswer;
};

// A running session of one protocol on a fresh pty.
struct TLinkFixture {
  explicit TLinkFixture(int protocolType, TSessionOptions options = {}) {
    Session = CreateDeviceSession(protocolType, Host.TakeMaster(), Device.Handler(), options);
    Session->Start();
  }
  THostEnd Host;
  TEchoDevice Device;
  std::unique_ptr<TDeviceSession> Session;
};

}  // namespace zel::test
