#pragma once
// Steps that decide whether the operator may go on: driver, connection type,
// work type, device state, OFD exchange, the registration and its result, the end.
#include "wizard/flow/steps/ReportPages.h"
#include "wizard/flow/ui/ParamPage.h"

class QLabel;
class QListWidget;
class QLineEdit;
class QPushButton;
class QPlainTextEdit;

namespace zel {

class TfmConnectDevice : public TParamPage {
  Q_OBJECT
 public:
  TfmConnectDevice();
  void Next() override;

 protected:
  void Enter() override;

 private:
  QLabel* lblWarning;
};

class TfmSelectPortType : public TParamPage {
  Q_OBJECT
 public:
  TfmSelectPortType();
  void Next() override;

 protected:
  void Enter() override;

 private:
  QListWidget* lbPortType;
  QLineEdit* edtPassword;
};

class TfmSelectWorkType : public TParamPage {
  Q_OBJECT
 public:
  TfmSelectWorkType();
  void Next() override;

 protected:
  void Enter() override;

 private:
  QLabel* lblDevice;
  QListWidget* lbWorkType;
};

class TfmCheckStatus : public TParamPage {
  Q_OBJECT
 public:
  TfmCheckStatus();
  void UpdateState();

 protected:
  void Enter() override { UpdateState(); }

 private:
  void CloseShift();
  void SyncDateTime();
  void Skip();
  QLabel* lblOFDStatus;
  QLabel* lblPCTime;
  QLabel* lblKKTTime;
  QLabel* lblTimeDiff;
  QPushButton* btnUpdate;
  QPushButton* btnCloseShift;
  QPushButton* btnSyncTime;
  QPushButton* btnSkip;
};

class TFmCheckStatusBeforeCloseFN : public TfmCheckStatus {
  Q_OBJECT
 public:
  void Next() override;
};
class TFmCheckStatusBeforeRegistration : public TfmCheckStatus {
  Q_OBJECT
 public:
  void Next() override;
};
class TFmCheckStatusBeforeReRegistration : public TfmCheckStatus {
  Q_OBJECT
 public:
  void Next() override;
};

class TfmOFDExchangeState : public TParamPage {
  Q_OBJECT
 public:
  TfmOFDExchangeState();
  void Next() override;

 protected:
  void Enter() override { Refresh(); }

 private:
  void Refresh();
  QLabel* lblState;
};

class TfmFinalMessage : public TParamPage {
  Q_OBJECT
 public:
  TfmFinalMessage();
  void Next() override;
};

}  // namespace zel
