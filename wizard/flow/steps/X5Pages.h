#pragma once
// The retail chain's variant: the register's parameters saved to a file, the
// registration parameters read from one, and the cashier and FFD version.
#include "wizard/flow/ui/ParamPage.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace zel {

class TfmKKTParamsX5 : public TParamPage {
  Q_OBJECT
 public:
  TfmKKTParamsX5();
  void Next() override;

 private:
  QLineEdit* edtFactoryCode;
  QLineEdit* edtAutomatNumber;
  QComboBox* cbbModelFN;
};

class TfmOpenRegParamsX5 : public TParamPage {
  Q_OBJECT
 public:
  TfmOpenRegParamsX5();
  void Next() override;
};

class TfmRegParamsX5 : public TParamPage {
  Q_OBJECT
 public:
  TfmRegParamsX5();
  void Next() override;

 protected:
  void Enter() override;

 private:
  QLineEdit* edtCashierName;
  QLineEdit* edtCashierPosition;
  QLineEdit* edtCashierINN;
  QLineEdit* edtFNSSite;
  QLineEdit* edtSenderEmail;
  QComboBox* cbbFFD;
  QLabel* lblReasonCode;
  QComboBox* cbbReasonCode;
};

// The save dialog of the X5 and report files with the proposed name; ".txt" is
// added to a name without a suffix. Empty when cancelled.
QString AskX5SaveName(QWidget* parent, const QString& proposed);

}  // namespace zel
