#include "driver/TcpPort.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "common/DriverError.h"
#include "common/Translate.h"

namespace zel {

namespace {

using TClock = std::chrono::steady_clock;

int MsLeft(TClock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Connects one address within timeoutMs; the socket or -1.
int ConnectOne(const addrinfo* ai, int timeoutMs) {
  const int fd = ::socket(ai->ai_family, ai->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, ai->ai_protocol);
  if (fd < 0) return -1;
  if (::connect(fd, ai->ai_addr, ai->ai_addrlen) != 0) {
    if (errno != EINPROGRESS) {
      ::close(fd);
      return -1;
    }
    pollfd p{fd, POLLOUT, 0};
    int err = 0;
    socklen_t len = sizeof err;
    if (::poll(&p, 1, timeoutMs) != 1 || ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0 || err != 0) {
      ::close(fd);
      return -1;
    }
  }
  const int one = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  return fd;
}

}  // namespace

TTcpPort::TTcpPort(std::string host, int port, int connectTimeoutMs)
    : FHost(std::move(host)), FPort(port), FConnectTimeout(connectTimeoutMs > 0 ? connectTimeoutMs : 1) {}

TTcpPort::~TTcpPort() { Close(); }

void TTcpPort::Open() {
  if (FSocket >= 0) return;
  if (FPort <= 0 || FPort > 65535 || FHost.empty())
    throw EDriverError(kNoLink, Tr("Нет связи") + ": " + FHost + ":" + std::to_string(FPort));
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  if (::getaddrinfo(FHost.c_str(), std::to_string(FPort).c_str(), &hints, &list) != 0 || !list)
    throw EDriverError(kNoLink, Tr("Нет связи") + ": " + FHost);
  const auto deadline = TClock::now() + std::chrono::milliseconds(FConnectTimeout);
  for (const addrinfo* ai = list; ai && FSocket < 0; ai = ai->ai_next) {
    const int left = MsLeft(deadline);
    if (left == 0) break;
    FSocket = ConnectOne(ai, left);
  }
  ::freeaddrinfo(list);
  if (FSocket < 0) throw EDriverError(kNoLink, Tr("Нет связи") + ": " + FHost + ":" + std::to_string(FPort));
}

void TTcpPort::Close() {
  if (FSocket >= 0) ::close(FSocket);
  FSocket = -1;
}

void TTcpPort::Purge() {
  if (FSocket < 0) return;
  std::uint8_t buf[512];
  while (::recv(FSocket, buf, sizeof buf, MSG_DONTWAIT) > 0) {
  }
}

void TTcpPort::Write(const Bytes& data) {
  if (FSocket < 0) RaiseNoLink();
  std::size_t sent = 0;
  const auto deadline = TClock::now() + std::chrono::milliseconds(FCmdTimeout + 1000);
  while (sent < data.size()) {
    const ssize_t n = ::send(FSocket, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      pollfd p{FSocket, POLLOUT, 0};
      if (::poll(&p, 1, MsLeft(deadline)) > 0) continue;
    }
    Close();
    RaiseNoLink();
  }
}

std::size_t TTcpPort::ReadSome(std::uint8_t* buf, std::size_t count, int timeoutMs) {
  if (FSocket < 0) RaiseNoLink();
  const auto deadline = TClock::now() + std::chrono::milliseconds(timeoutMs);
  std::size_t got = 0;
  while (got < count) {
    pollfd p{FSocket, POLLIN, 0};
    const int r = ::poll(&p, 1, MsLeft(deadline));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    const ssize_t n = ::recv(FSocket, buf + got, count - got, 0);
    if (n > 0) {
      got += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    Close();  // peer closed or reset: the register is gone
    RaiseNoLink();
  }
  return got;
}

Bytes TTcpPort::ReadEx(std::uint32_t count, int timeoutMs) {
  Bytes data(count);
  if (ReadSome(data.data(), count, timeoutMs) != count) RaiseNoLink();
  return data;
}

bool TTcpPort::ReadChar(std::uint8_t& c) { return ReadSome(&c, 1, static_cast<int>(FCmdTimeout)) == 1; }

}  // namespace zel
