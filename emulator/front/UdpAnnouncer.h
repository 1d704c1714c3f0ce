#pragma once
// Tells the network the register is there: every interval, one datagram
// "SN=<serial>;IP=<address>; port=<tcp port>" to the announcement port
// (16327), sent to 127.0.0.1 or as a broadcast on a chosen interface.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace zel::emu {

inline constexpr std::uint16_t kAnnouncePort = 16327;

struct TAnnounceTarget {
  std::string destination;  // where datagrams go (127.0.0.1 or a broadcast address)
  std::string ownAddress;   // the IP the announcement names
};

// Target for an interface name ("" or "lo": 127.0.0.1 to itself); throws
// std::runtime_error when the interface has no IPv4 address.
TAnnounceTarget AnnounceTargetFor(const std::string& interfaceName);

// The text of one announcement.
std::string AnnouncementText(const std::string& serial, const std::string& ip, int tcpPort);

class TUdpAnnouncer {
 public:
  // serial is asked for each time, so a serial written later shows up.
  TUdpAnnouncer(TAnnounceTarget target, int tcpPort, std::function<std::string()> serial,
                std::uint16_t udpPort = kAnnouncePort, int intervalMs = 1000);
  ~TUdpAnnouncer();
  TUdpAnnouncer(const TUdpAnnouncer&) = delete;
  TUdpAnnouncer& operator=(const TUdpAnnouncer&) = delete;

  void Start();  // throws std::runtime_error when no socket can be made
  void Stop();

 private:
  void Run();
  TAnnounceTarget target_;
  int tcpPort_;
  std::function<std::string()> serial_;
  std::uint16_t udpPort_;
  int intervalMs_;
  int fd_ = -1;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
};

}  // namespace zel::emu
