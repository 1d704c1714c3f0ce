#include "wizard/device/core/TCPSearchItems.h"

#include <arpa/inet.h>

namespace zel {

namespace {
std::string Trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

// Text from `skip` characters after the first `key` up to the next ';' (or the end when untilSemicolon is false).
std::optional<std::string> ValueAfter(const std::string& text, const std::string& key, std::size_t skip,
                                      bool untilSemicolon) {
  const std::size_t at = text.find(key);
  if (at == std::string::npos || at + skip > text.size()) return std::nullopt;
  const std::size_t start = at + skip;
  if (!untilSemicolon) return text.substr(start);
  const std::size_t end = text.find(';', start);
  if (end == std::string::npos) return std::nullopt;
  return text.substr(start, end - start);
}

bool IsPrintable(const std::string& s) {
  for (unsigned char c : s)
    if (c <= ' ' || c >= 0x7F) return false;
  return true;
}

bool IsIPv4(const std::string& s) {
  in_addr addr{};
  return s.size() <= 15 && inet_pton(AF_INET, s.c_str(), &addr) == 1;
}

std::optional<int> PortOf(const std::string& s) {
  if (s.empty() || s.size() > 5 || s.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  const int port = std::stoi(s);
  if (port < 1 || port > 65535) return std::nullopt;
  return port;
}
}  // namespace

std::optional<TTCPSearchItem> ParseAnnouncement(const std::uint8_t* data, std::size_t size) {
  if (!data || size == 0 || size > kMaxAnnouncementSize) return std::nullopt;
  std::string text(reinterpret_cast<const char*>(data), size);
  if (text.find("SN") == std::string::npos || text.find("IP") == std::string::npos ||
      text.find("port") == std::string::npos)
    return std::nullopt;

  TTCPSearchItem item;
  const auto serial = ValueAfter(text, "SN", 3, true);
  if (!serial) return std::nullopt;
  item.Serial = *serial;
  text.erase(0, text.find(';') + 1);

  const auto ip = ValueAfter(text, "IP", 3, true);
  if (!ip) return std::nullopt;
  item.IP = *ip;
  // The address field, its ';' and the one separator character after it.
  text.erase(0, std::min(text.size(), text.find(';') + 2));

  const auto port = ValueAfter(text, "port", 5, false);
  if (!port) return std::nullopt;
  const auto number = PortOf(Trim(*port));

  if (item.Serial.empty() || item.Serial.size() > kMaxAnnouncedSerial || !IsPrintable(item.Serial) ||
      !IsIPv4(item.IP) || !number)
    return std::nullopt;
  item.Port = *number;
  return item;
}

const TTCPSearchItem* TTCPSearchItems::Add(const TTCPSearchItem& item) {
  if (FindBySerial(item.Serial) || FItems.size() >= kMaxTCPSearchItems) return nullptr;
  FItems.push_back(std::make_unique<TTCPSearchItem>(item));
  return FItems.back().get();
}

const TTCPSearchItem* TTCPSearchItems::FindBySerial(const std::string& serial) const {
  for (const auto& i : FItems)
    if (i->Serial == serial) return i.get();
  return nullptr;
}

}  // namespace zel
