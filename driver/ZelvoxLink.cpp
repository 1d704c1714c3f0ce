// Link methods: Connect, Disconnect, LockPort, UnlockPort, ExchangeBytes.
#include "driver/HexText.h"
#include "driver/Ping.h"
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
// so there locking the port is opening the link; through the device server
// the server's lock keeps other clients away too.
int TZelvox::DoLockPort() {
  OpenLink();
  FTransport->Lock();
  return 0;
}

int TZelvox::DoUnlockPort() {
  if (FTransport && FTransport->IsOpen()) FTransport->Unlock();
  return 0;
}

// An ICMP echo to the host of URL within Timeout: PingResult 0 answered
// (PingTime in ms), 1 no answer, 2 host not found. No device is involved.
int TZelvox::DoPing() {
  TPingResult result;
  try {
    result = PingHost(FProps.GetText(TPropId::URL), static_cast<int>(FProps.GetInt(TPropId::Timeout)));
  } catch (const std::runtime_error& e) {
    RaiseCode(kOtherFailure, e.what());
  }
  FProps.SetInt(TPropId::PingResult, result.Result);
  FProps.SetInt(TPropId::PingTime, result.TimeMs);
  return 0;
}

// Raw bytes: with BinaryConversion 1 TransferBytes is hex text both ways,
// otherwise it is the bytes themselves as Windows-1251 text. The result is the
// answer's error byte.
int TZelvox::DoExchangeBytes() {
  const bool hex = FProps.GetInt(TPropId::BinaryConversion) == 1;
  const std::string& text = FProps.GetText(TPropId::TransferBytes);
  Bytes command;
  if (hex) {
    if (!ParseHexText(text, command)) RaiseCode(kBadValue, "TransferBytes");
  } else {
    const std::string raw = Utf8ToCp1251(text);
    command.assign(raw.begin(), raw.end());
  }
  if (command.empty()) RaiseCode(kBadValue, "TransferBytes");
  const Bytes answer = Exchange(command);
  FProps.SetText(TPropId::TransferBytes,
                 hex ? ToHexText(answer) : Cp1251ToUtf8(std::string(answer.begin(), answer.end())));
  const std::size_t codeSize = command[0] == 0xFF && command.size() > 1 ? 2 : 1;
  if (answer.size() < codeSize + 1) RaiseCode(kAnswerTooShort, "");
  if (!std::equal(command.begin(), command.begin() + codeSize, answer.begin())) RaiseCode(kAnswerMismatch, "");
  return answer[codeSize];
}

}  // namespace zel
