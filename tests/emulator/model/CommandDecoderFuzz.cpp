// libFuzzer entry for the register's command decoder: any bytes, any order,
// on one long-lived register, must give an answer and never crash.
#include <cstddef>
#include <cstdint>

#include "emulator/model/CommandHandler.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static zel::emu::TDeviceModel model;
  static zel::emu::TCommandHandler handler(model);
  // Several commands per input, split at 0x00 0x00, so sequences reach deep states.
  zel::Bytes command;
  for (std::size_t i = 0; i <= size; ++i) {
    if (i == size || (data[i] == 0 && i + 1 < size && data[i + 1] == 0)) {
      handler.Handle(command);
      command.clear();
      ++i;
      continue;
    }
    command.push_back(data[i]);
  }
  return 0;
}
