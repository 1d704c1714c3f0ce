#pragma once
// "Состояние ФН": the fiscal storage's state, counters and service actions.
#include "testbench/core/Pages.h"
#include "testbench/core/pages/status/ReportMemo.h"

class QLineEdit;

namespace zel {
class TPageBuilder;
class TZelvox;
}

namespace zel {

class TfmFN : public TPage {
 public:
  TfmFN();

 private:
  void GetStatus();
  void GetSerial();
  void GetExpirationTime();
  void GetVersion();
  void GetImplementation();
  void GetDocumentSize();
  void GetOSUSupportStatus();
  void GetFreeMemoryResource();
  void GetCurrentSessionParams();
  void CountersSync();
  void OpenSession();
  void BuildCalculationStateReport();
  void CloseFiscalMode();
  void FindDocument();
  void ReadFiscalBarcode();
  void ResetState();
  void UpdateOKPKeys();
  // A button that calls one method, checks it and prints nothing.
  void Plain(TPageBuilder& b, const char* name, const char* caption, int (TZelvox::*method)());
  std::int64_t NumberOf(QLineEdit* edit, const char* field) const;

  QLineEdit* FRequestType;
  QLineEdit* FDocumentNumber;
  TReportMemo FOut;
};

}  // namespace zel
