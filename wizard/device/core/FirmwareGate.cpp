#include "wizard/device/core/FirmwareGate.h"

#include "common/Translate.h"

namespace zel {

std::string FirmwareOutdatedText(const std::string& dateText) {
  const std::string format = Tr("Прошивка ККТ устарела (%s).\r\n Требуется обновить прошивку");
  std::string result = format;
  if (const std::size_t at = result.find("%s"); at != std::string::npos) result.replace(at, 2, dateText);
  return result;
}

}  // namespace zel
