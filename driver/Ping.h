#pragma once
// One ICMP echo to a host (IPv4): the round trip in ms, or why none came.
#include <string>

namespace zel {

struct TPingResult {
  int Result = 0;  // 0 answered, 1 no answer in time, 2 host not found
  int TimeMs = 0;  // round trip when answered
};

// host may be a URL ("http://host:port/path"); only the host part is used.
// Throws std::runtime_error when the system refuses ICMP sockets.
TPingResult PingHost(const std::string& host, int timeoutMs);
std::string HostOfUrl(const std::string& url);

}  // namespace zel
