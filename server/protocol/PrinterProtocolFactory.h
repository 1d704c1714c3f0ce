#pragma once
// Engine factories: one per frame protocol, chosen by ProtocolType.
#include <memory>

#include "common/ConnectionParams.h"
#include "common/SerialPort.h"
#include "server/protocol/PrinterProtocolInterface.h"

namespace zel {

class TPrinterProtocolFactory {
 public:
  virtual ~TPrinterProtocolFactory() = default;
  // A new engine on the port; it keeps both references.
  virtual std::unique_ptr<IPrinterProtocol> Instance(std::shared_ptr<ISerialPort> port,
                                                     std::shared_ptr<TConnectionParams> params) const = 0;
};

class TPrinterProtocolStdFactory : public TPrinterProtocolFactory {
 public:
  std::unique_ptr<IPrinterProtocol> Instance(std::shared_ptr<ISerialPort> port,
                                             std::shared_ptr<TConnectionParams> params) const override;
};

class TPrinterProtocol2Factory : public TPrinterProtocolFactory {
 public:
  std::unique_ptr<IPrinterProtocol> Instance(std::shared_ptr<ISerialPort> port,
                                             std::shared_ptr<TConnectionParams> params) const override;
};

class TPrinterProtocol3Factory : public TPrinterProtocolFactory {
 public:
  std::unique_ptr<IPrinterProtocol> Instance(std::shared_ptr<ISerialPort> port,
                                             std::shared_ptr<TConnectionParams> params) const override;
};

// 1: numbered frames, 2: multichannel, anything else: the ENQ protocol.
const TPrinterProtocolFactory& GetProtocolFactory(int protocolType);

}  // namespace zel
