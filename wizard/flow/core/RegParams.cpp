#include "wizard/flow/core/RegParams.h"

namespace zel {

void TRegParams::Reset() {
  const std::string factoryCode = X5FactoryCode;
  *this = TRegParams{};
  X5FactoryCode = factoryCode;
}

std::string UnchosenRegField(const TRegParams& p) {
  if (p.TaxSystem == kNotChosen) return "TaxSystem";
  if (p.WorkMode == kNotChosen) return "WorkMode";
  if (p.WorkModeEx == kNotChosen) return "WorkModeEx";
  if (p.FFD == kFFD105 && p.Agent == kNotChosen) return "Agent";
  return {};
}

}  // namespace zel
