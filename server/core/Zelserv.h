#pragma once
// TZelserv: the server object one client uses (one per connection), with the
// members of IZelserv; TClients: the process-wide list of connected clients.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "server/core/PrinterPort.h"
#include "server/core/Types.h"

namespace zel {

class TZelserv;

class TClients {
 public:
  int Count();
  TZelserv* Items(int index);        // valid while the caller holds Lock()
  TZelserv* ItemByID(int id);        // valid while the caller holds Lock()
  int IndexOf(int id);               // position in the list, -1 when absent
  void Lock() { FCS.lock(); }
  void Unlock() { FCS.unlock(); }
  void SetOnChange(TListEvent handler);

 private:
  friend class TZelserv;
  friend std::shared_ptr<TClients> AcquireClients();
  TClients() = default;
  void Add(TZelserv* client);     // when absent; notifies ctInsert
  void Remove(TZelserv* client);  // when present; notifies ctRemove
  void Notify(int id, TChangeType change);

  std::recursive_mutex FCS;
  std::vector<TZelserv*> FList;
  std::mutex FEventCS;
  TListEvent FOnChange;
};

std::shared_ptr<TClients> AcquireClients();

class TClientsLink {
 public:
  TClientsLink() : FOwner(AcquireClients()) {}
  TClients& Owner() const { return *FOwner; }

 private:
  std::shared_ptr<TClients> FOwner;
};

class TZelserv {
 public:
  TZelserv();
  ~TZelserv();  // unlocks and closes the client's port, leaves the client list
  TZelserv(const TZelserv&) = delete;
  TZelserv& operator=(const TZelserv&) = delete;

  // IZelserv, in interface order.
  int OpenPort(int portNumber, int baudRate, int timeout);
  int ClosePort();
  std::string SendData(int cmdTimeout, const std::string& txData, int& resultCode);
  std::string FileVersion() const;
  std::string ResultDescription();
  int OpenCheck(int portNumber, int password);
  int CloseCheck(int portNumber);
  int Connect(int appPID, const std::string& appName, const std::string& compName);
  std::string GetComputerName() const;
  int ResultCode();
  int LockPort(int portNumber);
  int UnlockPort();
  int AdminUnlockPort(int portNumber);
  int AdminUnlockPorts();
  int ProtocolType();
  void SetProtocolType(int value);
  std::string RawAnswer();
  std::string RawTxData();

  int ID() const { return FID; }
  std::uint32_t AppPID();
  std::string AppName();
  std::string CompName();
  TClients& Clients() const { return FClientsLink.Owner(); }
  // The port this client uses; nullptr before any port operation.
  std::shared_ptr<TPrinterPort> Port();

 private:
  int Success();
  int Failure(const std::exception& e);
  int PortLocked(TPrinterPort& port);
  TPrinterPort& PortOfClient(int portNumber);

  const int FID;
  TPrinterPortsLink FPortsLink;
  TClientsLink FClientsLink;
  std::mutex FCS;  // fields below; the object is called from one thread at a time
  std::uint32_t FAppPID = 0;
  std::string FAppName;
  std::string FCompName;
  std::unique_ptr<TPrinterPortLink> FPortLink;
  int FResultCode = 0;
  std::string FResultDescription;
  int FProtocolType = 0;
  std::string FRawAnswer;
  std::string FRawTxData;
};

}  // namespace zel
