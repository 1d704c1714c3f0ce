#pragma once
// "ЛУ": named connection profiles kept by the driver.
#include "testbench/core/Pages.h"

class QComboBox;
class QLineEdit;

namespace zel {

class TDriver;

class TfmLogicDevice : public TPage {
 public:
  TfmLogicDevice();

 private:
  void WriteParams(TDriver& d);
  void ReadParams(const TDriver& d);
  // The driver call, then the fields read back whatever its result.
  void CallAndRead(int (TDriver::*method)(), bool setNumber, bool writeParams);
  void SetParams();
  void BrowseComputer();

  QLineEdit* FName;
  QLineEdit* FNumber;
  QLineEdit* FIndex;
  QLineEdit* FCount;
  QComboBox* FPort;
  QComboBox* FSpeed;
  QLineEdit* FComputer;
  QLineEdit* FTimeout;
};

}  // namespace zel
