#include "server/protocol/PrinterProtocolFactory.h"

#include "server/protocol/PrinterProtocol.h"
#include "server/protocol/PrinterProtocol2.h"
#include "server/protocol/PrinterProtocol3.h"

namespace zel {

std::unique_ptr<IPrinterProtocol> TPrinterProtocolStdFactory::Instance(std::shared_ptr<ISerialPort> port,
                                                                       std::shared_ptr<TConnectionParams> params) const {
  return std::make_unique<TPrinterProtocol>(std::move(port), std::move(params));
}

std::unique_ptr<IPrinterProtocol> TPrinterProtocol2Factory::Instance(std::shared_ptr<ISerialPort> port,
                                                                     std::shared_ptr<TConnectionParams> params) const {
  return std::make_unique<TPrinterProtocol2>(std::move(port), std::move(params));
}

std::unique_ptr<IPrinterProtocol> TPrinterProtocol3Factory::Instance(std::shared_ptr<ISerialPort> port,
                                                                     std::shared_ptr<TConnectionParams> params) const {
  return std::make_unique<TPrinterProtocol3>(std::move(port), std::move(params));
}

const TPrinterProtocolFactory& GetProtocolFactory(int protocolType) {
  static const TPrinterProtocolStdFactory kStd;
  static const TPrinterProtocol2Factory kNumbered;
  static const TPrinterProtocol3Factory kMultichannel;
  switch (protocolType) {
    case 1: return kNumbered;
    case 2: return kMultichannel;
    default: return kStd;
  }
}

}  // namespace zel
