#include "emulator/front/TcpListener.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace zel::emu {
namespace {
[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error(what + ": " + std::strerror(errno)); }
}  // namespace

TTcpListener::~TTcpListener() {
  Stop();
  if (fd_ >= 0) close(fd_);
}

void TTcpListener::Listen(const std::string& address, std::uint16_t port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  if (inet_pton(AF_INET, address.c_str(), &a.sin_addr) != 1) throw std::runtime_error("bad listen address " + address);
  fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) Fail("socket");
  int on = 1;
  setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  if (bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) Fail("bind " + address + ":" + std::to_string(port));
  if (listen(fd_, 8) != 0) Fail("listen");
  socklen_t len = sizeof a;
  getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
  port_ = ntohs(a.sin_port);
}

void TTcpListener::Start(TAccept onAccept) {
  if (fd_ < 0) throw std::runtime_error("the listener is not listening");
  if (pipe2(wake_, O_CLOEXEC) != 0) Fail("pipe");
  onAccept_ = std::move(onAccept);
  thread_ = std::thread([this] { Run(); });
}

void TTcpListener::Stop() {
  if (thread_.joinable()) {
    const char b = 0;
    (void)!write(wake_[1], &b, 1);
    thread_.join();
  }
  for (int& w : wake_)
    if (w >= 0) close(w), w = -1;
}

void TTcpListener::Run() {
  for (;;) {
    pollfd p[2] = {{fd_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    if (poll(p, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (p[1].revents) return;
    if (!(p[0].revents & POLLIN)) continue;
    const int c = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (c < 0) continue;  // the client gave up before we took it
    int on = 1;
    setsockopt(c, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    onAccept_(c);
  }
}

}  // namespace zel::emu
