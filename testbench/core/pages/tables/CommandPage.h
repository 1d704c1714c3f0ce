#pragma once
// "Команда": raw command bytes typed in hex, the list of single-byte
// commands the device does not support, and a ping through the driver.
#include "testbench/core/Pages.h"

class QLineEdit;
class QPlainTextEdit;

namespace zel {

class TfmCommand : public TPage {
 public:
  TfmCommand();

 private:
  void Send();
  void ScanUnsupported();
  void Ping();

  QLineEdit* FCommand;
  QLineEdit* FAnswer;
  QLineEdit* FURL;
  QLineEdit* FPingResult;
  QLineEdit* FPingTime;
  QPlainTextEdit* FMemo;
};

}  // namespace zel
