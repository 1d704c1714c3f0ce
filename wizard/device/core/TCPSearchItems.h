#pragma once
// Network registers announce themselves by UDP datagrams such as
// "SN=0012345678;IP=192.168.1.50; port=7778". This parses one datagram and
// keeps the list of registers heard so far, one entry per serial number.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zel {

struct TTCPSearchItem {
  std::string Serial;
  std::string IP;
  int Port = 0;
};

inline constexpr std::size_t kMaxAnnouncementSize = 512;  // a real announcement is well under 100 bytes
inline constexpr std::size_t kMaxAnnouncedSerial = 32;
inline constexpr std::size_t kMaxTCPSearchItems = 256;

// The register a datagram announces; nothing for anything malformed: too long, no "SN", "IP" and
// "port", an empty or unprintable serial, an address that is not a dotted IPv4 address, or a port
// outside 1..65535.
std::optional<TTCPSearchItem> ParseAnnouncement(const std::uint8_t* data, std::size_t size);
inline std::optional<TTCPSearchItem> ParseAnnouncement(const std::string& text) {
  return ParseAnnouncement(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

class TTCPSearchItems {
 public:
  // Appends the register unless its serial is already listed or the list is full;
  // returns the new entry (stable while the list keeps it) or nullptr.
  const TTCPSearchItem* Add(const TTCPSearchItem& item);
  const TTCPSearchItem* FindBySerial(const std::string& serial) const;
  const TTCPSearchItem& GetItem(int index) const { return *FItems.at(static_cast<std::size_t>(index)); }
  int Count() const { return static_cast<int>(FItems.size()); }
  void Clear() { FItems.clear(); }

 private:
  std::vector<std::unique_ptr<TTCPSearchItem>> FItems;
};

}  // namespace zel
