#include "emulator/front/UdpAnnouncer.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace zel::emu {

TAnnounceTarget AnnounceTargetFor(const std::string& name) {
  if (name.empty() || name == "lo") return {"127.0.0.1", "127.0.0.1"};
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) throw std::runtime_error(std::string("getifaddrs: ") + std::strerror(errno));
  TAnnounceTarget target;
  for (ifaddrs* i = list; i; i = i->ifa_next) {
    if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET || name != i->ifa_name) continue;
    char buf[INET_ADDRSTRLEN];
    inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(i->ifa_addr)->sin_addr, buf, sizeof buf);
    target.ownAddress = buf;
    if ((i->ifa_flags & IFF_BROADCAST) && i->ifa_broadaddr) {
      inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(i->ifa_broadaddr)->sin_addr, buf, sizeof buf);
      target.destination = buf;
    } else {
      target.destination = target.ownAddress;
    }
    break;
  }
  freeifaddrs(list);
  if (target.ownAddress.empty()) throw std::runtime_error("interface " + name + " has no IPv4 address");
  return target;
}

std::string AnnouncementText(const std::string& serial, const std::string& ip, int tcpPort) {
  return "SN=" + serial + ";IP=" + ip + "; port=" + std::to_string(tcpPort);
}

TUdpAnnouncer::TUdpAnnouncer(TAnnounceTarget target, int tcpPort, std::function<std::string()> serial,
                             std::uint16_t udpPort, int intervalMs)
    : target_(std::move(target)), tcpPort_(tcpPort), serial_(std::move(serial)), udpPort_(udpPort),
      intervalMs_(intervalMs > 0 ? intervalMs : 1000) {}

TUdpAnnouncer::~TUdpAnnouncer() { Stop(); }

void TUdpAnnouncer::Start() {
  in_addr probe{};
  if (inet_pton(AF_INET, target_.destination.c_str(), &probe) != 1)
    throw std::runtime_error("bad announcement address " + target_.destination);
  fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) throw std::runtime_error(std::string("udp socket: ") + std::strerror(errno));
  int on = 1;
  setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
  stop_ = false;
  thread_ = std::thread([this] { Run(); });
}

void TUdpAnnouncer::Stop() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

void TUdpAnnouncer::Run() {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(udpPort_);
  inet_pton(AF_INET, target_.destination.c_str(), &to.sin_addr);
  std::unique_lock lock(mutex_);
  while (!stop_) {
    // A register without a serial number has nothing to announce yet.
    if (const std::string serial = serial_(); !serial.empty()) {
      const std::string text = AnnouncementText(serial, target_.ownAddress, tcpPort_);
      // A lost datagram is no fault: the next one follows.
      (void)sendto(fd_, text.data(), text.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }
    wake_.wait_for(lock, std::chrono::milliseconds(intervalMs_), [this] { return stop_; });
  }
}

}  // namespace zel::emu
