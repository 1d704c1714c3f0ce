#pragma once
// "Полное состояние": one report chaining the status, the short status, the
// device metrics, every table and every register; "Прервать" stops it and
// the report can be saved to a text file.
#include <stdexcept>

#include "testbench/core/Pages.h"
#include "testbench/core/pages/status/ReportMemo.h"

class QPushButton;

namespace zel {

class TDriver;

class TfmFullStatus : public TPage {
 public:
  TfmFullStatus();
  void EnableButtons(bool value) override;

 private:
  // Ends the report; its text goes into the memo.
  class EReportStop : public std::runtime_error {
    using std::runtime_error::runtime_error;
  };

  void Build();
  void StatusSection(TDriver& d);
  void ShortStatusSection(TDriver& d);
  void MetricsSection(TDriver& d);
  void TablesSection(TDriver& d);
  void CashRegisterSection(TDriver& d);
  void OperationRegisterSection(TDriver& d);
  void Section(const char* header);
  // Lets "Прервать" be seen, stops on it, and stops silently on a failure.
  void StopAndCheck(int resultCode);
  void ProcessEvents();

  QPushButton* FStop;
  bool FStopFlag = false;
  TReportMemo FOut;
};

}  // namespace zel
