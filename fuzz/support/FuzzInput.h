#pragma once
// Turns a fuzz input into a link set-up and the scripted line a protocol engine reads:
// the first byte chooses the command and limits, the rest arrives on the line.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "common/ConnectionParams.h"
#include "server/protocol/PrinterProtocolInterface.h"
#include "tests/protocol/ScriptedPort.h"

namespace zel::fuzz {

struct TFuzzLink {
  std::shared_ptr<test::ScriptedPort> port = std::make_shared<test::ScriptedPort>();
  std::shared_ptr<TConnectionParams> params = std::make_shared<TConnectionParams>();
  TCommandRec command;
};

inline TFuzzLink MakeLink(const std::uint8_t* data, std::size_t size) {
  TFuzzLink link;
  link.params->Timeout = 50;
  if (size == 0) return link;
  const std::uint8_t setup = data[0];
  link.params->MaxAnsCount = 1 + (setup & 0x03);
  link.command.Command.assign(1 + (setup >> 5), static_cast<std::uint8_t>(setup));
  link.command.Timeout = 100;
  link.port->Feed(Bytes(data + 1, data + size));
  return link;
}

// A broken invariant must stop the fuzzer as loudly as a crash.
inline void Require(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace zel::fuzz
