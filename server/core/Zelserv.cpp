#include "server/core/Zelserv.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "common/DriverError.h"
#include "common/Translate.h"
#include "server/core/Hex.h"
#include "server/core/ServerTexts.h"

namespace zel {

namespace {
std::atomic<int> gNextClientID{0};
std::mutex gClientsMutex;
std::weak_ptr<TClients> gClients;
constexpr std::size_t kComputerNameMax = 15;
}  // namespace

// ---- client list -------------------------------------------------------------

std::shared_ptr<TClients> AcquireClients() {
  std::lock_guard lock(gClientsMutex);
  auto clients = gClients.lock();
  if (!clients) {
    clients.reset(new TClients());
    gClients = clients;
  }
  return clients;
}

int TClients::Count() {
  std::lock_guard lock(FCS);
  return static_cast<int>(FList.size());
}

TZelserv* TClients::Items(int index) {
  std::lock_guard lock(FCS);
  if (index < 0 || index >= static_cast<int>(FList.size())) return nullptr;
  return FList[index];
}

TZelserv* TClients::ItemByID(int id) {
  std::lock_guard lock(FCS);
  for (TZelserv* c : FList)
    if (c->ID() == id) return c;
  return nullptr;
}

int TClients::IndexOf(int id) {
  std::lock_guard lock(FCS);
  for (std::size_t i = 0; i < FList.size(); ++i)
    if (FList[i]->ID() == id) return static_cast<int>(i);
  return -1;
}

void TClients::SetOnChange(TListEvent handler) {
  std::lock_guard lock(FEventCS);
  FOnChange = std::move(handler);
}

void TClients::Notify(int id, TChangeType change) {
  TListEvent handler;
  {
    std::lock_guard lock(FEventCS);
    handler = FOnChange;
  }
  if (handler) handler(id, change);
}

void TClients::Add(TZelserv* client) {
  {
    std::lock_guard lock(FCS);
    if (std::find(FList.begin(), FList.end(), client) != FList.end()) return;
    FList.push_back(client);
  }
  Notify(client->ID(), TChangeType::ctInsert);
}

void TClients::Remove(TZelserv* client) {
  {
    std::lock_guard lock(FCS);
    auto it = std::find(FList.begin(), FList.end(), client);
    if (it == FList.end()) return;
    FList.erase(it);
  }
  Notify(client->ID(), TChangeType::ctRemove);
}

// ---- server object -----------------------------------------------------------

TZelserv::TZelserv() : FID(++gNextClientID) {}

TZelserv::~TZelserv() {
  // As if the client had called UnlockPort and ClosePort itself.
  UnlockPort();
  ClosePort();
  Clients().Remove(this);
  FPortLink.reset();
}

int TZelserv::Success() {
  FResultDescription = Tr(kTextNoErrors);
  return 0;
}

int TZelserv::Failure(const std::exception& e) {
  const auto* driverError = dynamic_cast<const EDriverError*>(&e);
  FResultCode = driverError ? driverError->ErrorCode() : kOtherFailure;
  FResultDescription = e.what();
  return FResultCode;
}

int TZelserv::PortLocked(TPrinterPort& port) {
  const TLockerRec holder = port.Locker();
  char tail[64];
  std::snprintf(tail, sizeof tail, ".%u.'", holder.AppPID);
  FResultDescription = Tr(kTextPortLocked) + " " + holder.CompName + tail + holder.AppName + "'";
  return kPortLocked;
}

TPrinterPort& TZelserv::PortOfClient(int portNumber) {
  if (FPortLink && FPortLink->Port().PortNumber() != portNumber) FPortLink.reset();
  if (!FPortLink) FPortLink = std::make_unique<TPrinterPortLink>(portNumber, FProtocolType);
  return FPortLink->Port();
}

std::shared_ptr<TPrinterPort> TZelserv::Port() {
  return FPortLink ? FPortLink->PortPtr() : nullptr;
}

int TZelserv::OpenPort(int portNumber, int baudRate, int timeout) {
  TPrinterPort* port = nullptr;
  try {
    port = &PortOfClient(portNumber);
    if (!port->Opened()) {
      port->SetBaudRate(baudRate);
      port->SetTimeout(timeout);
      port->OpenPort(FID);
    }
    return Success();
  } catch (const std::exception& e) {
    if (port) {
      try {
        port->ClosePort(FID);
      } catch (...) {
      }
    }
    return Failure(e);
  }
}

int TZelserv::ClosePort() {
  try {
    if (FPortLink) FPortLink->Port().ClosePort(FID);
    return Success();
  } catch (const std::exception& e) {
    return Failure(e);
  }
}

std::string TZelserv::SendData(int cmdTimeout, const std::string& txData, int& resultCode) {
  resultCode = Success();
  if (!FPortLink) return {};
  TPrinterPort& port = FPortLink->Port();
  try {
    const Bytes data = HexDecode(txData);
    // Opening and the exchange form one step under the port's lock: another
    // client leaving may close the shared port at any moment in between.
    port.Lock();
    struct TUnlock {
      TPrinterPort& Port;
      ~TUnlock() { Port.Unlock(); }
    } unlock{port};  // also when a step raises
    port.OpenPort(FID);
    port.SendData(static_cast<std::uint32_t>(cmdTimeout), data);
    std::string answer = HexEncode(port.GetAnswer());
    FRawAnswer = HexEncode(port.RawAnswer());
    FRawTxData = HexEncode(port.RawTxData());
    resultCode = FResultCode = port.ResultCode();
    FResultDescription = port.ResultDescription();
    return answer;
  } catch (const std::exception& e) {
    resultCode = Failure(e);
    return {};
  }
}

std::string TZelserv::FileVersion() const {
  char text[64];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", ZEL_VERSION_MAJOR, ZEL_VERSION_MINOR,
                ZEL_VERSION_PATCH, ZEL_VERSION_BUILD);
  return text;
}

std::string TZelserv::ResultDescription() { return FResultDescription; }

int TZelserv::OpenCheck(int portNumber, int password) {
  PortOfClient(portNumber).OpenCheck(password);
  return Success();
}

int TZelserv::CloseCheck(int portNumber) {
  PortOfClient(portNumber).CloseCheck();
  return Success();
}

int TZelserv::Connect(int appPID, const std::string& appName, const std::string& compName) {
  {
    std::lock_guard lock(FCS);
    FAppPID = static_cast<std::uint32_t>(appPID);
    FAppName = appName;
    FCompName = compName;
  }
  Clients().Add(this);
  return Success();
}

std::string TZelserv::GetComputerName() const {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  std::string result(name);
  if (result.size() > kComputerNameMax) result.resize(kComputerNameMax);
  return result;
}

int TZelserv::ResultCode() { return FResultCode; }

int TZelserv::LockPort(int portNumber) {
  TLockerRec locker;
  locker.ID = FID;
  {
    std::lock_guard lock(FCS);
    locker.AppPID = FAppPID;
    locker.AppName = FAppName;
    locker.CompName = FCompName;
  }
  TPrinterPort& port = PortOfClient(portNumber);
  if (port.LockPort(locker)) return Success();
  return PortLocked(port);
}

int TZelserv::UnlockPort() {
  Success();
  if (FPortLink) {
    TPrinterPort& port = FPortLink->Port();
    if (port.Locked() && !port.UnlockPort(FID)) return PortLocked(port);
  }
  return 0;
}

int TZelserv::AdminUnlockPort(int portNumber) {
  TPrinterPortsLink registry;
  if (auto port = registry.Owner().ItemByPortNumber(portNumber)) port->UnlockPort(0);
  return Success();
}

int TZelserv::AdminUnlockPorts() {
  TPrinterPortsLink registry;
  for (auto& port : registry.Owner().List()) port->UnlockPort(0);
  return Success();
}

int TZelserv::ProtocolType() { return FProtocolType; }
void TZelserv::SetProtocolType(int value) { FProtocolType = value; }
std::string TZelserv::RawAnswer() { return FRawAnswer; }
std::string TZelserv::RawTxData() { return FRawTxData; }

std::uint32_t TZelserv::AppPID() {
  std::lock_guard lock(FCS);
  return FAppPID;
}
std::string TZelserv::AppName() {
  std::lock_guard lock(FCS);
  return FAppName;
}
std::string TZelserv::CompName() {
  std::lock_guard lock(FCS);
  return FCompName;
}

}  // namespace zel
