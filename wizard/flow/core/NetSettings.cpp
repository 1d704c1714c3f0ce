#include "wizard/flow/core/NetSettings.h"

#include <stdexcept>

#include "common/Translate.h"
#include "wizard/flow/core/OFDParams.h"

namespace zel {
namespace {

using namespace netcell;

void CheckAddress(const std::string& text, const char* label) {
  TIPv4 ip;
  if (!ParseIPv4(text, ip))
    throw std::runtime_error(Tr("Неверный адрес в поле \"") + Tr(label) + "\": \"" + text + "\"");
}

TCellWrite Int(int table, int field, std::int64_t v) { return {table, field, false, v, {}}; }
TCellWrite Str(int table, int field, const std::string& v) { return {table, field, true, 0, v}; }

void AddOctets(std::vector<TCellWrite>& out, int first, const std::string& text) {
  TIPv4 ip{};
  ParseIPv4(text, ip);
  for (int i = 0; i < 4; ++i) out.push_back(Int(kWired, first + i, ip[static_cast<std::size_t>(i)]));
}

}  // namespace

bool ParseIPv4(const std::string& text, TIPv4& out) {
  std::size_t pos = 0;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (pos >= text.size() || text[pos] != '.') return false;
      ++pos;
    }
    const std::size_t start = pos;
    int v = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < 3) v = v * 10 + (text[pos++] - '0');
    if (pos == start || v > 255) return false;
    out[static_cast<std::size_t>(i)] = v;
  }
  return pos == text.size();
}

std::string FormatIPv4(const TIPv4& ip) {
  return std::to_string(ip[0]) + "." + std::to_string(ip[1]) + "." + std::to_string(ip[2]) + "." +
         std::to_string(ip[3]);
}

void ValidateNetSettings(const TNetSettings& s) {
  if (!IsValidPortText(s.Port))
    throw std::runtime_error(Tr("Порт должен быть числом от 1 до 65535: ") + "\"" + s.Port + "\"");
  if (s.Kind == ENetKind::WiFi && s.WiFiName.empty())
    throw std::runtime_error(Tr("Введите значение \"") + Tr("Точка доступа WiFI") + "\"!");
  const bool fixed = s.Kind == ENetKind::RNDIS || !s.DHCP;
  if (!fixed) return;
  CheckAddress(s.IP, "IP адрес");
  CheckAddress(s.Mask, "Маска");
  CheckAddress(s.Gateway, "Шлюз");
  if (!s.DNS.empty()) CheckAddress(s.DNS, "DNS");
}

std::vector<TCellWrite> NetWritePlan(const TNetSettings& s) {
  ValidateNetSettings(s);
  const int port = PortOfText(s.Port);
  std::vector<TCellWrite> out;
  const bool wifi = s.Kind == ENetKind::WiFi;
  out.push_back(Int(kInterfaces, kIfEnabled, 1));
  out.push_back(Int(kInterfaces, kIfWiFi, wifi ? 1 : 0));
  if (wifi) {
    out.push_back(Str(kInterfaces, kIfSSID, s.WiFiName));
    out.push_back(Str(kInterfaces, kIfPassword, s.WiFiPassword));
    out.push_back(Int(kWiFi, kWiFiMode, s.DHCP ? 0 : 1));
    if (!s.DHCP) {
      out.push_back(Str(kWiFi, kWiFiIP, s.IP));
      out.push_back(Str(kWiFi, kWiFiMask, s.Mask));
      out.push_back(Str(kWiFi, kWiFiGateway, s.Gateway));
      if (!s.DNS.empty()) out.push_back(Str(kWiFi, kWiFiDNS, s.DNS));
    }
    out.push_back(Int(kInterfaces, kIfRNDIS, 0));
    out.push_back(Int(kInterfaces, kIfPort, port));
    return out;
  }
  const bool fixed = s.Kind == ENetKind::RNDIS || !s.DHCP;
  out.push_back(Int(kWired, kWiredMode, fixed ? 1 : 0));
  if (fixed) {
    AddOctets(out, kWiredIP, s.IP);
    AddOctets(out, kWiredGateway, s.Gateway);
    AddOctets(out, kWiredMask, s.Mask);
    if (!s.DNS.empty()) AddOctets(out, kWiredDNS, s.DNS);
  }
  out.push_back(Int(kInterfaces, kIfPort, port));
  out.push_back(Int(kInterfaces, kIfRNDIS, s.Kind == ENetKind::RNDIS ? 1 : 0));
  return out;
}

TCheckTarget CheckTargetOf(const TNetSettings& s) {
  TCheckTarget t;
  t.IsRNDIS = s.Kind == ENetKind::RNDIS;
  if (s.Kind == ENetKind::RNDIS || !s.DHCP) {
    t.IP = s.IP;
    t.TCPPort = PortOfText(s.Port);
  }
  return t;
}

}  // namespace zel
