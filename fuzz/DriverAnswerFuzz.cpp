// The driver reading whatever a register answers. The first two bytes choose a
// catalogue row, whose method is called; the third chooses how the register
// answers every command of that call: bit 0 clear, the command's own code
// bytes and then the rest of the input (so the error byte and fields are
// reached); set, the rest of the input as it is. The call must come back with
// a result code, never crash or hang.
#include <cstddef>
#include <cstdint>

#include "driver/Zelvox.h"
#include "driver/catalogue/Commands.h"

using namespace zel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const auto& rows = Commands();
  const TCommandDef& row = rows[(data[0] | data[1] << 8) % rows.size()];
  const bool raw = data[2] & 1;
  const Bytes tail(data + 3, data + size);

  TZelvox driver;
  driver.put_ConnectionTimeout(1);  // polling methods give up after one round
  driver.SetInProcessDevice([&](const Bytes& command) {
    if (raw || command.empty()) return tail;
    Bytes answer = CodeBytes(command[0] == 0xFF && command.size() > 1 ? 0xFF00 | command[1] : command[0]);
    answer.insert(answer.end(), tail.begin(), tail.end());
    return answer;
  });
  TMethodId method;
  if (!FindMethod(row.Method, method)) __builtin_trap();  // every row backs a method
  const int result = driver.Invoke(method);
  if (result != driver.get_ResultCode()) __builtin_trap();
  return 0;
}
