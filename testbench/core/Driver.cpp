#include "testbench/core/Driver.h"

#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>

#include "common/Translate.h"

namespace zel {

namespace {
std::mutex gMutex;
std::unique_ptr<TDriver> gDriver;
}  // namespace

void Check(int resultCode) {
  if (resultCode != 0) throw EAbort();
}

TDriver& Driver() {
  std::lock_guard lock(gMutex);
  if (!gDriver) {
    try {
      gDriver = std::make_unique<TDriver>();
    } catch (const std::exception& e) {
      throw std::runtime_error(Tr("Ошибка создания объекта драйвера: ") + e.what());
    }
  }
  return *gDriver;
}

bool DriverExists() {
  std::lock_guard lock(gMutex);
  return gDriver != nullptr;
}

void FreeDriver() {
  std::unique_ptr<TDriver> old;
  {
    std::lock_guard lock(gMutex);
    old = std::move(gDriver);
  }
}

}  // namespace zel
