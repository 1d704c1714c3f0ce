// The page classes built into the program. A new page adds one line here.
#include <map>
#include <string>
#include <utility>

#include "testbench/core/PageCatalogue.h"
#include "testbench/core/pages/status/DeviceStatusPage.h"
#include "testbench/core/pages/status/ExtendedServicePage.h"
#include "testbench/core/pages/status/FullStatusPage.h"
#include "testbench/core/pages/tables/CommandPage.h"
#include "testbench/core/pages/tables/DumpPage.h"
#include "testbench/core/pages/tables/TablePage.h"
#include "testbench/core/pages/link/ConnectionPage.h"
#include "testbench/core/pages/link/ConnectionTestPage.h"
#include "testbench/core/pages/link/FindDevicePage.h"
#include "testbench/core/pages/link/LoadTestPage.h"
#include "testbench/core/pages/link/LogicDevicePage.h"

namespace zel {

namespace {
template <class T>
TPage* Make() {
  return new T;
}

const std::pair<std::string_view, TPageFactory> kFactories[] = {
    {"TfmDeviceStatus", &Make<TfmDeviceStatus>},
    {"TfmFullStatus", &Make<TfmFullStatus>},
    {"TfmExtendedService", &Make<TfmExtendedService>},
    {"TfmTable", &Make<TfmTable>},
    {"TfmCommand", &Make<TfmCommand>},
    {"TfmReadDump", &Make<TfmReadDump>},
    {"TfmConnection", &Make<TfmConnection>},
    {"TfmConnectionTest", &Make<TfmConnectionTest>},
    {"TfmFindDevice", &Make<TfmFindDevice>},
    {"TfmLogicDevice", &Make<TfmLogicDevice>},
    {"TfmTest", &Make<TfmTest>},
};
std::map<std::string, TPageFactory, std::less<>>& Registered() {
  static std::map<std::string, TPageFactory, std::less<>> factories;
  return factories;
}
}  // namespace

void RegisterPageFactory(std::string_view className, TPageFactory factory) {
  Registered()[std::string(className)] = factory;
}

TPageFactory FindPageFactory(std::string_view className) {
  if (auto it = Registered().find(className); it != Registered().end()) return it->second;
  for (const auto& [name, factory] : kFactories)
    if (name == className) return factory;
  return nullptr;
}

}  // namespace zel
