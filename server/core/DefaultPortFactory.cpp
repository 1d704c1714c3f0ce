#include <mutex>

#include "common/ComPort.h"
#include "server/core/PortFactory.h"
#include "server/protocol/PrinterProtocolFactory.h"

namespace zel {

namespace {
std::mutex gMutex;
TPortFactory gFactory;
}  // namespace

TPortFactory DefaultPortFactory() {
  TPortFactory f;
  f.CreateSerialPort = [](std::shared_ptr<TConnectionParams> params) -> std::shared_ptr<ISerialPort> {
    return std::make_shared<TComPort>(std::move(params));
  };
  f.CreateProtocol = [](std::shared_ptr<ISerialPort> port,
                        std::shared_ptr<TConnectionParams> params) -> std::shared_ptr<IPrinterProtocol> {
    return GetProtocolFactory(params->ProtocolType).Instance(std::move(port), std::move(params));
  };
  return f;
}

TPortFactory CurrentPortFactory() {
  std::lock_guard lock(gMutex);
  if (!gFactory.CreateSerialPort || !gFactory.CreateProtocol) return DefaultPortFactory();
  return gFactory;
}

void SetPortFactory(TPortFactory factory) {
  std::lock_guard lock(gMutex);
  gFactory = std::move(factory);
}

}  // namespace zel
