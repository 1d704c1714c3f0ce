#include "wizard/flow/registration/DriverCheck.h"

#include "driver/Zelvox.h"

namespace zel {

TDisconnectGuard::~TDisconnectGuard() {
  if (!FKeep) FDrv.Disconnect();
}

}  // namespace zel
