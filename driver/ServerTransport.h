#pragma once
// TServerTransport: the register behind a device server (ConnectionType 1
// and 2), reached as a JSON-RPC client over TCP (one request per line).
// ComputerName is the server's host, optionally with ":port" (default 211;
// empty means this computer). Open sends Connect and OpenPort for ComNumber;
// each command is one SendData with the bytes as hex text.
#include <memory>
#include <string>

#include "driver/Json.h"
#include "driver/TcpPort.h"
#include "driver/Transport.h"

namespace zel {

inline constexpr int kDefaultServerPort = 211;

struct TServerSettings {
  std::string ComputerName;
  int ComNumber = 1;
  int BaudRate = 6;
  int Timeout = 3000;
  int ProtocolType = 0;
  int ConnectTimeout = 5000;
};

class TServerTransport : public ITransport {
 public:
  explicit TServerTransport(TServerSettings settings);
  void Open() override;
  void Close() override;
  bool IsOpen() const override { return FOpen && FSocket && FSocket->GetOpened(); }
  Bytes Send(const Bytes& command, int timeoutMs) override;
  void Lock() override;
  void Unlock() override;

 private:
  // One request and its answer's result; raises -9 when the server cannot be
  // reached or answers with a JSON-RPC error.
  TJson Call(const std::string& method, TJson params, int timeoutMs);
  // Raises the server's code with its description unless it is 0.
  void Check(const TJson& result);
  std::string ReadLine(int timeoutMs);

  TServerSettings FSettings;
  std::unique_ptr<TTcpPort> FSocket;
  std::string FPending;
  bool FOpen = false;
  std::int64_t FNextId = 1;
};

}  // namespace zel
