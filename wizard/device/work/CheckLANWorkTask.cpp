#include "wizard/device/work/CheckLANWorkTask.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "common/Translate.h"
#include "driver/Zelvox.h"
#include "wizard/device/search/DriverCheck.h"
#include "wizard/device/search/TextFormat.h"

namespace zel {

namespace {
constexpr int kDhcpNetworkTable = 16;  // 1 address mode (0 = DHCP), 2 DHCP state, 3..6 address
constexpr int kDhcpObtained = 10;
constexpr int kInterfaceTable = 21;  // 4 TCP port
}  // namespace

TCheckLANWorkTask::TCheckLANWorkTask(TZelvox& driver, TLANCheckTarget target)
    : FDriver(driver), FTarget(std::move(target)) {}

TCheckLANWorkTask::~TCheckLANWorkTask() { WaitFor(); }

void TCheckLANWorkTask::Cancel() {
  State().UserCancel();
  TWorkThread::Cancel();
}

void TCheckLANWorkTask::DoExecute() {
  try {
    Check();
    State().Stop(State().SuccessText(), true);
  } catch (const std::exception& e) {
    State().Stop(e.what(), false);
  }
}

void TCheckLANWorkTask::Check() {
  TTaskState& state = State();
  state.Start(2);
  CheckStop();
  std::string address;
  int port = 0;
  if (FTarget.IsRNDIS) {
    address = FTarget.IP;
    port = FTarget.TCPPort;
  } else {
    // The wizard's driver is let go whatever happens here.
    struct TDisconnect {
      TZelvox& Driver;
      ~TDisconnect() { Driver.Disconnect(); }
    } disconnect{FDriver};
    if (TableReadInt(FDriver, kDhcpNetworkTable, 1, 1) == 0) {
      state.SetText(Tr("Ожидание получения IP адреса..."));
      const std::uint64_t start = SteadyTickMs();
      std::int64_t status = 0;
      for (;;) {
        status = TableReadInt(FDriver, kDhcpNetworkTable, 1, 2);
        CheckStop();
        if (status == kDhcpObtained || SteadyTickMs() - start > static_cast<std::uint64_t>(FDhcpWaitMs)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(kDhcpPollMs));
      }
      if (status != kDhcpObtained)
        throw std::runtime_error(Tr("Не удается получить IP по DHCP ") + std::to_string(status));
    }
    state.StepProgress(1);
    std::int64_t octets[4];
    for (int i = 0; i < 4; ++i) octets[i] = TableReadInt(FDriver, kDhcpNetworkTable, 1, 3 + i);
    address = std::to_string(octets[0]) + "." + std::to_string(octets[1]) + "." + std::to_string(octets[2]) + "." +
              std::to_string(octets[3]);
    port = static_cast<int>(TableReadInt(FDriver, kInterfaceTable, 1, 4));
  }
  state.SetText(Tr("Подключение по сети... ") + address + ": " + std::to_string(port));
  FDriver.Disconnect();

  TZelvox device;  // this check's own link; released (and disconnected) on every path
  device.put_ConnectionType(6);
  device.put_ComputerName(address);
  device.put_UseIPAddress(false);
  device.put_TCPPort(port);
  device.put_TCPConnectionTimeout(kConnectTimeoutMs);
  const int result = device.GetECRStatus();
  const std::string description = device.get_ResultCodeDescription();
  device.Disconnect();
  if (result != 0)
    throw std::runtime_error(FormatText(Tr("Ошибка подключения к : %s:%d, %s \r\nПроверьте настройки сети"),
                                        {address, std::to_string(port), description}));
  state.StepProgress(1);
  state.SetSuccessText(FormatText(Tr("Связь успешно установлена: %s:%d\r\nНажмите \"Далее\""),
                                  {address, std::to_string(port)}));
  state.Success();
}

}  // namespace zel
