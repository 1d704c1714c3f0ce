#pragma once
// TPrinterProtocol2: numbered, byte-stuffed frames with CRC-16/CCITT-FALSE
// and frame-number resynchronisation.
#include <cstdint>
#include <memory>

#include "common/ConnectionParams.h"
#include "server/protocol/EngineLink.h"
#include "server/protocol/PrinterProtocolInterface.h"

namespace zel {

class TPrinterProtocol2 : public IPrinterProtocol {
 public:
  static constexpr std::uint8_t kStart = 0x8F;
  static constexpr std::uint8_t kEscape = 0x9F;
  static constexpr std::size_t kMaxCommandSize = 0xFFFF - 2;  // LEN counts DATA + 2

  TPrinterProtocol2(std::shared_ptr<ISerialPort> port, std::shared_ptr<TConnectionParams> params);

  void Send(TCommandRec& command) override;
  // The stuffed frame for data with the current frame number; empty data gives
  // the synchronisation request 8F 00 00 0F 1D.
  Bytes Encode(const Bytes& data) override;
  void Sync() override;
  void Reset() override {}

  int FrameNumber() const { return FFrameNumber; }
  bool Synchronized() const { return FSynchronized; }

 private:
  void Synchronize();
  int ReadFrame();  // returns FN; FOutput := DATA
  std::uint8_t ReadUnstuffed();
  std::uint8_t ReadRaw();
  std::uint8_t CompleteEscape(std::uint8_t second);
  void AdvanceFrameNumber() { FFrameNumber = (FFrameNumber + 1) & 0xFFFF; }

  TEngineLink FLink;
  std::shared_ptr<TConnectionParams> FParams;
  int FFrameNumber = 0;  // number of the next command frame
  bool FSynchronized = false;
  Bytes FOutput;
  Bytes FRawInput;
  Bytes FRawOutput;
};

}  // namespace zel
