#include "wizard/device/search/DriverCheck.h"

#include "common/Translate.h"
#include "driver/Zelvox.h"

namespace zel {

void DriverCheck(const TZelvox& driver, int resultCode) {
  if (resultCode == 0) return;
  throw EDriverCheck(resultCode,
                     Tr("Ошибка") + " " + std::to_string(resultCode) + ", " + driver.get_ResultCodeDescription());
}

std::int64_t TableReadInt(TZelvox& driver, int table, int row, int field) {
  driver.put_TableNumber(table);
  driver.put_RowNumber(row);
  driver.put_FieldNumber(field);
  DriverCheck(driver, driver.ReadTable());
  return driver.get_ValueOfFieldInteger();
}

}  // namespace zel
