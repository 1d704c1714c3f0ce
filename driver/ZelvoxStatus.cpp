// Status methods with logic: GetECRStatus, ReadErrorDescription, ResetECR, ClearResult.
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

// The status record holds the serial number in 4 bytes; a longer one reads as
// 0 there, and the full text is fetched with the serial-number command (the
// result line keeps showing the status exchange).
int TZelvox::DoGetECRStatus() {
  TFieldMap answer;
  if (const int error = Run("GetECRStatus", {}, &answer)) return error;
  if (std::get<std::int64_t>(answer.at("SerialNumber")) != 0) return 0;
  const std::string input = FProps.GetText(TPropId::ECRInput), output = FProps.GetText(TPropId::ECROutput);
  if (Run("ReadSerialNumber") != 0) FProps.SetText(TPropId::SerialNumber, "");
  FProps.SetText(TPropId::ECRInput, input);
  FProps.SetText(TPropId::ECROutput, output);
  return 0;
}

}  // namespace zel
