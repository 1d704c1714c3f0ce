#include "server/protocol/PrinterProtocol3.h"

#include <cstdio>
#include <stdexcept>

#include "common/Crc.h"
#include "common/DriverError.h"
#include "common/Translate.h"
#include "server/protocol/ProtocolTexts.h"

namespace zel {

TPrinterProtocol3::TPrinterProtocol3(std::shared_ptr<ISerialPort> port, std::shared_ptr<TConnectionParams> params)
    : FLink("TPrinterProtocol3", std::move(port)), FParams(std::move(params)) {
  if (!FParams) throw std::invalid_argument("protocol engine needs connection parameters");
}

Bytes TPrinterProtocol3::Encode(const Bytes& data) {
  CheckCommandSize(data.size(), kMaxCommandSize);
  const TLogger& log = FLink.Logger();
  log.WriteSeparator();
  log.Debug("Функция EncodeFrame");
  log.WriteData("AData: ", data);
  log.WriteSeparator();

  Bytes body{FFrameNumber, static_cast<std::uint8_t>(data.size() & 0xFF),
             static_cast<std::uint8_t>(data.size() >> 8)};
  body.insert(body.end(), data.begin(), data.end());
  const std::uint16_t crc = Crc16Cms(body);
  Bytes frame;
  frame.reserve(body.size() + 3);
  frame.push_back(kFrameStart);
  frame.insert(frame.end(), body.begin(), body.end());
  frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
  frame.push_back(static_cast<std::uint8_t>(crc >> 8));

  log.WriteData("Result: ", frame);
  log.WriteSeparator();
  return frame;
}

void TPrinterProtocol3::Send(TCommandRec& command) {
  FOutput.clear();
  FRawInput.clear();
  FRawOutput.clear();
  try {
    CheckCommandSize(command.Command.size(), kMaxCommandSize);
    FLink.Port().Purge();
    FLink.SetCmdTimeout(FParams->Timeout);
    if (!CheckVer()) throw std::runtime_error(Tr(kTextMultichannelUnsupported));
    FFrameNumber = FFrameNumber == 255 ? 1 : static_cast<std::uint8_t>(FFrameNumber + 1);
    FRawInput = Encode(command.Command);
    FRawOutput.clear();
    FLink.Write(FRawInput);
    // No valid answer frame is a lost link, never the previous exchange's answer.
    if (!ReadAnswer()) RaiseNoLink();
  } catch (const std::exception& e) {
    FLink.Logger().Error(e.what());
    throw;
  }
  command.Answer = FOutput;
  command.TxData = FRawInput;
  command.RxData = FRawOutput;
}

bool TPrinterProtocol3::CheckVer() {
  const TLogger& log = FLink.Logger();
  log.WriteSeparator();
  log.Debug("Команда: PSEL, Выбор протокола");
  log.WriteSeparator();
  FLink.Write(Bytes{kPsel});
  std::uint8_t c = 0;
  if (!FLink.ReadByte(c)) {
    log.Debug("No answer");
    return false;
  }
  return c == kPselAccepted;
}

bool TPrinterProtocol3::ReadAnswerByte(std::uint8_t& c) {
  if (!FLink.ReadByte(c)) {
    FLink.Logger().Error("Нет ответа");
    return false;
  }
  FRawOutput.push_back(c);
  return true;
}

bool TPrinterProtocol3::ReadAnswer() {
  std::uint8_t c = 0;
  if (!ReadAnswerByte(c) || c != kFrameStart) return false;
  if (!ReadAnswerByte(c) || c != 0x00) return false;
  if (!ReadAnswerByte(c) || c != FFrameNumber) return false;
  std::uint8_t lenLo = 0, lenHi = 0;
  if (!ReadAnswerByte(lenLo) || !ReadAnswerByte(lenHi)) return false;
  const unsigned len = lenLo | (static_cast<unsigned>(lenHi) << 8);
  if (len == 0) return false;

  const Bytes data = FLink.Port().ReadEx(len, FParams->Timeout);
  FLink.Logger().WriteRxData(data);
  FRawOutput.insert(FRawOutput.end(), data.begin(), data.end());
  if (data.size() != len) return false;

  std::uint8_t crcLo = 0, crcHi = 0;
  if (!ReadAnswerByte(crcLo) || !ReadAnswerByte(crcHi)) return false;
  const unsigned crc = crcLo | (static_cast<unsigned>(crcHi) << 8);
  char line[32];
  std::snprintf(line, sizeof line, "CRC16 = %04X", crc);
  FLink.Logger().Debug(line);

  // The checksum covers FN, LEN and DATA like the command's; a device that also
  // covers the zero channel byte after the start byte is accepted too.
  Bytes covered{FFrameNumber, lenLo, lenHi};
  covered.insert(covered.end(), data.begin(), data.end());
  const std::uint16_t withoutChannel = Crc16Cms(covered);
  covered.insert(covered.begin(), 0x00);
  const std::uint16_t withChannel = Crc16Cms(covered);
  if (crc != withoutChannel && crc != withChannel) {
    FLink.Logger().Error("CRC16 mismatch");
    return false;
  }
  FOutput = data;
  return true;
}

}  // namespace zel
