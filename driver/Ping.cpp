#include "driver/Ping.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>

namespace zel {

namespace {

std::uint16_t Checksum(const std::uint8_t* data, std::size_t size) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i + 1 < size; i += 2) sum += static_cast<std::uint32_t>(data[i] << 8 | data[i + 1]);
  if (size % 2) sum += static_cast<std::uint32_t>(data[size - 1] << 8);
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint16_t>(~sum);
}

}  // namespace

std::string HostOfUrl(const std::string& url) {
  std::string host = url;
  if (const auto scheme = host.find("://"); scheme != std::string::npos) host.erase(0, scheme + 3);
  if (const auto path = host.find_first_of("/?#"); path != std::string::npos) host.resize(path);
  if (const auto at = host.rfind('@'); at != std::string::npos) host.erase(0, at + 1);
  if (const auto colon = host.find(':'); colon != std::string::npos) host.resize(colon);
  return host;
}

TPingResult PingHost(const std::string& url, int timeoutMs) {
  const std::string host = HostOfUrl(url);
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* list = nullptr;
  if (host.empty() || ::getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0 || !list) return {2, 0};
  sockaddr_in target{};
  std::memcpy(&target, list->ai_addr, sizeof target);
  ::freeaddrinfo(list);

  // Unprivileged echo sockets first (the kernel keeps the identifier), raw ones otherwise.
  bool raw = false;
  int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
  if (fd < 0) {
    fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    raw = true;
  }
  if (fd < 0) throw std::runtime_error(std::string("ICMP socket: ") + std::strerror(errno));

  const std::uint16_t id = static_cast<std::uint16_t>(::getpid());
  std::uint8_t packet[16] = {ICMP_ECHO, 0, 0, 0, static_cast<std::uint8_t>(id >> 8), static_cast<std::uint8_t>(id), 0, 1,
                             'z', 'e', 'l', 'v', 'o', 'x', 0, 0};
  const std::uint16_t sum = Checksum(packet, sizeof packet);
  packet[2] = static_cast<std::uint8_t>(sum >> 8);
  packet[3] = static_cast<std::uint8_t>(sum);
  const auto start = std::chrono::steady_clock::now();
  const auto deadline = start + std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 1000);
  if (::sendto(fd, packet, sizeof packet, 0, reinterpret_cast<const sockaddr*>(&target), sizeof target) < 0) {
    ::close(fd);
    return {1, 0};
  }
  while (true) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) != 1) continue;
    std::uint8_t reply[1500];
    sockaddr_in from{};
    socklen_t fromLen = sizeof from;
    const ssize_t n = ::recvfrom(fd, reply, sizeof reply, 0, reinterpret_cast<sockaddr*>(&from), &fromLen);
    if (n <= 0 || from.sin_addr.s_addr != target.sin_addr.s_addr) continue;
    std::size_t offset = 0;
    if (raw) offset = static_cast<std::size_t>(reply[0] & 0x0F) * 4;  // skip the IP header
    if (static_cast<std::size_t>(n) < offset + 8 || reply[offset] != ICMP_ECHOREPLY) continue;
    if (raw && (reply[offset + 4] != packet[4] || reply[offset + 5] != packet[5])) continue;  // another program's
    ::close(fd);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    return {0, static_cast<int>(ms.count())};
  }
  ::close(fd);
  return {1, 0};
}

}  // namespace zel
