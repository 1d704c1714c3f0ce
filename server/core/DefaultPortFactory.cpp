#include <mutex>
#include <stdexcept>

#include "server/core/PortFactory.h"

#if __has_include("common/ComPort.h") && __has_include("server/protocol/PrinterProtocolFactory.h")
#include "common/ComPort.h"
#include "server/protocol/PrinterProtocolFactory.h"
#define ZEL_HAVE_ENGINES 1
#endif

namespace zel {

namespace {
std::mutex gMutex;
TPortFactory gFactory;
}  // namespace

TPortFactory DefaultPortFactory() {
  TPortFactory f;
#ifdef ZEL_HAVE_ENGINES
  f.CreateSerialPort = [](std::shared_ptr<TConnectionParams> params) -> std::shared_ptr<ISerialPort> {
    return std::make_shared<TComPort>(std::move(params));
  };
  f.CreateProtocol = [](std::shared_ptr<ISerialPort> port, std::shared_ptr<TConnectionParams> params)
      -> std::shared_ptr<IPrinterProtocol> {
    return std::shared_ptr<IPrinterProtocol>(
        GetProtocolFactory(params->ProtocolType)->Instance(std::move(port), params));
  };
#else
  f.CreateSerialPort = [](std::shared_ptr<TConnectionParams>) -> std::shared_ptr<ISerialPort> {
    throw std::runtime_error("serial port support is not built in");
  };
  f.CreateProtocol = nullptr;
#endif
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
