#include "server/core/TcpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "common/Logger.h"
#include "common/Translate.h"
#include "server/core/Rpc.h"
#include "server/core/ServerTexts.h"
#include "server/core/Settings.h"
#include "server/core/Zelserv.h"

namespace zel {

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void RaiseSocketError(const std::string& what, int error) {
  throw std::runtime_error(what + ": " + std::strerror(error));
}

void SetOption(int fd, int level, int name, int value) {
  setsockopt(fd, level, name, &value, sizeof value);
}

// Finds half-open peers: first probe after 60 s of silence, then every 10 s, 5 tries.
void EnableKeepAlive(int fd) {
  SetOption(fd, SOL_SOCKET, SO_KEEPALIVE, 1);
  SetOption(fd, IPPROTO_TCP, TCP_KEEPIDLE, 60);
  SetOption(fd, IPPROTO_TCP, TCP_KEEPINTVL, 10);
  SetOption(fd, IPPROTO_TCP, TCP_KEEPCNT, 5);
}

// Writes the whole text; false when the peer is gone or does not read for 10 s.
bool SendAll(int fd, const std::string& text) {
  std::size_t sent = 0;
  while (sent < text.size()) {
    const ssize_t n = send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return false;  // gone, or not reading for the send timeout
  }
  return true;
}

std::string Busy() {
  return "{\"jsonrpc\":\"2.0\",\"id\":null,\"error\":{\"code\":-32000,\"message\":\"Too many connections\"}}\n";
}

}  // namespace

TTCPServer::TTCPServer() = default;

TTCPServer::~TTCPServer() {
  for (;;) {
    try {
      Stop();
      return;
    } catch (...) {
      // Connections busy with a device exchange: wait for them.
    }
  }
}

void TTCPServer::SetLimits(const std::string& allowedNetworks, int maxConnections, int maxLineLength) {
  TNetFilter filter = TNetFilter::Parse(allowedNetworks);
  std::lock_guard lock(FCS);
  FFilter = std::move(filter);
  FMaxConnections = maxConnections > 0 ? maxConnections : 1;
  FMaxLine = static_cast<std::size_t>(maxLineLength > 0 ? maxLineLength : 1);
}

void TTCPServer::Configure(const TServerSettings& s) {
  SetPort(s.TCPPort);
  SetEnabled(s.TCPEnabled);
  SetBindAddress(s.BindAddress);
  SetLimits(s.AllowedNetworks, s.MaxConnections, s.MaxLineLength);
}

bool TTCPServer::Active() {
  std::lock_guard lock(FCS);
  return FListener != nullptr;
}

int TTCPServer::BoundPort() {
  std::lock_guard lock(FCS);
  return FListener ? FListener->BoundPort : 0;
}

int TTCPServer::ConnectionCount() {
  std::lock_guard lock(FCS);
  return FLive;
}

bool TTCPServer::Update(const TConfirm& confirm) {
  bool changed;
  int live;
  {
    std::lock_guard lock(FCS);
    changed = !FListener ? FEnabled
                         : (FListener->Port != FPort || FListener->BindAddress != FBindAddress || !FEnabled);
    live = FLive;
  }
  if (!changed) return true;  // a running listener with unchanged settings keeps its clients
  if (Active() && live > 0 && confirm && !confirm(live)) return false;
  Stop();
  if (FEnabled) Start();
  return true;
}

void TTCPServer::Start() {
  if (FPort < 0 || FPort > 65535) throw std::runtime_error("TCP port out of range: " + std::to_string(FPort));
  sockaddr_storage address{};
  socklen_t length = 0;
  int family = AF_INET6;
  if (FBindAddress.empty()) {
    auto* in6 = reinterpret_cast<sockaddr_in6*>(&address);
    in6->sin6_family = AF_INET6;
    in6->sin6_addr = in6addr_any;
    in6->sin6_port = htons(static_cast<std::uint16_t>(FPort));
    length = sizeof(sockaddr_in6);
  } else {
    auto* in = reinterpret_cast<sockaddr_in*>(&address);
    auto* in6 = reinterpret_cast<sockaddr_in6*>(&address);
    if (inet_pton(AF_INET, FBindAddress.c_str(), &in->sin_addr) == 1) {
      family = AF_INET;
      in->sin_family = AF_INET;
      in->sin_port = htons(static_cast<std::uint16_t>(FPort));
      length = sizeof(sockaddr_in);
    } else if (inet_pton(AF_INET6, FBindAddress.c_str(), &in6->sin6_addr) == 1) {
      in6->sin6_family = AF_INET6;
      in6->sin6_port = htons(static_cast<std::uint16_t>(FPort));
      length = sizeof(sockaddr_in6);
    } else {
      throw std::runtime_error("bad bind address: " + FBindAddress);
    }
  }
  int fd = socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0 && FBindAddress.empty() && errno == EAFNOSUPPORT) {
    // No IPv6 on this host: every IPv4 address instead.
    family = AF_INET;
    address = {};
    auto* in = reinterpret_cast<sockaddr_in*>(&address);
    in->sin_family = AF_INET;
    in->sin_addr.s_addr = htonl(INADDR_ANY);
    in->sin_port = htons(static_cast<std::uint16_t>(FPort));
    length = sizeof(sockaddr_in);
    fd = socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
  }
  if (fd < 0) RaiseSocketError("socket", errno);
  SetOption(fd, SOL_SOCKET, SO_REUSEADDR, 1);
  if (family == AF_INET6 && FBindAddress.empty()) SetOption(fd, IPPROTO_IPV6, IPV6_V6ONLY, 0);
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(fd, 64) != 0) {
    const int error = errno;
    close(fd);
    RaiseSocketError("TCP port " + std::to_string(FPort), error);
  }
  sockaddr_storage bound{};
  socklen_t boundLength = sizeof bound;
  getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &boundLength);
  auto listener = std::make_unique<TListener>();
  listener->Fd = fd;
  listener->WakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  listener->Port = FPort;
  listener->BindAddress = FBindAddress;
  listener->BoundPort = ntohs(bound.ss_family == AF_INET ? reinterpret_cast<sockaddr_in*>(&bound)->sin_port
                                                         : reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port);
  if (listener->WakeFd < 0) {
    const int error = errno;
    close(fd);
    RaiseSocketError("eventfd", error);
  }
  TListener& ref = *listener;
  {
    std::lock_guard lock(FCS);
    FListener = std::move(listener);
  }
  ref.Thread = std::thread([this, &ref] { AcceptLoop(ref); });
  TLogger("TTCPServer").Info("listening on port " + std::to_string(ref.BoundPort));
}

void TTCPServer::Stop() {
  std::unique_lock lock(FCS);
  if (!FListener) return;
  for (auto& c : FConnections)
    if (c->Fd >= 0) shutdown(c->Fd, SHUT_RDWR);
  if (!FConnectionEnded.wait_for(lock, FStopTimeout, [this] { return FLive == 0; }))
    throw std::runtime_error(Tr(kTextCloseTimeout));
  lock.unlock();
  CloseListener();
  Reap(true);
}

void TTCPServer::CloseListener() {
  std::unique_ptr<TListener> listener;
  {
    std::lock_guard lock(FCS);
    listener = std::move(FListener);
  }
  if (!listener) return;
  const std::uint64_t one = 1;
  if (write(listener->WakeFd, &one, sizeof one) < 0) {
    // The accept loop also ends when the socket is shut down.
  }
  shutdown(listener->Fd, SHUT_RDWR);
  if (listener->Thread.joinable()) listener->Thread.join();
  close(listener->Fd);
  close(listener->WakeFd);
}

void TTCPServer::Reap(bool all) {
  std::list<std::shared_ptr<TConnection>> finished;
  {
    std::lock_guard lock(FCS);
    for (auto it = FConnections.begin(); it != FConnections.end();) {
      if (all || (*it)->Done) {
        finished.push_back(*it);
        it = FConnections.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (auto& c : finished)
    if (c->Thread.joinable()) c->Thread.join();
}

void TTCPServer::AcceptLoop(TListener& listener) {
  for (;;) {
    pollfd fds[2] = {{listener.Fd, POLLIN, 0}, {listener.WakeFd, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents) return;
    if (!(fds[0].revents & POLLIN)) {
      if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) return;
      continue;
    }
    sockaddr_storage peer{};
    socklen_t peerLength = sizeof peer;
    const int fd = accept4(listener.Fd, reinterpret_cast<sockaddr*>(&peer), &peerLength, SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED || errno == EAGAIN) continue;
      if (errno == EMFILE || errno == ENFILE) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        continue;
      }
      return;
    }
    Reap(false);
    std::unique_lock lock(FCS);
    if (!FFilter.Allows(reinterpret_cast<sockaddr*>(&peer))) {
      lock.unlock();
      close(fd);
      continue;
    }
    if (FLive >= FMaxConnections) {
      lock.unlock();
      SendAll(fd, Busy());
      close(fd);
      continue;
    }
    EnableKeepAlive(fd);
    SetOption(fd, IPPROTO_TCP, TCP_NODELAY, 1);
    const timeval sendTimeout{10, 0};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &sendTimeout, sizeof sendTimeout);
    auto connection = std::make_shared<TConnection>();
    connection->Fd = fd;
    ++FLive;
    FConnections.push_back(connection);
    connection->Thread = std::thread([this, connection] { Serve(connection); });
  }
}

void TTCPServer::Serve(const std::shared_ptr<TConnection>& connection) {
  const int fd = connection->Fd;
  {
    TZelserv server;
    TRpcSession session(server);
    std::string buffer;
    char chunk[4096];
    auto lastActivity = Clock::now();
    bool open = true;
    while (open) {
      std::size_t maxLine;
      std::chrono::milliseconds idleLimit, idleCheck;
      {
        std::lock_guard lock(FCS);
        maxLine = FMaxLine;
        idleLimit = FIdleLimit;
        idleCheck = FIdleCheck;
      }
      pollfd p{fd, POLLIN, 0};
      const int ready = poll(&p, 1, static_cast<int>(idleCheck.count()));
      if (ready < 0 && errno == EINTR) continue;
      if (ready == 0) {
        if (Clock::now() - lastActivity > idleLimit) break;  // idle too long
        continue;
      }
      const ssize_t n = recv(fd, chunk, sizeof chunk, 0);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      lastActivity = Clock::now();
      buffer.append(chunk, static_cast<std::size_t>(n));
      std::size_t start = 0;
      for (std::size_t end; open && (end = buffer.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string_view line(buffer.data() + start, end - start);
        if (line.size() > maxLine) {
          SendAll(fd, TRpcSession::OversizedResponse() + "\n");
          open = false;
          break;
        }
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
        const std::string response = session.Handle(line);
        if (!response.empty() && !SendAll(fd, response + "\n")) open = false;
        lastActivity = Clock::now();
      }
      buffer.erase(0, start);
      if (open && buffer.size() > maxLine) {
        SendAll(fd, TRpcSession::OversizedResponse() + "\n");
        open = false;
      }
    }
    // The server object goes here: the client's lock is dropped and its port closed.
  }
  std::lock_guard lock(FCS);
  close(fd);  // under the lock: Stop() shuts down only descriptors still open
  connection->Fd = -1;
  connection->Done = true;
  --FLive;
  FConnectionEnded.notify_all();
}

}  // namespace zel
