#include "wizard/flow/device/NetworkLink.h"

#include "common/Translate.h"

namespace zel {

using namespace netcell;

TNetSettings ReadNetSettings(TDeviceTables& dev, ENetKind kind) {
  TDisconnectGuard guard(dev.Driver());
  TNetSettings s;
  s.Kind = kind;
  if (kind == ENetKind::WiFi) {
    s.WiFiName = dev.ReadStr(kInterfaces, 1, kIfSSID);
    s.WiFiPassword = dev.ReadStr(kInterfaces, 1, kIfPassword);
    s.DHCP = dev.ReadInt(kWiFi, 1, kWiFiMode) == 0;
    s.IP = dev.ReadStr(kWiFi, 1, kWiFiIP);
    s.Mask = dev.ReadStr(kWiFi, 1, kWiFiMask);
    s.Gateway = dev.ReadStr(kWiFi, 1, kWiFiGateway);
    s.DNS = dev.ReadStr(kWiFi, 1, kWiFiDNS);
  } else {
    auto octets = [&](int first) {
      TIPv4 ip{};
      for (int i = 0; i < 4; ++i) ip[static_cast<std::size_t>(i)] = static_cast<int>(dev.ReadInt(kWired, 1, first + i));
      return FormatIPv4(ip);
    };
    s.DHCP = kind == ENetKind::Ethernet && dev.ReadInt(kWired, 1, kWiredMode) == 0;
    s.IP = octets(kWiredIP);
    s.Gateway = octets(kWiredGateway);
    s.Mask = octets(kWiredMask);
    s.DNS = octets(kWiredDNS);
  }
  s.Port = std::to_string(dev.ReadInt(kInterfaces, 1, kIfPort));
  return s;
}

TCheckTarget ApplyNetSettings(TDeviceTables& dev, const TNetSettings& s) {
  const std::vector<TCellWrite> plan = NetWritePlan(s);  // throws before anything is written
  TDisconnectGuard guard(dev.Driver());
  for (const TCellWrite& c : plan) {
    if (c.IsText)
      dev.WriteStr(c.Table, 1, c.Field, c.Text);
    else
      dev.WriteInt(c.Table, 1, c.Field, c.Int);
  }
  return CheckTargetOf(s);
}

std::string NetSettingsWrittenText(ENetKind kind) {
  switch (kind) {
    case ENetKind::Ethernet: return Tr("Настройки Ethernet успешно записаны.\r\nПерезагрузите устройство и нажмите \"ОК\"");
    case ENetKind::WiFi: return Tr("Настройки WiFi успешно записаны.\r\nПерезагрузите устройство и нажмите \"ОК\"");
    case ENetKind::RNDIS: break;
  }
  return Tr("Настройки RNDIS успешно записаны.\r\nПерезагрузите устройство и нажмите \"ОК\"");
}

}  // namespace zel
