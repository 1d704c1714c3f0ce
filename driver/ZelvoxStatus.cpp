// Status methods with logic: ReadErrorDescription, ResetECR, ClearResult.
#include "driver/Zelvox.h"
#include "driver/ZelvoxInternal.h"
#include "driver/catalogue/StatusRec.h"

namespace zel {

// The text of ErrorCode from the driver's own table; needs no device.
int TZelvox::DoReadErrorDescription() {
  FProps.SetText(TPropId::ErrorDescription, Tr(ErrorText(static_cast<int>(FProps.GetInt(TPropId::ErrorCode)))));
  return 0;
}

// Brings the register back to its shift mode: continues a halted print and
// cancels an open receipt.
int TZelvox::DoResetECR() {
  int error = Run("GetShortECRStatus");
  if (error) return error;
  if (FProps.GetInt(TPropId::ECRAdvancedMode) == 3 && (error = Run("ContinuePrint")) != 0) return error;
  if (FProps.GetInt(TPropId::ECRMode) == kModeReceiptOpen) return Run("CancelCheck");
  return 0;
}

int TZelvox::DoClearResult() { return 0; }

}  // namespace zel
