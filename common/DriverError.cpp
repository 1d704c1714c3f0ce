#include "common/DriverError.h"

#include "common/Translate.h"

namespace zel {

void RaiseNoLink() { throw EDriverError(kNoLink, Tr(kTextNoLink)); }
void RaisePortUnavailable() { throw EDriverError(kPortUnavailable, Tr(kTextPortUnavailable)); }
void RaisePortBusy() { throw EDriverError(kPortBusy, Tr(kTextPortBusy)); }

}  // namespace zel
