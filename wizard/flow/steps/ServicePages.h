#pragma once
// Service steps on the register: factory serial number, the cashier written
// before the archive is closed, the closing itself and the settlement report.
#include "wizard/flow/device/ServiceSteps.h"
#include "wizard/flow/ui/ParamPage.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace zel {

class TfmEnterSerial : public TParamPage {
  Q_OBJECT
 public:
  TfmEnterSerial();
  void Next() override;

 protected:
  void Enter() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* lblEntered;
  QLineEdit* edtSerial;
};

class TfmBeforeCloseFN : public TParamPage {
  Q_OBJECT
 public:
  TfmBeforeCloseFN();
  void Next() override;

 private:
  QLineEdit* edtCashier;
};

// Closes the archive when first shown in a pass through the flow; shown again in
// the same pass it repeats the outcome (and keeps the X5 report savable).
class TfmCloseFN : public TParamPage {
  Q_OBJECT
 public:
  TfmCloseFN();
  void Next() override;
  const TArchiveClosing& Closing() const { return FCloser.Last(); }

 protected:
  void Enter() override;

 private:
  void SaveX5();
  QLabel* lblStatus;
  QLabel* lblX5Error;
  QLabel* lblX5FactoryCode;
  QLineEdit* edtX5FactoryCode;
  QPushButton* btnSaveX5;
  TArchiveCloser FCloser;
  int FGeneration = -1;
};

class TfmCalculationStateReport : public TParamPage {
  Q_OBJECT
 public:
  TfmCalculationStateReport();
  void Next() override;
};

}  // namespace zel
