#pragma once
// Reads what the status reports need from the driver after a status call.
#include <cstdint>
#include <string>

#include "testbench/fiscal/tables/DeviceStatusReport.h"

namespace zel {

class TZelvox;

// A model parameter's value read by number; `fallback` when the device refuses.
std::int64_t ModelParamInt(TZelvox& d, int number, std::int64_t fallback = 0);
bool ModelParamBool(TZelvox& d, int number);
// The model parameter value as the model parameter list shows it: a boolean
// as "[да]"/"[нет]", anything else as text.
std::string ModelParamValueText(const TZelvox& d);

TDeviceFlagValues ReadDeviceFlags(const TZelvox& d);
TFMFlagValues ReadFMFlags(const TZelvox& d);
// After GetECRStatus; reads the capabilities and table 18 on its own.
TECRStatusValues ReadECRStatus(TZelvox& d);
// After GetShortECRStatus; reads the capabilities on its own.
TShortStatusValues ReadShortStatus(TZelvox& d);

}  // namespace zel
