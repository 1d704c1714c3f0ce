// libFuzzer entry for the register's command decoder: any bytes, in any
// order, on one long-lived register, must get an answer and never crash.
// The input is a sequence of commands, each a length byte and that many bytes
// (a short last one takes what is left), so sequences reach deep states.
#include <cstddef>
#include <cstdint>

#include "emulator/model/CommandHandler.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static zel::emu::TDeviceModel model;
  static zel::emu::TCommandHandler handler(model);
  std::size_t pos = 0;
  while (pos < size) {
    std::size_t length = data[pos++];
    if (length > size - pos) length = size - pos;
    const zel::Bytes command(data + pos, data + pos + length);
    const zel::Bytes answer = handler.Handle(command);
    if (!command.empty() && answer.size() < 2) __builtin_trap();  // every command is answered
    pos += length;
  }
  return 0;
}
