#include "testbench/core/pages/status/RawCommand.h"

#include "driver/HexText.h"
#include "driver/Zelvox.h"

namespace zel {

Bytes TRawAnswer::Payload() const {
  if (Answer.size() <= 2) return {};
  return Bytes(Answer.begin() + 2, Answer.end());
}

TRawAnswer SendRawCommand(TZelvox& driver, const Bytes& command) {
  driver.put_BinaryConversion(1);
  driver.put_TransferBytes(ToHexText(command));
  TRawAnswer out;
  out.ResultCode = driver.ExchangeBytes();
  ParseHexText(driver.get_TransferBytes(), out.Answer);
  return out;
}

Bytes ServiceCommand(std::uint8_t subCode, std::uint32_t parameter) {
  return {0xFE, subCode, static_cast<std::uint8_t>(parameter), static_cast<std::uint8_t>(parameter >> 8),
          static_cast<std::uint8_t>(parameter >> 16), static_cast<std::uint8_t>(parameter >> 24)};
}

}  // namespace zel
