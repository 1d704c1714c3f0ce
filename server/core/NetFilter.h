#pragma once
// Allow-list of client networks ("192.168.1.0/24, 127.0.0.1, ::1/128").
#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct sockaddr;

namespace zel {

class TNetFilter {
 public:
  // Comma- or blank-separated CIDR entries; an entry without a prefix length
  // is one host. Raises std::invalid_argument naming a bad entry.
  static TNetFilter Parse(const std::string& list);
  bool Empty() const { return FEntries.empty(); }
  // Everyone passes an empty list; an IPv4-mapped IPv6 peer is matched as IPv4.
  bool Allows(const sockaddr* peer) const;
  bool Allows(const std::string& address) const;  // numeric address text

 private:
  struct TEntry {
    bool V6 = false;
    std::array<std::uint8_t, 16> Net{};
    int Prefix = 0;
  };
  bool Matches(bool v6, const std::uint8_t* addr) const;
  std::vector<TEntry> FEntries;
};

}  // namespace zel
