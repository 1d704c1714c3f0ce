#pragma once
// Raw command bytes through the driver's ExchangeBytes: the command goes out
// as hex text and the whole answer (code, error byte, payload) comes back.
#include "common/Bytes.h"

namespace zel {

class TZelvox;

struct TRawAnswer {
  int ResultCode = 0;
  Bytes Answer;  // as received: code bytes, error byte, payload
  // The payload after a one-byte code and the error byte.
  Bytes Payload() const;
};

TRawAnswer SendRawCommand(TZelvox& driver, const Bytes& command);

// FE service commands: FE, the sub-code and four parameter bytes.
Bytes ServiceCommand(std::uint8_t subCode, std::uint32_t parameter);
// The service access code that the key update and the last-document date need.
inline constexpr std::uint32_t kServiceAccessCode = 0x47D93B6E;  // 6E 3B D9 47 on the wire
inline constexpr std::uint8_t kServiceUpdateKeys = 0x1A;

}  // namespace zel
