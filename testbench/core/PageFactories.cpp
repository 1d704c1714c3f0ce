// The page classes built into the program. A new page adds one line here.
#include <utility>

#include "testbench/core/PageCatalogue.h"
#include "testbench/core/pages/DeviceStatusPage.h"

namespace zel {

namespace {
template <class T>
TPage* Make() {
  return new T;
}

const std::pair<std::string_view, TPageFactory> kFactories[] = {
    {"TfmDeviceStatus", &Make<TfmDeviceStatus>},
};
}  // namespace

TPageFactory FindPageFactory(std::string_view className) {
  for (const auto& [name, factory] : kFactories)
    if (name == className) return factory;
  return nullptr;
}

}  // namespace zel
