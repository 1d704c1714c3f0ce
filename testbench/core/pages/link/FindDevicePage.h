#pragma once
// "Поиск устройства": the driver's search over ports and speeds.
#include "testbench/core/Pages.h"

class QPlainTextEdit;

namespace zel {

class TfmFindDevice : public TPage {
 public:
  TfmFindDevice();

 private:
  void Find();
  QPlainTextEdit* FMemo;
};

}  // namespace zel
