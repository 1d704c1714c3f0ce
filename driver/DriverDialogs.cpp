#include "driver/DriverDialogs.h"

#include <atomic>

#include "driver/Zelvox.h"
#include "driver/ZelvoxInternal.h"

namespace zel {

namespace {
std::atomic<IDriverDialogs*> gDialogs{nullptr};
}

void SetDriverDialogs(IDriverDialogs* dialogs) { gDialogs = dialogs; }
IDriverDialogs* DriverDialogs() { return gDialogs; }

int TZelvox::DoShowProperties() {
  IDriverDialogs* dialogs = DriverDialogs();
  if (!dialogs) RaiseCode(kNotSupported, "ShowProperties");
  return dialogs->ShowProperties(*this);
}

int TZelvox::DoShowTablesDlg() {
  IDriverDialogs* dialogs = DriverDialogs();
  if (!dialogs) RaiseCode(kNotSupported, "ShowTablesDlg");
  return dialogs->ShowTablesDlg(*this);
}

}  // namespace zel
