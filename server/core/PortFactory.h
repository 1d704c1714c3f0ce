#pragma once
// How a port gets its serial port and protocol engine. The default uses the
// real serial port and the engine chosen by the protocol type; tests put
// fakes in its place.
#include <functional>
#include <memory>

#include "common/ConnectionParams.h"
#include "common/SerialPort.h"
#include "server/protocol/PrinterProtocolInterface.h"

namespace zel {

struct TPortFactory {
  std::function<std::shared_ptr<ISerialPort>(std::shared_ptr<TConnectionParams>)> CreateSerialPort;
  // The engine for params->ProtocolType over the given serial port.
  std::function<std::shared_ptr<IPrinterProtocol>(std::shared_ptr<ISerialPort>,
                                                  std::shared_ptr<TConnectionParams>)>
      CreateProtocol;
};

TPortFactory DefaultPortFactory();
TPortFactory CurrentPortFactory();
// Replaces the factory for ports created from now on; an empty one restores the default.
void SetPortFactory(TPortFactory factory);

}  // namespace zel
