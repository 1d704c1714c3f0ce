// Link methods: Connect, Disconnect, LockPort, UnlockPort, ExchangeBytes.
#include "driver/HexText.h"
#include "driver/Zelvox.h"
#include "driver/ZelvoxInternal.h"
#include "driver/catalogue/Cp1251.h"

namespace zel {

int TZelvox::DoConnect() {
  OpenLink();
  return 0;
}

int TZelvox::DoDisconnect() {
  CloseLink();
  return 0;
}

// A local or network link is held by this instance alone while it is open,
// so locking the port is opening the link; unlocking leaves it to Disconnect.
// TODO(driver): through the device server these become its LockPort/UnlockPort.
int TZelvox::DoLockPort() {
  OpenLink();
  return 0;
}

int TZelvox::DoUnlockPort() { return 0; }

// Raw bytes: with BinaryConversion 1 TransferBytes is hex text both ways,
// otherwise it is the bytes themselves as Windows-1251 text. The result is the
// answer's error byte.
int TZelvox::DoExchangeBytes() {
  const bool hex = FProps.GetInt(TPropId::BinaryConversion) == 1;
  const std::string& text = FProps.GetText(TPropId::TransferBytes);
  Bytes command;
  if (hex) {
    if (!HexToBytes(text, command)) RaiseCode(kBadValue, "TransferBytes");
  } else {
    const std::string raw = Utf8ToCp1251(text);
    command.assign(raw.begin(), raw.end());
  }
  if (command.empty()) RaiseCode(kBadValue, "TransferBytes");
  const Bytes answer = Exchange(command);
  FProps.SetText(TPropId::TransferBytes,
                 hex ? BytesToHex(answer) : Cp1251ToUtf8(std::string(answer.begin(), answer.end())));
  const std::size_t codeSize = command[0] == 0xFF && command.size() > 1 ? 2 : 1;
  if (answer.size() < codeSize + 1) RaiseCode(kAnswerTooShort, "");
  if (!std::equal(command.begin(), command.begin() + codeSize, answer.begin())) RaiseCode(kAnswerMismatch, "");
  return answer[codeSize];
}

}  // namespace zel
