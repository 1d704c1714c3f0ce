#pragma once
// The register's network link to the OFD: the choice of interface, its settings
// written to the register's tables, and the connection check that follows.
#include <memory>

#include "wizard/flow/core/NetSettings.h"
#include "wizard/flow/ui/ParamPage.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

namespace zel {

class TCheckLANWorkTask;
struct TLANCheckOptions;

class TfmSelectNetType : public TParamPage {
  Q_OBJECT
 public:
  TfmSelectNetType();
  void Next() override;

 protected:
  void Enter() override;

 private:
  QListWidget* lbNetType;
};

// One interface's settings: shown from the register's tables, all checked before
// the first write, then written, and the operator asked to restart the register.
class TNetParamsPage : public TParamPage {
  Q_OBJECT
 public:
  TNetParamsPage(const char* caption, ENetKind kind);
  void Next() override;

 protected:
  void Enter() override;
  // The check page that follows.
  virtual void GoToCheck() = 0;

 private:
  void UpdateDHCP();
  QLineEdit* Address(const char* name, const char* caption);

  ENetKind FKind;
  QLineEdit* edtWiFiName = nullptr;
  QLineEdit* edtWiFiPassword = nullptr;
  QCheckBox* chbDHCP = nullptr;
  QLineEdit* edtIP;
  QLineEdit* edtMask;
  QLineEdit* edtGateway;
  QLineEdit* edtDNS;
  QLineEdit* edtPort;
};

class TfmEthernetParams : public TNetParamsPage {
  Q_OBJECT
 public:
  TfmEthernetParams();

 protected:
  void GoToCheck() override;
};

class TfmRNDISParams : public TNetParamsPage {
  Q_OBJECT
 public:
  TfmRNDISParams();

 protected:
  void GoToCheck() override;
};

// The WiFi link is checked like an Ethernet one: the register's address comes from its tables.
class TfmWiFiParams : public TNetParamsPage {
  Q_OBJECT
 public:
  TfmWiFiParams();

 protected:
  void GoToCheck() override;
};

// Reaches the register over the network on a background task each time the page
// is shown; "Далее" is offered whatever the outcome.
class TCheckLinkPage : public TParamPage {
  Q_OBJECT
 public:
  explicit TCheckLinkPage(const char* caption);
  ~TCheckLinkPage() override;
  void Next() override;
  void Prev() override { StopCheck(); }
  void Home() override { StopCheck(); }
  void CloseEvent() override { StopCheck(); }

 protected:
  void Enter() override;

 private:
  void StartCheck();
  void StopCheck();
  void Refresh();
  void Completed();

  QLabel* lblStatus;
  QPushButton* btnRetry;
  QPushButton* btnStop;
  QTimer* FTimer;
  std::unique_ptr<TCheckLANWorkTask> FTask;
};

class TfmCheckEthernet : public TCheckLinkPage {
  Q_OBJECT
 public:
  TfmCheckEthernet();
};

class TfmCheckRNDIS : public TCheckLinkPage {
  Q_OBJECT
 public:
  TfmCheckRNDIS();
};

// The timing of the connection check (tests shorten the DHCP wait).
void SetLANCheckOptions(const TLANCheckOptions& options);

}  // namespace zel
