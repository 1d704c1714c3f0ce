#include <cstddef>

#include "server/protocol/ProtocolTexts.h"

#include "common/DriverError.h"
#include "common/Translate.h"

namespace zel {

void CheckCommandSize(std::size_t size, std::size_t maxSize) {
  if (size > maxSize) throw EDriverError(kOtherFailure, Tr(kTextCommandTooLong));
}

}  // namespace zel
