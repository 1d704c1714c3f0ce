#pragma once
// The registration itself: the record written into the register's tables and the
// registration (or re-registration) report built in its fiscal storage; then the
// result read back from the storage.
#include "wizard/flow/core/RegParams.h"
#include "wizard/flow/registration/DeviceTables.h"

namespace zel {

// Raises EWizardError, before anything reaches the register, when the record still
// holds a value the operator has not chosen.
void CheckRegParamsChosen(const TRegParams& r);

// Writes the record and builds the report. A failure once the report is begun
// cancels the storage's document and is raised again; table writes before it stay.
void Register(TRegDevice& dev, const TRegParams& r);

// Reads the last registration back from the storage and the tables into r.
void ReadRegistrationResult(TRegDevice& dev, TRegParams& r);

}  // namespace zel
