#pragma once
// TPrinterProtocol3: the multichannel protocol (PSEL 0x90/0x91, frames with an
// 8-bit frame number, a 16-bit length and CRC-16/CMS).
#include <cstdint>
#include <memory>

#include "common/ConnectionParams.h"
#include "server/protocol/EngineLink.h"
#include "server/protocol/PrinterProtocolInterface.h"

namespace zel {

class TPrinterProtocol3 : public IPrinterProtocol {
 public:
  static constexpr std::uint8_t kPsel = 0x90;
  static constexpr std::uint8_t kPselAccepted = 0x91;
  static constexpr std::uint8_t kFrameStart = 0x82;
  static constexpr std::size_t kMaxCommandSize = 0xFFFF;

  TPrinterProtocol3(std::shared_ptr<ISerialPort> port, std::shared_ptr<TConnectionParams> params);

  void Send(TCommandRec& command) override;
  Bytes Encode(const Bytes& data) override;
  void Sync() override {}
  void Reset() override {}
  // The PSEL exchange: true when the device accepts this protocol.
  bool CheckVer();

  std::uint8_t FrameNumber() const { return FFrameNumber; }

 private:
  bool ReadAnswer();
  bool ReadAnswerByte(std::uint8_t& c);

  TEngineLink FLink;
  std::shared_ptr<TConnectionParams> FParams;
  Bytes FOutput;
  Bytes FRawInput;
  Bytes FRawOutput;
  std::uint8_t FFrameNumber = 1;  // 1..255, advanced before each command
};

}  // namespace zel
