#pragma once
// The network pages on the register: current settings read from its tables, and
// the operator's settings written there (all checked before the first write).
#include "wizard/flow/core/NetSettings.h"
#include "wizard/flow/device/DeviceTables.h"

namespace zel {

// The settings the page of this kind shows (port and addresses as text). Disconnects.
TNetSettings ReadNetSettings(TDeviceTables& dev, ENetKind kind);

// Validates s (throws std::runtime_error, nothing written), writes every cell of
// NetWritePlan in order, disconnects, and returns where the check must look.
TCheckTarget ApplyNetSettings(TDeviceTables& dev, const TNetSettings& s);

// The information text shown after writing: the operator restarts the register now.
std::string NetSettingsWrittenText(ENetKind kind);

}  // namespace zel
