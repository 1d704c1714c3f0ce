#include "server/core/PrinterPort.h"

#include <algorithm>
#include <atomic>

#include "server/core/PortFactory.h"
#include "server/core/Settings.h"
#include "server/core/Timers.h"

namespace zel {

namespace {

std::atomic<int> gNextPortID{0};
std::mutex gRegistryMutex;
std::weak_ptr<TPrinterPorts> gRegistry;

constexpr int kInternalTimeout = 10000;
constexpr std::uint8_t kStatusCommand = 0x11;
constexpr std::uint8_t kCancelCommand = 0x88;
constexpr int kReceiptOpenMode = 8;

}  // namespace

// ---- registry --------------------------------------------------------------

std::shared_ptr<TPrinterPorts> AcquirePrinterPorts() {
  std::lock_guard lock(gRegistryMutex);
  auto registry = gRegistry.lock();
  if (!registry) {
    registry.reset(new TPrinterPorts());
    registry->FSelf = registry;
    gRegistry = registry;
  }
  return registry;
}

TPrinterPorts::~TPrinterPorts() {
  std::lock_guard lock(FEventCS);
  FOnChange = nullptr;
}

int TPrinterPorts::Count() {
  std::lock_guard lock(FCS);
  return static_cast<int>(FList.size());
}

std::shared_ptr<TPrinterPort> TPrinterPorts::Items(int index) {
  std::lock_guard lock(FCS);
  if (index < 0 || index >= static_cast<int>(FList.size())) return nullptr;
  return FList[index];
}

std::shared_ptr<TPrinterPort> TPrinterPorts::ItemByID(int id) {
  std::lock_guard lock(FCS);
  for (auto& port : FList)
    if (port->ID() == id) return port;
  return nullptr;
}

std::shared_ptr<TPrinterPort> TPrinterPorts::FindLocked(int portNumber) {
  for (auto& port : FList)
    if (port->PortNumber() == portNumber) return port;
  return nullptr;
}

std::shared_ptr<TPrinterPort> TPrinterPorts::ItemByPortNumber(int portNumber) {
  std::lock_guard lock(FCS);
  return FindLocked(portNumber);
}

std::vector<std::shared_ptr<TPrinterPort>> TPrinterPorts::List() {
  std::lock_guard lock(FCS);
  return FList;
}

void TPrinterPorts::Lock() { FCS.lock(); }
void TPrinterPorts::Unlock() { FCS.unlock(); }

void TPrinterPorts::UpdateTimers() {
  for (auto& port : List()) port->ApplyTimerSettings();
}

void TPrinterPorts::SetOnChange(TListEvent handler) {
  std::lock_guard lock(FEventCS);
  FOnChange = std::move(handler);
}

void TPrinterPorts::Notify(int portID, TChangeType change) {
  TListEvent handler;
  {
    std::lock_guard lock(FEventCS);
    handler = FOnChange;
  }
  if (handler) handler(portID, change);
}

std::shared_ptr<TPrinterPort> TPrinterPorts::Attach(int portNumber, int protocolType) {
  std::shared_ptr<TPrinterPort> port;
  bool created = false;
  {
    std::lock_guard lock(FCS);
    port = FindLocked(portNumber);
    if (!port) {
      port = std::make_shared<TPrinterPort>(FSelf.lock(), portNumber, protocolType);
      FList.push_back(port);
      created = true;
    }
    ++port->FLinks;
  }
  if (created) Notify(port->ID(), TChangeType::ctInsert);
  return port;
}

void TPrinterPorts::Detach(const std::shared_ptr<TPrinterPort>& port) {
  {
    std::lock_guard lock(FCS);
    if (--port->FLinks > 0) return;
    FList.erase(std::remove(FList.begin(), FList.end(), port), FList.end());
  }
  Notify(port->ID(), TChangeType::ctRemove);
}

// ---- port ------------------------------------------------------------------

TPrinterPort::TPrinterPort(std::shared_ptr<TPrinterPorts> owner, int portNumber, int protocolType)
    : FID(++gNextPortID), FPortNumber(portNumber), FOwner(std::move(owner)) {
  FParams = std::make_shared<TConnectionParams>();
  FParams->ComNumber = portNumber;
  FParams->ProtocolType = protocolType;
  const TPortFactory factory = CurrentPortFactory();
  FPort = factory.CreateSerialPort(FParams);
  FProtocol = factory.CreateProtocol(FPort, FParams);
  ApplyTimerSettings();
}

TPrinterPort::~TPrinterPort() {
  FTimer.reset();  // waits for a running timer event
  try {
    std::lock_guard lock(FCS);
    FPort->Close();
  } catch (...) {
  }
}

TLockerRec TPrinterPort::Locker() {
  std::lock_guard lock(FStateCS);
  return FLocker;
}
bool TPrinterPort::Locked() {
  std::lock_guard lock(FStateCS);
  return FLocked;
}
int TPrinterPort::LockerID() { return Locker().ID; }
std::uint32_t TPrinterPort::AppPID() { return Locker().AppPID; }
std::string TPrinterPort::AppName() { return Locker().AppName; }
std::string TPrinterPort::CompName() { return Locker().CompName; }

bool TPrinterPort::Opened() {
  std::lock_guard lock(FCS);
  return FPort->GetOpened();
}

bool TPrinterPort::CheckOpened() {
  std::lock_guard lock(FStateCS);
  return FCheckOpened;
}
void TPrinterPort::SetCheckOpened(bool value) {
  std::lock_guard lock(FStateCS);
  FCheckOpened = value;
}

int TPrinterPort::BaudRate() {
  std::lock_guard lock(FCS);
  return FParams->BaudRate;
}
void TPrinterPort::SetBaudRate(int value) {
  std::lock_guard lock(FCS);
  FParams->BaudRate = value;
}
int TPrinterPort::Timeout() {
  std::lock_guard lock(FCS);
  return FParams->Timeout;
}
void TPrinterPort::SetTimeout(int value) {
  std::lock_guard lock(FCS);
  FParams->Timeout = value;
}

int TPrinterPort::LinkCount() {
  std::lock_guard lock(FOwner->FCS);
  return FLinks;
}

TStatusRec TPrinterPort::Status() {
  std::lock_guard lock(FStateCS);
  return FStatus;
}

void TPrinterPort::ClientActivity(int clientID) {
  bool holder;
  {
    std::lock_guard lock(FStateCS);
    holder = FLocked && FLocker.ID == clientID;
  }
  if (holder) RestartTimer();
}

void TPrinterPort::OpenPort(int clientID) {
  ClientActivity(clientID);
  {
    std::lock_guard lock(FCS);
    if (!FPort->GetOpened()) FPort->Open();
  }
  ApplyTimerSettings();
}

void TPrinterPort::ClosePort(int clientID) {
  ClientActivity(clientID);
  {
    std::lock_guard lock(FCS);
    FPort->Close();
  }
  if (FTimer) FTimer->SetEnabled(false);
}

bool TPrinterPort::LockPort(const TLockerRec& locker) {
  {
    std::lock_guard lock(FStateCS);
    if (FLocked && FLocker.ID != locker.ID) return false;
  }
  RestartTimer();
  {
    std::lock_guard lock(FStateCS);
    // Re-checked: another client may have taken the lock meanwhile.
    if (FLocked && FLocker.ID != locker.ID) return false;
    FLocker = locker;
    FLocked = true;
  }
  FOwner->Notify(FID, TChangeType::ctChange);
  return true;
}

bool TPrinterPort::UnlockPort(int id) {
  {
    std::lock_guard lock(FStateCS);
    if (id != 0 && id != FLocker.ID) return false;
    FLocker.ID = 0;
    FLocked = false;
  }
  FOwner->Notify(FID, TChangeType::ctChange);
  return true;
}

void TPrinterPort::OpenCheck(int password) {
  std::lock_guard lock(FStateCS);
  FCheckOpened = true;
  FPassword = password;
}

void TPrinterPort::CloseCheck() {
  std::lock_guard lock(FStateCS);
  FCheckOpened = false;
}

Bytes TPrinterPort::GetAnswer() {
  std::lock_guard lock(FCS);
  return FCommand.Answer;
}
Bytes TPrinterPort::RawAnswer() {
  std::lock_guard lock(FCS);
  return FCommand.RxData;
}
Bytes TPrinterPort::RawTxData() {
  std::lock_guard lock(FCS);
  return FCommand.TxData;
}
int TPrinterPort::CommandCode() {
  std::lock_guard lock(FCS);
  return FCommand.Code;
}

int TPrinterPort::AnswerResultCode(const Bytes& a) {
  if (!a.empty() && a[0] == 0xFF) return a.size() >= 3 ? a[2] : 0;
  return a.size() >= 2 ? a[1] : 0;
}

int TPrinterPort::ResultCode() {
  std::lock_guard lock(FCS);
  return AnswerResultCode(FCommand.Answer);
}

void TPrinterPort::SendData(std::uint32_t cmdTimeout, const Bytes& data) {
  RestartTimer();
  std::lock_guard lock(FCS);
  FCommand.Timeout = static_cast<int>(std::min<std::uint32_t>(cmdTimeout, INT32_MAX));
  FCommand.Command = data;
  FProtocol->Send(FCommand);
}

// ---- timer -----------------------------------------------------------------

void TPrinterPort::ApplyTimerSettings() {
  const TServerSettings settings = ServerSettings();
  if (!FTimer) {
    FTimer = std::make_unique<TTimer>();
    FTimer->SetOnTimer([this](TTimer&) { TimerFired(); });
  }
  FTimer->SetInterval(settings.CloseTimeout);
  FTimer->SetEnabled(settings.AutoPortClose);
}

void TPrinterPort::RestartTimer() {
  if (FTimer) FTimer->SetEnabled(false);
  ApplyTimerSettings();
}

bool TPrinterPort::TimerRunning() { return FTimer && FTimer->Running(); }

Bytes TPrinterPort::PasswordBytes() {
  std::lock_guard lock(FStateCS);
  const auto p = static_cast<std::uint32_t>(FPassword);
  return {static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 8),
          static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 24)};
}

// Runs with FCS held.
bool TPrinterPort::InternalRequest(const Bytes& data) {
  FCommand.Command = data;
  FCommand.Timeout = kInternalTimeout;
  FProtocol->Send(FCommand);
  const Bytes& a = FCommand.Answer;
  if (a.size() < 2) return false;
  const bool extended = a[0] == 0xFF;
  if (extended && a.size() < 3) return false;
  FCommand.Code = extended ? (a[0] | (a[1] << 8)) : a[0];
  if (a[extended ? 2 : 1] != 0) return false;
  if (FCommand.Code == kStatusCommand) {
    std::lock_guard lock(FStateCS);
    const std::size_t n = std::min(a.size() - 2, TStatusRec::kSize);
    std::copy_n(a.begin() + 2, n, FStatus.Data.begin());
  }
  return true;
}

bool TPrinterPort::ReadStatus() {
  Bytes request{kStatusCommand};
  const Bytes password = PasswordBytes();
  request.insert(request.end(), password.begin(), password.end());
  return InternalRequest(request);
}

void TPrinterPort::CancelReceipt() {
  Bytes request{kCancelCommand};
  const Bytes password = PasswordBytes();
  request.insert(request.end(), password.begin(), password.end());
  InternalRequest(request);
  SetCheckOpened(false);
}

void TPrinterPort::TimerFired() {
  const TServerSettings settings = ServerSettings();
  if (settings.AutoRecCancel && CheckOpened()) {
    // Timer requests are exchanges like any other: they take the port's lock.
    std::lock_guard lock(FCS);
    try {
      if (FPort->GetOpened() && ReadStatus() && (Status().ModeFr() & 0x0F) == kReceiptOpenMode)
        CancelReceipt();
    } catch (...) {
      // A failed automatic cancel must not disturb the timer.
    }
  }
  if (settings.AutoPortClose) UnlockPort(0);
}

// ---- link ------------------------------------------------------------------

TPrinterPortLink::TPrinterPortLink(int portNumber, int protocolType)
    : FOwner(FPortsLink.Owner().Attach(portNumber, protocolType)) {}

TPrinterPortLink::~TPrinterPortLink() { FPortsLink.Owner().Detach(FOwner); }

}  // namespace zel
