#pragma once
// The wizard's pages in step order.
#include <functional>
#include <vector>

#include "wizard/flow/steps/DataPages.h"
#include "wizard/flow/steps/GatePages.h"
#include "wizard/flow/steps/HostPages.h"
#include "wizard/flow/steps/NetworkPages.h"
#include "wizard/flow/steps/OfdPages.h"

namespace zel {

const std::vector<std::function<TParamPage*()>>& WizardPageFactories();

}  // namespace zel
