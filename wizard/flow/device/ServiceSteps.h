#pragma once
// The service steps on the register: factory serial number, archive closing and
// the settlement-state report.
#include <string>

#include "wizard/flow/core/X5Files.h"
#include "wizard/flow/device/DeviceTables.h"

namespace zel {

struct TSerialState {
  bool Entered = false;
  std::string Serial;
};
// The register's serial number and whether it counts as entered. Disconnects.
TSerialState ReadSerialState(TDeviceTables& dev);

enum class ESerialEntry {
  Nothing,         // empty field: nothing to do
  Written,         // written; the register must be restarted
  AlreadyEntered,  // the register has a serial already; nothing written
};
struct TSerialEntryResult {
  ESerialEntry Outcome = ESerialEntry::Nothing;
  std::string DeviceSerial;  // the register's serial when AlreadyEntered
  std::string Message;       // what to tell the operator (empty for Nothing)
};
// Writes SerialPart(fieldText) when the register has no serial yet. A value that is
// not 1..20 digits or is all zeros is refused (std::runtime_error) before any access.
TSerialEntryResult EnterSerial(TDeviceTables& dev, const std::string& fieldText);

// The administrator's name written before the archive is closed (throws for an empty name).
void WriteCashierName(TDeviceTables& dev, const std::string& cashier);

struct TArchiveClosing {
  bool Done = false;       // closing ran during this pass
  int ResultCode = 0;
  std::string Text;        // the step's status text
  bool HasX5 = false;      // closing data collected for the X5 report file
  TX5CloseFNRec X5;
  std::string X5Error;     // why the X5 data could not be collected
  bool Succeeded() const { return Done && ResultCode == 0; }
};

// Closes the fiscal archive once per pass through the flow: showing the step again
// shows the first outcome (and keeps its X5 data savable) instead of closing again.
// NewPass starts the next pass. In X5 mode a successful closing also collects the data
// of the archive-closing report file; a failure there is kept in X5Error.
class TArchiveCloser {
 public:
  const TArchiveClosing& Close(TDeviceTables& dev, bool x5Mode = false);
  const TArchiveClosing& Last() const { return FLast; }
  void NewPass() { FLast = {}; }

 private:
  TArchiveClosing FLast;
};

// The data of the archive-closing report file, read right after a successful closing.
TX5CloseFNRec ReadX5CloseData(TDeviceTables& dev);

// Prints the settlement-state report; throws EDriverCheck on failure and returns the
// operator's success text otherwise. Disconnects.
std::string PrintCalculationStateReport(TDeviceTables& dev);

}  // namespace zel
