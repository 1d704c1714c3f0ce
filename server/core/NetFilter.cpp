#include "server/core/NetFilter.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <cstring>
#include <stdexcept>

namespace zel {

namespace {

bool PrefixEqual(const std::uint8_t* a, const std::uint8_t* b, int bits) {
  const int whole = bits / 8;
  if (std::memcmp(a, b, whole) != 0) return false;
  const int rest = bits % 8;
  if (rest == 0) return true;
  const std::uint8_t mask = static_cast<std::uint8_t>(0xFF << (8 - rest));
  return (a[whole] & mask) == (b[whole] & mask);
}

}  // namespace

TNetFilter TNetFilter::Parse(const std::string& list) {
  TNetFilter filter;
  std::string token;
  auto flush = [&] {
    if (token.empty()) return;
    TEntry e;
    std::string address = token;
    int maxBits = 32;
    std::string prefixText;
    if (auto slash = token.find('/'); slash != std::string::npos) {
      address = token.substr(0, slash);
      prefixText = token.substr(slash + 1);
    }
    if (inet_pton(AF_INET, address.c_str(), e.Net.data()) == 1) {
      e.V6 = false;
    } else if (inet_pton(AF_INET6, address.c_str(), e.Net.data()) == 1) {
      e.V6 = true;
      maxBits = 128;
    } else {
      throw std::invalid_argument("bad network address: " + token);
    }
    e.Prefix = maxBits;
    if (!prefixText.empty() || token.back() == '/') {
      if (prefixText.empty() || prefixText.size() > 3 ||
          prefixText.find_first_not_of("0123456789") != std::string::npos)
        throw std::invalid_argument("bad network prefix: " + token);
      e.Prefix = std::stoi(prefixText);
      if (e.Prefix > maxBits) throw std::invalid_argument("bad network prefix: " + token);
    }
    filter.FEntries.push_back(e);
    token.clear();
  };
  for (char c : list) {
    if (c == ',' || c == ' ' || c == '\t' || c == ';')
      flush();
    else
      token.push_back(c);
  }
  flush();
  return filter;
}

bool TNetFilter::Matches(bool v6, const std::uint8_t* addr) const {
  for (const TEntry& e : FEntries)
    if (e.V6 == v6 && PrefixEqual(e.Net.data(), addr, e.Prefix)) return true;
  return false;
}

bool TNetFilter::Allows(const sockaddr* peer) const {
  if (FEntries.empty()) return true;
  if (peer->sa_family == AF_INET) {
    const auto* in = reinterpret_cast<const sockaddr_in*>(peer);
    return Matches(false, reinterpret_cast<const std::uint8_t*>(&in->sin_addr));
  }
  if (peer->sa_family == AF_INET6) {
    const auto* in6 = reinterpret_cast<const sockaddr_in6*>(peer);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&in6->sin6_addr);
    if (IN6_IS_ADDR_V4MAPPED(&in6->sin6_addr)) return Matches(false, bytes + 12);
    return Matches(true, bytes);
  }
  return false;
}

bool TNetFilter::Allows(const std::string& address) const {
  sockaddr_in6 in6{};
  sockaddr_in in{};
  if (inet_pton(AF_INET, address.c_str(), &in.sin_addr) == 1) {
    in.sin_family = AF_INET;
    return Allows(reinterpret_cast<const sockaddr*>(&in));
  }
  if (inet_pton(AF_INET6, address.c_str(), &in6.sin6_addr) == 1) {
    in6.sin6_family = AF_INET6;
    return Allows(reinterpret_cast<const sockaddr*>(&in6));
  }
  return false;
}

}  // namespace zel
