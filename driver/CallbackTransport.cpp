#include "common/DriverError.h"
#include "driver/Transport.h"

namespace zel {

Bytes TCallbackTransport::Send(const Bytes& command, int /*timeoutMs*/) {
  if (!FOpen) RaiseNoLink();
  Bytes answer = FDevice(command);
  if (answer.empty()) RaiseNoLink();
  return answer;
}

}  // namespace zel
