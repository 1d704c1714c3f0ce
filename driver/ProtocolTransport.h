#pragma once
// Transports over a byte stream and a frame protocol engine: a local serial
// port (ConnectionType 0) and a network register over TCP (ConnectionType 6).
#include <memory>
#include <string>

#include "common/ConnectionParams.h"
#include "common/SerialPort.h"
#include "driver/Transport.h"
#include "server/protocol/PrinterProtocolInterface.h"

namespace zel {

class TProtocolTransport : public ITransport {
 public:
  TProtocolTransport(std::shared_ptr<ISerialPort> port, std::shared_ptr<TConnectionParams> params, int protocolType);
  void Open() override;
  void Close() override;
  bool IsOpen() const override { return FPort->GetOpened(); }
  Bytes Send(const Bytes& command, int timeoutMs) override;

 private:
  std::shared_ptr<ISerialPort> FPort;
  std::shared_ptr<TConnectionParams> FParams;
  int FProtocolType;
  std::unique_ptr<IPrinterProtocol> FEngine;
};

struct TLinkSettings {
  int ComNumber = 1;
  int BaudRate = 6;           // index
  int Timeout = 3000;         // ms
  int ProtocolType = 0;
  int MaxCommandSendCount = 4;
  int MaxAnswerReadCount = 4;
  std::string Host;           // TCP: IPAddress, or ComputerName when UseIPAddress is false
  int TcpPort = 0;
  int TcpConnectTimeout = 5000;
};

std::unique_ptr<ITransport> MakeSerialTransport(const TLinkSettings& s);
std::unique_ptr<ITransport> MakeTcpTransport(const TLinkSettings& s);

}  // namespace zel
