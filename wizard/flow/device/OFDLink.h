#pragma once
// The OFD step's values on the register: the fields filled from the record or the
// device, and the OFD link the set-up work type writes.
#include "wizard/flow/core/OFDParams.h"
#include "wizard/flow/device/DeviceTables.h"

namespace zel {

// Each value from the record when set, otherwise from the register's tables (the OFD
// server and port only when ofdEnabled, the marking server and port only for FFD 1.2);
// the tax site falls back to its default. Disconnects afterwards, also after a failure.
TOFDFields ReadOFDFields(TDeviceTables& dev, const TRegParams& record, bool ofdEnabled, int ffd);

// The OFD link set-up work type: writes the OFD server and port (when ofdEnabled) and,
// for FFD 1.2, the marking server and port collected in the record. Disconnects afterwards.
void WriteOFDLink(TDeviceTables& dev, const TRegParams& record, bool ofdEnabled, int ffd);

}  // namespace zel
