#pragma once
// TEngineLink: the port and logger one engine talks through, with the
// logging every engine does on each read, write and timeout change.
#include <cstdint>
#include <memory>
#include <string>

#include "common/Bytes.h"
#include "common/Logger.h"
#include "common/SerialPort.h"

namespace zel {

class TEngineLink {
 public:
  TEngineLink(const std::string& name, std::shared_ptr<ISerialPort> port);

  const TLogger& Logger() const { return FLogger; }
  ISerialPort& Port() const { return *FPort; }

  // One byte; logs "<- XX", or a bare "<- " when none came in time.
  bool ReadByte(std::uint8_t& c) const;
  // Writes data and logs it with "-> " (logged may show less than is written).
  void Write(const Bytes& data) const { Write(data, data); }
  void Write(const Bytes& data, const Bytes& logged) const;
  // Passes the read timeout to the port and logs "SetCmdTimeout: <ms>".
  void SetCmdTimeout(int ms) const;

 private:
  TLogger FLogger;
  std::shared_ptr<ISerialPort> FPort;
};

// A link timeout from the parameters as the port takes it (negative gives 0).
std::uint32_t PortTimeout(int ms);

}  // namespace zel
