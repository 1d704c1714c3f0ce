#pragma once
// Port registry and port sharing: one TPrinterPort per serial port number in
// use, shared by every client that links to it. A port owns its serial port,
// protocol engine, link parameters and command record, carries the lock a
// client may hold, and an inactivity timer that can drop a forgotten lock and
// cancel a receipt left open.
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/Bytes.h"
#include "common/ConnectionParams.h"
#include "common/SerialPort.h"
#include "server/core/Types.h"
#include "server/protocol/PrinterProtocolInterface.h"

namespace zel {

class TPrinterPort;
class TPrinterPortLink;
class TTimer;

struct TLockerRec {
  int ID = 0;
  std::uint32_t AppPID = 0;
  std::string AppName;
  std::string CompName;
};

// Device status as the timer copies it from the 0x11 answer (50 bytes).
struct TStatusRec {
  static constexpr std::size_t kSize = 50;
  static constexpr std::size_t kModeFrOffset = 15;
  std::array<std::uint8_t, kSize> Data{};
  std::uint8_t ModeFr() const { return Data[kModeFrOffset]; }
};

// The process-wide registry; lives while a TPrinterPortsLink or a port refers to it.
class TPrinterPorts {
 public:
  ~TPrinterPorts();

  int Count();
  std::shared_ptr<TPrinterPort> Items(int index);
  std::shared_ptr<TPrinterPort> ItemByID(int id);
  std::shared_ptr<TPrinterPort> ItemByPortNumber(int portNumber);
  std::vector<std::shared_ptr<TPrinterPort>> List();  // ports in order of creation

  // Held by readers that walk the list (a window filling its port list).
  void Lock();
  void Unlock();
  // Re-applies the timer settings to every port.
  void UpdateTimers();
  void SetOnChange(TListEvent handler);
  void Notify(int portID, TChangeType change);

 private:
  friend class TPrinterPortLink;
  friend class TPrinterPort;
  friend std::shared_ptr<TPrinterPorts> AcquirePrinterPorts();
  TPrinterPorts() = default;
  std::shared_ptr<TPrinterPort> Attach(int portNumber, int protocolType);
  void Detach(const std::shared_ptr<TPrinterPort>& port);
  std::shared_ptr<TPrinterPort> FindLocked(int portNumber);

  std::weak_ptr<TPrinterPorts> FSelf;
  std::recursive_mutex FCS;
  std::vector<std::shared_ptr<TPrinterPort>> FList;
  std::mutex FEventCS;
  TListEvent FOnChange;
};

// The registry, creating it when nobody holds it.
std::shared_ptr<TPrinterPorts> AcquirePrinterPorts();

class TPrinterPortsLink {
 public:
  TPrinterPortsLink() : FOwner(AcquirePrinterPorts()) {}
  TPrinterPorts& Owner() const { return *FOwner; }

 private:
  std::shared_ptr<TPrinterPorts> FOwner;
};

class TPrinterPort {
 public:
  // CreatePort: parameters with their defaults, a serial port (not opened) and
  // the engine for the protocol type, which stays fixed for the port's life.
  TPrinterPort(std::shared_ptr<TPrinterPorts> owner, int portNumber, int protocolType);
  virtual ~TPrinterPort();
  TPrinterPort(const TPrinterPort&) = delete;
  TPrinterPort& operator=(const TPrinterPort&) = delete;

  int ID() const { return FID; }
  int PortNumber() const { return FPortNumber; }
  int ProtocolType() const { return FParams->ProtocolType; }
  TLockerRec Locker();  // holder data (ID 0 when unlocked)
  bool Locked();
  int LockerID();
  std::uint32_t AppPID();
  std::string AppName();
  std::string CompName();
  bool Opened();
  bool CheckOpened();
  void SetCheckOpened(bool value);
  int BaudRate();
  void SetBaudRate(int value);
  int Timeout();
  void SetTimeout(int value);
  int LinkCount();
  TStatusRec Status();

  void OpenPort(int clientID);
  void ClosePort(int clientID);
  bool LockPort(const TLockerRec& locker);
  bool UnlockPort(int id);
  void OpenCheck(int password);
  void CloseCheck();

  // The exchange lock: held around each exchange and the reads of its results.
  void Lock() { FCS.lock(); }
  void Unlock() { FCS.unlock(); }

  virtual Bytes GetAnswer();
  virtual void SendData(std::uint32_t cmdTimeout, const Bytes& data);
  Bytes RawAnswer();
  Bytes RawTxData();
  int ResultCode();
  std::string ResultDescription() { return {}; }
  int CommandCode();  // code of the last internal request

  void ApplyTimerSettings();
  void RestartTimer();
  bool TimerRunning();

  // Error byte of an answer: A[1], or A[2] after a 0xFF prefix; 0 when absent.
  static int AnswerResultCode(const Bytes& answer);

 private:
  friend class TPrinterPorts;
  void ClientActivity(int clientID);
  bool InternalRequest(const Bytes& data);
  bool ReadStatus();
  void CancelReceipt();
  void TimerFired();
  Bytes PasswordBytes();

  const int FID;
  const int FPortNumber;
  std::shared_ptr<TPrinterPorts> FOwner;
  int FLinks = 0;  // guarded by the registry's lock

  std::mutex FStateCS;  // holder data, receipt flag, password, status
  TLockerRec FLocker;
  bool FLocked = false;
  int FPassword = 0;
  bool FCheckOpened = false;
  TStatusRec FStatus;

  std::recursive_mutex FCS;  // exchanges, the serial port and the command record
  std::shared_ptr<TConnectionParams> FParams;
  std::shared_ptr<ISerialPort> FPort;
  std::shared_ptr<IPrinterProtocol> FProtocol;
  TCommandRec FCommand;
  std::unique_ptr<TTimer> FTimer;
};

// A client's reference to a port: takes the port with that number or adds one.
// The last link of a port frees the port.
class TPrinterPortLink {
 public:
  TPrinterPortLink(int portNumber, int protocolType);
  ~TPrinterPortLink();
  TPrinterPortLink(const TPrinterPortLink&) = delete;
  TPrinterPortLink& operator=(const TPrinterPortLink&) = delete;
  TPrinterPort& Port() const { return *FOwner; }
  const std::shared_ptr<TPrinterPort>& PortPtr() const { return FOwner; }

 private:
  TPrinterPortsLink FPortsLink;
  std::shared_ptr<TPrinterPort> FOwner;
};

}  // namespace zel
