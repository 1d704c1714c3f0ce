// Finding and waiting for the register, and the logical devices (named
// connection settings).
#include <chrono>
#include <filesystem>
#include <thread>

#include "common/ComResolver.h"
#include "driver/LogicalDevices.h"
#include "driver/ProtocolTransport.h"
#include "driver/Zelvox.h"
#include "driver/ZelvoxInternal.h"
#include "driver/catalogue/StatusRec.h"

namespace zel {

namespace {

constexpr auto kWaitPause = std::chrono::milliseconds(100);

std::chrono::steady_clock::time_point DeadlineOf(std::int64_t ms) {
  return std::chrono::steady_clock::now() + std::chrono::milliseconds(ms > 0 ? ms : 30000);
}

}  // namespace

// Tries the COM number set first, then every other COM number that reaches a
// device; on each, the baud rate set first, then the others from the fastest
// common one down. Each attempt waits SearchTimeout (600 ms when not set).
int TZelvox::DoFindDevice() {
  CloseLink();
  const TCommandDef& status = *FindCommand("GetShortECRStatus");
  if (FInProcess) {
    Run(status);
    return 0;
  }
  const int current = static_cast<int>(FProps.GetInt(TPropId::ComNumber));
  std::vector<int> ports{current};
  for (int n = 1; n <= kMaxComNumber; ++n) {
    std::error_code ec;
    const std::string path = ComDevicePath(n);
    if (n != current && !path.empty() && std::filesystem::exists(path, ec)) ports.push_back(n);
  }
  std::vector<int> rates{static_cast<int>(FProps.GetInt(TPropId::BaudRate))};
  for (int r : {6, 5, 4, 3, 2, 1, 0, 7, 8, 9})
    if (r != rates.front()) rates.push_back(r);
  TLinkSettings s;
  s.Timeout = static_cast<int>(FProps.GetInt(TPropId::SearchTimeout));
  if (s.Timeout <= 0) s.Timeout = 600;
  s.ProtocolType = static_cast<int>(FProps.GetInt(TPropId::ProtocolType));
  s.MaxCommandSendCount = static_cast<int>(FProps.GetInt(TPropId::MaxCommandSendCount));
  s.MaxAnswerReadCount = static_cast<int>(FProps.GetInt(TPropId::MaxAnswerReadCount));
  const Bytes command = EncodeRequest(status, {{"Password", FProps.GetInt(TPropId::Password)}});
  for (int port : ports) {
    for (int rate : rates) {
      s.ComNumber = port;
      s.BaudRate = rate;
      auto transport = MakeSerialTransport(s);
      try {
        transport->Open();
        const Bytes answer = transport->Send(command, s.Timeout);
        if (AnswerError(status.Code, answer) < 0) continue;
      } catch (const EDriverError& e) {
        if (e.ErrorCode() == kPortUnavailable || e.ErrorCode() == kPortBusy) break;  // no use trying other rates
        continue;
      }
      transport->Close();
      FProps.SetInt(TPropId::ComNumber, port);
      FProps.SetInt(TPropId::BaudRate, rate);
      return 0;
    }
  }
  RaiseCode(kDeviceNotFound, "");
}

// Polls the register until it answers, within ConnectionTimeout.
int TZelvox::DoWaitConnection() {
  const auto deadline = DeadlineOf(FProps.GetInt(TPropId::ConnectionTimeout));
  while (true) {
    try {
      return Run("GetShortECRStatus");
    } catch (const EDriverError&) {
      CloseLink();
      if (std::chrono::steady_clock::now() >= deadline) throw;
    }
    std::this_thread::sleep_for(kWaitPause);
  }
}

// Polls the mode until no receipt is open, within ConnectionTimeout.
int TZelvox::DoWaitForCheckClose() {
  const auto deadline = DeadlineOf(FProps.GetInt(TPropId::ConnectionTimeout));
  while (true) {
    if (const int error = Run("GetShortECRStatus")) return error;
    if (FProps.GetInt(TPropId::ECRMode) != kModeReceiptOpen) return 0;
    if (std::chrono::steady_clock::now() >= deadline) RaiseCode(kReceiptWaitTimeout, "");
    std::this_thread::sleep_for(kWaitPause);
  }
}

int TZelvox::DoLogicalDevice(TMethodId id) {
  TLogicalDevices list;
  auto fromProps = [&] {
    TLogicalDevice d;
    d.Name = FProps.GetText(TPropId::LDName);
    d.ComNumber = static_cast<int>(FProps.GetInt(TPropId::LDComNumber));
    d.BaudRate = static_cast<int>(FProps.GetInt(TPropId::LDBaudrate));
    d.Timeout = static_cast<int>(FProps.GetInt(TPropId::LDTimeout));
    d.ComputerName = FProps.GetText(TPropId::LDComputerName);
    return d;
  };
  auto toProps = [&](const TLogicalDevice* d) {
    FProps.SetInt(TPropId::LDCount, static_cast<std::int64_t>(list.Items().size()));
    if (!d) return;
    FProps.SetInt(TPropId::LDNumber, d->Number);
    FProps.SetText(TPropId::LDName, d->Name);
    FProps.SetInt(TPropId::LDComNumber, d->ComNumber);
    FProps.SetInt(TPropId::LDBaudrate, d->BaudRate);
    FProps.SetInt(TPropId::LDTimeout, d->Timeout);
    FProps.SetText(TPropId::LDComputerName, d->ComputerName);
    for (std::size_t i = 0; i < list.Items().size(); ++i)
      if (list.Items()[i].Number == d->Number) FProps.SetInt(TPropId::LDIndex, static_cast<std::int64_t>(i));
  };
  const int number = static_cast<int>(FProps.GetInt(TPropId::LDNumber));
  auto require = [&](const TLogicalDevice* d) {
    if (!d) RaiseCode(kNoSuchLogicalDevice, std::to_string(number));
    return d;
  };
  switch (id) {
    case TMethodId::AddLD: {
      const int added = list.Add(fromProps());
      list.Save();
      toProps(list.Find(added));
      return 0;
    }
    case TMethodId::DeleteLD:
      if (!list.Remove(number)) RaiseCode(kNoSuchLogicalDevice, std::to_string(number));
      list.Save();
      toProps(nullptr);
      return 0;
    case TMethodId::EnumLD: {
      const std::int64_t index = FProps.GetInt(TPropId::LDIndex);
      if (index < 0 || index >= static_cast<std::int64_t>(list.Items().size()))
        RaiseCode(kNoSuchLogicalDevice, std::to_string(index));
      toProps(&list.Items()[static_cast<std::size_t>(index)]);
      return 0;
    }
    case TMethodId::GetCountLD: toProps(nullptr); return 0;
    case TMethodId::GetParamLD: toProps(require(list.Find(number))); return 0;
    case TMethodId::SetParamLD: {
      require(list.Find(number));
      TLogicalDevice d = fromProps();
      d.Number = number;
      list.Update(d);
      list.Save();
      toProps(list.Find(number));
      return 0;
    }
    case TMethodId::GetActiveLD: toProps(require(list.Find(list.Active()))); return 0;
    case TMethodId::SetActiveLD: {
      const TLogicalDevice* d = require(list.Find(number));
      list.SetActive(number);
      list.Save();
      // The active device's settings become the link settings.
      CloseLink();
      FProps.SetInt(TPropId::ComNumber, d->ComNumber);
      FProps.SetInt(TPropId::BaudRate, d->BaudRate);
      FProps.SetInt(TPropId::Timeout, d->Timeout);
      FProps.SetText(TPropId::ComputerName, d->ComputerName);
      toProps(d);
      return 0;
    }
    default: RaiseCode(kNotSupported, MethodDef(id).Name);
  }
}

}  // namespace zel
