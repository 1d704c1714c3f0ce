#pragma once
// "Связь": serial parameters, the device's own interface parameters,
// connect, disconnect and the wait operations.
#include "testbench/core/Pages.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace zel {

class TDriver;

class TfmConnection : public TPage {
 public:
  TfmConnection();
  void UpdatePage() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Connect();
  void GetParams();
  void SetParams();
  void WaitFor(int (TDriver::*method)());
  // TCPPort from the code field, unless the code is only the lossy form of
  // the driver's present port: then the port stays and the note says why.
  void ApplyTCPPort(TDriver& d);
  void InterfaceChanged();
  void CodeChanged();

  QComboBox* FPort;
  QComboBox* FSpeed;
  QLineEdit* FTimeout;
  QComboBox* FInterface;
  QGroupBox* FTCP;
  QSpinBox* FCode;
  QLineEdit* FRealPort;
  QLabel* FPortNote;
  QLineEdit* FWaitTimeout;
  QCheckBox* FConnected;
};

}  // namespace zel
