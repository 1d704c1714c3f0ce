#pragma once
// TTcpPort: the byte stream of a network register over one TCP connection,
// behind ISerialPort so the frame protocol engines run on it unchanged.
// Open connects within the connect timeout; a closed peer is "no link" (-1)
// and closes the port.
#include <string>

#include "common/SerialPort.h"

namespace zel {

class TTcpPort : public ISerialPort {
 public:
  TTcpPort(std::string host, int port, int connectTimeoutMs);
  ~TTcpPort() override;
  TTcpPort(const TTcpPort&) = delete;
  TTcpPort& operator=(const TTcpPort&) = delete;

  void Open() override;
  void Close() override;
  void Purge() override;
  void Write(const Bytes& data) override;
  void SetCmdTimeout(std::uint32_t ms) override { FCmdTimeout = ms; }
  bool GetOpened() const override { return FSocket >= 0; }
  Bytes Read(std::uint32_t count) override { return ReadEx(count, static_cast<int>(FCmdTimeout)); }
  Bytes ReadEx(std::uint32_t count, int timeoutMs) override;
  bool ReadChar(std::uint8_t& c) override;

 private:
  // Reads up to count bytes until the deadline; raises -1 when the peer closed.
  std::size_t ReadSome(std::uint8_t* buf, std::size_t count, int timeoutMs);
  std::string FHost;
  int FPort;
  int FConnectTimeout;
  std::uint32_t FCmdTimeout = 1000;
  int FSocket = -1;
};

}  // namespace zel
