#pragma once
// TPrinterProtocol: the ENQ/ACK/NAK framed protocol (STX, LEN, DATA, LRC).
#include <cstdint>
#include <memory>

#include "common/ConnectionParams.h"
#include "server/protocol/EngineLink.h"
#include "server/protocol/PrinterProtocolInterface.h"

namespace zel {

class TPrinterProtocol : public IPrinterProtocol {
 public:
  static constexpr std::uint8_t ENQ = 0x05;
  static constexpr std::uint8_t STX = 0x02;
  static constexpr std::uint8_t ACK = 0x06;
  static constexpr std::uint8_t NAK = 0x15;
  static constexpr std::size_t kMaxCommandSize = 255;  // LEN is one byte

  TPrinterProtocol(std::shared_ptr<ISerialPort> port, std::shared_ptr<TConnectionParams> params);

  void Send(TCommandRec& command) override;
  // Raises -8 "Команда слишком длинная" for more than 255 bytes.
  Bytes Encode(const Bytes& data) override;
  void Sync() override {}
  void Reset() override {}

 private:
  enum class TControl { Nothing, Ack, Nak, Enq };
  enum class TMode { Idle, Answer };
  enum class TAnswer { Ok, Failed };

  TControl ReadControlByte();
  void EnqHandshake(TMode mode);
  void Reconnect();
  void DrainLine();
  void SendFrame(const Bytes& frame);
  TAnswer ReadAnswer();
  void WriteFrame(const Bytes& frame);
  void SetCmdTimeout(int ms) { FLink.SetCmdTimeout(ms); }

  TEngineLink FLink;
  std::shared_ptr<TConnectionParams> FParams;
  Bytes FOutput;     // body of the last good answer frame
  Bytes FRawInput;   // the last command frame written
  Bytes FRawOutput;  // every byte read since that frame was written
};

}  // namespace zel
