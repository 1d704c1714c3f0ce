#pragma once
// The wizard's pages in step order.
#include <functional>
#include <vector>

#include "wizard/flow/steps/DataPages.h"
#include "wizard/flow/steps/GatePages.h"
#include "wizard/flow/steps/HostPages.h"

namespace zel {

const std::vector<std::function<TParamPage*()>>& WizardPageFactories();

}  // namespace zel
