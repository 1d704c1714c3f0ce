#pragma once
// The register's network link to the OFD: the settings an operator enters for
// Ethernet, WiFi or RNDIS, their checks, and the table cells they become.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zel {

enum class ENetKind { Ethernet, WiFi, RNDIS };

using TIPv4 = std::array<int, 4>;

// "a.b.c.d" with four decimal octets 0..255; false for anything else.
bool ParseIPv4(const std::string& text, TIPv4& out);
std::string FormatIPv4(const TIPv4& ip);

// As typed on the pages (addresses as dotted text, port as digits).
struct TNetSettings {
  ENetKind Kind = ENetKind::Ethernet;
  bool DHCP = true;          // RNDIS always uses a fixed address
  std::string IP;
  std::string Mask;
  std::string Gateway;
  std::string DNS;
  std::string Port = "7779";
  std::string WiFiName;
  std::string WiFiPassword;
};

// One table cell to write (row 1).
struct TCellWrite {
  int Table;
  int Field;
  bool IsText;
  std::int64_t Int;
  std::string Text;
  bool operator==(const TCellWrite&) const = default;
};

// Where the connection check must look for a fixed address (the controller's IP,
// TCPPort and IsRNDIS).
struct TCheckTarget {
  std::string IP;
  int TCPPort = 0;
  bool IsRNDIS = false;
};

// Throws std::runtime_error naming the first bad field: the port always, the addresses
// when a fixed address is used, the DNS only when it is given.
void ValidateNetSettings(const TNetSettings& s);

// Every cell the settings write, in the order they are written. Validates first.
// The DNS is written too when a fixed address is used (and left alone with DHCP).
std::vector<TCellWrite> NetWritePlan(const TNetSettings& s);
TCheckTarget CheckTargetOf(const TNetSettings& s);

// Table cells of the network settings.
namespace netcell {
inline constexpr int kWired = 16, kInterfaces = 21, kWiFi = 22;
inline constexpr int kWiredMode = 1, kWiredDhcpState = 2, kWiredIP = 3, kWiredGateway = 7, kWiredMask = 11,
                     kWiredDNS = 15;
inline constexpr int kIfEnabled = 3, kIfPort = 4, kIfWiFi = 6, kIfSSID = 7, kIfPassword = 8, kIfRNDIS = 9;
inline constexpr int kWiFiMode = 1, kWiFiIP = 2, kWiFiMask = 3, kWiFiGateway = 4, kWiFiDNS = 5;
inline constexpr int kDhcpObtained = 10;
}  // namespace netcell

}  // namespace zel
