// The device server's request decoder: one JSON-RPC line from the network.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "server/core/Hex.h"
#include "server/core/Rpc.h"

using namespace zel;

namespace {
void Require(bool condition) {
  if (!condition) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const TRpcRequest request = RpcDecode(line);
  // Either the whole line failed or every entry became a call or an error of its own.
  Require(request.Error.has_value() != !request.Calls.empty());
  for (const TRpcCall& call : request.Calls) {
    if (call.Error) {
      Require(call.Args.empty());
      continue;
    }
    Require(call.Args.size() <= 3);
    if (call.Method == TRpcMethod::SendData) {
      Require(call.Args.size() == 2);
      try {
        Require(HexDecode(call.Args[1].Text).size() == call.Args[1].Text.size() / 2);
      } catch (const std::runtime_error&) {
      }
    }
  }
  return 0;
}
