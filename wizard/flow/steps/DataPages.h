#pragma once
// Steps where the operator enters the registration data. Each shows the record's
// value when one was chosen, the register's otherwise, and writes the record only
// in its Next.
#include <QDialog>
#include <cstdint>
#include <vector>

#include "wizard/flow/ui/ParamPage.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zel {

class TfmSelectClientType : public TParamPage {
  Q_OBJECT
 public:
  TfmSelectClientType();
  void Next() override;

 private:
  QListWidget* lbClientType;
};

class TfmFFD : public TParamPage {
  Q_OBJECT
 public:
  TfmFFD();
  void Next() override;

 protected:
  void Enter() override;

 private:
  QListWidget* lbFFD;
};

class TfmUserParams : public TParamPage {
  Q_OBJECT
 public:
  TfmUserParams();
  void Next() override;

 protected:
  void Enter() override;

 private:
  QLineEdit* edtUser;
  QLineEdit* edtOperator;
  QLineEdit* edtAddress;
  QLineEdit* edtPaymentPlace;
  QLineEdit* edtSenderEmail;
  QLineEdit* edtCashierINN;
};

class TfmINN : public TParamPage {
  Q_OBJECT
 public:
  TfmINN();
  void Next() override;

 protected:
  void Enter() override;

 private:
  QLabel* lblWarning;
  QLineEdit* edtINN;
  QLineEdit* edtRNM;
};

class TfmWorkMode : public TParamPage {
  Q_OBJECT
 public:
  TfmWorkMode();
  void Next() override;

 protected:
  void Enter() override;

 private:
  void UpdateAutomat();
  void ChooseReasonCodes();
  std::vector<QCheckBox*> FTax;     // bit per box: 0, 1, 2, 4, 5
  std::vector<QCheckBox*> FMode;    // bits 0-7
  std::vector<QCheckBox*> FModeEx;  // bits 0-7
  std::vector<QCheckBox*> FAgent;   // bits 0-6
  QLabel* lblAgent;
  QLineEdit* edtAutomatNumber;
  QLabel* lblReasonCode;
  QComboBox* cbReasonCode;
  QLabel* lblReasonCodes;
  QLineEdit* edtReasonCodes;
  QPushButton* btnReasonCodes;
};

// The extended change reasons, one box per reason; a box's tag is its bit.
class TfmReasonCodes : public QDialog {
  Q_OBJECT
 public:
  explicit TfmReasonCodes(QWidget* parent = nullptr);
  void SetCode(std::uint32_t value);
  std::uint32_t GetCode() const;

 private:
  std::vector<std::pair<int, QCheckBox*>> FBoxes;
};

// Runs the reason dialog modally; tests replace it to answer without a window.
// Returns false when cancelled.
using TReasonCodesRunner = std::function<bool(TfmReasonCodes&)>;
void SetReasonCodesRunner(TReasonCodesRunner runner);

}  // namespace zel
