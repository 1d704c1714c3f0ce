#pragma once
// The steps' access to the register: result checks and table cells on one driver.
#include <stdexcept>
#include <string>

#include "driver/Zelvox.h"
#include "wizard/flow/registration/DriverCheck.h"

namespace zel {

class TDeviceTables {
 public:
  explicit TDeviceTables(TZelvox& driver) : FDriver(driver) {}

  TZelvox& Driver() { return FDriver; }
  // Nothing for 0; otherwise throws EDriverCheck with the driver's description.
  void Check(int resultCode) { DriverCheck(FDriver, resultCode); }

  // Logical table numbers 18, 19 and 24 are translated through the model parameters;
  // every other number is used as it is.
  std::int64_t ReadInt(int table, int row, int field);
  std::string ReadStr(int table, int row, int field);
  // As above, but a missing table or field (93) gives 0 / the empty text.
  std::int64_t ReadIntOrZero(int table, int row, int field);
  std::string ReadStrOrEmpty(int table, int row, int field);
  // Writes the decimal text when the register declares the field as text.
  void WriteInt(int table, int row, int field, std::int64_t value);
  void WriteStr(int table, int row, int field, const std::string& value);

  // Model parameter 28 set (a cash-core register).
  bool IsCashCore();
  // The FFD version code the register works with.
  int ReadFFD();

  void Disconnect() { FDriver.Disconnect(); }

 private:
  int Table(int logical);
  int Read(int table, int row, int field);

  TZelvox& FDriver;
};

}  // namespace zel
