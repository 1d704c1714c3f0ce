#pragma once
// Steps whose work lives in objects of their own (device search, network set-up
// and checks, OFD data, service and X5 steps): each page hosts its controls and
// its place in the step graph.
#include <memory>

#include "wizard/device/search/SerialSearch.h"
#include "wizard/flow/steps/ReportPages.h"
#include "wizard/flow/steps/ServicePages.h"
#include "wizard/flow/steps/X5Pages.h"
#include "wizard/flow/ui/ParamPage.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QTimer;

namespace zel {

// A page that shows its controls and goes on to a fixed successor.
class THostPage : public TParamPage {
  Q_OBJECT
 public:
  explicit THostPage(const char* caption) : TParamPage(caption) {}
};

class TfmOFDParams : public THostPage {
  Q_OBJECT
 public:
  TfmOFDParams();
  void Next() override;
};
class TfmSelectNetType : public THostPage {
  Q_OBJECT
 public:
  TfmSelectNetType();
  void Next() override;
};
class TfmEthernetParams : public THostPage {
  Q_OBJECT
 public:
  TfmEthernetParams();
  void Next() override;
};
class TfmRNDISParams : public THostPage {
  Q_OBJECT
 public:
  TfmRNDISParams();
  void Next() override;
};
class TfmWiFiParams : public THostPage {
  Q_OBJECT
 public:
  TfmWiFiParams();
  void Next() override;
};
class TfmCheckRNDIS : public THostPage {
  Q_OBJECT
 public:
  TfmCheckRNDIS();
  void Next() override;
};
class TfmCheckEthernet : public THostPage {
  Q_OBJECT
 public:
  TfmCheckEthernet();
  void Next() override;
};

// Serial search: one probe per port, polled by a timer; the settings button
// stays disabled while the probes run.
class TfmSearchDevice : public TParamPage {
  Q_OBJECT
 public:
  TfmSearchDevice();
  ~TfmSearchDevice() override;
  void Next() override;
  void Prev() override { StopSearch(); }
  void Home() override { StopSearch(); }
  void CloseEvent() override { StopSearch(); }

 protected:
  void Enter() override { StartSearch(); }

 private:
  void StartSearch();
  void StopSearch();
  void Poll();
  QLabel* lblStatus;
  QListWidget* lvDevices;
  QTimer* FTimer;
  std::unique_ptr<TSerialSearch> FSearch;
};

// Where the search page takes its ports and probes from (tests give their own).
struct TSearchSource {
  std::function<TSerialPorts()> Ports;
  TSerialSearch::TFactory Factory;
};
void SetSearchSource(TSearchSource source);

class TfmTCPParams : public TParamPage {
  Q_OBJECT
 public:
  TfmTCPParams();
  void Next() override;

 private:
  QLineEdit* edtIP;
  QLineEdit* edtPort;
};

}  // namespace zel
