#include "wizard/device/search/DriverCheck.h"

#include "common/Translate.h"
#include "driver/Zelvox.h"

namespace zel {

std::string DriverErrorText(int code, const std::string& description) {
  return Tr("Ошибка ") + std::to_string(code) + ", " + description;
}

void DriverCheck(const TZelvox& driver, int resultCode) {
  if (resultCode == 0) return;
  throw EDriverCheck(resultCode, DriverErrorText(resultCode, driver.get_ResultCodeDescription()));
}

std::int64_t TableReadInt(TZelvox& driver, int table, int row, int field) {
  driver.put_TableNumber(table);
  driver.put_RowNumber(row);
  driver.put_FieldNumber(field);
  DriverCheck(driver, driver.ReadTable());
  return driver.get_ValueOfFieldInteger();
}

}  // namespace zel
