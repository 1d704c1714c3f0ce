#include "wizard/flow/registration/DriverCheck.h"

#include "common/Translate.h"
#include "driver/Zelvox.h"

namespace zel {

std::string DriverErrorText(int code, const std::string& description) {
  return Tr("Ошибка ") + std::to_string(code) + ", " + description;
}

void DriverCheck(TZelvox& drv, int code) {
  if (code != 0) throw EWizardError(DriverErrorText(code, drv.get_ResultCodeDescription()));
}

TDisconnectGuard::~TDisconnectGuard() {
  if (!FKeep) FDrv.Disconnect();
}

}  // namespace zel
