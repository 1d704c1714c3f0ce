#include "server/protocol/EngineLink.h"

#include <stdexcept>

namespace zel {

TEngineLink::TEngineLink(const std::string& name, std::shared_ptr<ISerialPort> port)
    : FLogger(name), FPort(std::move(port)) {
  if (!FPort) throw std::invalid_argument("protocol engine needs a serial port");
}

bool TEngineLink::ReadByte(std::uint8_t& c) const {
  const bool got = FPort->ReadChar(c);
  FLogger.WriteRxData(got ? Bytes{c} : Bytes{});
  return got;
}

void TEngineLink::Write(const Bytes& data, const Bytes& logged) const {
  FLogger.WriteTxData(logged);
  FPort->Write(data);
}

void TEngineLink::SetCmdTimeout(int ms) const {
  FLogger.Debug("SetCmdTimeout: " + std::to_string(ms));
  FPort->SetCmdTimeout(PortTimeout(ms));
}

std::uint32_t PortTimeout(int ms) { return ms > 0 ? static_cast<std::uint32_t>(ms) : 0u; }

}  // namespace zel
