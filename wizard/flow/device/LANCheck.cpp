#include "wizard/flow/device/LANCheck.h"

#include <cstdio>
#include <thread>

#include "common/Translate.h"

namespace zel {
namespace {

using namespace netcell;

std::string Format(const std::string& fmt, const std::string& address, int port, const std::string& extra = {}) {
  char buf[1024];
  std::snprintf(buf, sizeof buf, fmt.c_str(), address.c_str(), port, extra.c_str());
  return buf;
}

void WaitForDhcp(TDeviceTables& dev, TTaskState& state, const TLANCheckOptions& o) {
  state.SetText(Tr("Ожидание получения IP адреса..."));
  const std::uint64_t start = SteadyTickMs();
  std::int64_t status = 0;
  for (;;) {
    status = dev.ReadInt(kWired, 1, kWiredDhcpState);
    state.CheckStopFlag();
    const std::uint64_t now = SteadyTickMs();
    if (status == kDhcpObtained || (now > start ? now - start : start - now) > o.DhcpTimeoutMs) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(o.PollMs));
  }
  if (status != kDhcpObtained) throw std::runtime_error(Tr("Не удается получить IP по DHCP ") + std::to_string(status));
}

}  // namespace

int ConnectOverTCP(const std::string& address, int port, int timeoutMs, std::string& error) {
  TZelvox link;
  link.put_ConnectionType(6);
  link.put_ComputerName(address);
  link.put_TCPPort(port);
  link.put_TCPConnectionTimeout(timeoutMs);
  const int rc = link.GetECRStatus();
  error = link.get_ResultCodeDescription();
  link.Disconnect();
  return rc;
}

void RunLANCheck(TDeviceTables& dev, TTaskState& state, const TCheckTarget& target, const TLANCheckOptions& o) {
  try {
    state.Start(2);
    std::string address = target.IP;
    int port = target.TCPPort;
    if (!target.IsRNDIS) {
      TDisconnectGuard guard(dev.Driver());
      if (dev.ReadInt(kWired, 1, kWiredMode) == 0) WaitForDhcp(dev, state, o);
      state.StepProgress(1);
      TIPv4 ip{};
      for (int i = 0; i < 4; ++i) ip[static_cast<std::size_t>(i)] = static_cast<int>(dev.ReadInt(kWired, 1, kWiredIP + i));
      address = FormatIPv4(ip);
      port = static_cast<int>(dev.ReadInt(kInterfaces, 1, kIfPort));
    }
    state.SetText(Tr("Подключение по сети... ") + address + ": " + std::to_string(port));
    std::string error;
    const int rc = o.Connect ? o.Connect(address, port, o.ConnectTimeoutMs, error)
                             : ConnectOverTCP(address, port, o.ConnectTimeoutMs, error);
    if (rc != 0)
      throw std::runtime_error(Format(Tr("Ошибка подключения к : %s:%d, %s \r\nПроверьте настройки сети"), address, port, error));
    state.StepProgress(1);
    state.SetSuccessText(Format(Tr("Связь успешно установлена: %s:%d\r\nНажмите \"Далее\""), address, port));
    state.Success();
  } catch (const std::exception& e) {
    state.Stop(e.what(), false);
  }
}

}  // namespace zel
