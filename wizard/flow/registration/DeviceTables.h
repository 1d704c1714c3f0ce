#pragma once
// The register's settings tables and capabilities as the registration steps use
// them. Every failure is raised with the DriverCheck text.
#include <chrono>
#include <cstdint>
#include <string>

namespace zel {

class TZelvox;

// How long a command answered "busy printing" (80) or "print buffer full" (75) is retried.
struct TBusyRetry {
  int Attempts = 50;                          // calls in all, the first included
  std::chrono::milliseconds Pause{200};       // between two calls
};

class TRegDevice {
 public:
  explicit TRegDevice(TZelvox& drv, TBusyRetry busy = {}) : FDrv(drv), FBusy(busy) {}

  TZelvox& Driver() { return FDrv; }

  int MapTable(int table);  // logical 18/19/24 through model parameters 72/73/75
  int ReadModelParam(int number);

  // Number fields come back whole: a 4-byte field above 2^31 stays positive.
  std::int64_t TableReadInt(int table, int row, int field);
  std::string TableReadStr(int table, int row, int field);
  // 93 (no such table or field) gives 0 / the empty text.
  std::int64_t TableReadIntOrZero(int table, int row, int field);
  std::string TableReadStrOrEmpty(int table, int row, int field);
  void TableWriteStr(int table, int row, int field, const std::string& value);
  void TableWriteInt(int table, int row, int field, std::int64_t value);  // text fields get the decimal text
  void TableWriteIntRow1(int table, int field, std::int64_t value);

  // The capability is decided only from a successful read of model parameter 28.
  bool IsCashCore();
  bool IsModel19();
  int ReadFFD();
  void WriteFFD(int value);

  // Calls `method` again while it answers 80 or 75, within the bound; then DriverCheck.
  void CallBusy(int (TZelvox::*method)());
  void SendTagStr(int tag, const std::string& text);
  void SendTagByte(int tag, int value);

 private:
  void Address(int table, int row, int field);
  TZelvox& FDrv;
  TBusyRetry FBusy;
};

}  // namespace zel
