#include "wizard/flow/steps/HostPages.h"

#include <QIntValidator>
#include <QPushButton>
#include <QTimer>

#include "wizard/device/search/DeviceSelect.h"

#include "driver/Zelvox.h"
#include "wizard/flow/registration/DriverCheck.h"
#include "wizard/flow/steps/DataPages.h"
#include "wizard/flow/steps/GatePages.h"
#include "wizard/flow/steps/PageKit.h"

namespace zel {

// ---- device search over serial ports ----

namespace {
TSearchSource gSearchSource;
constexpr int kPollMs = 100;
}  // namespace

void SetSearchSource(TSearchSource source) { gSearchSource = std::move(source); }

TfmSearchDevice::TfmSearchDevice() : TParamPage("Поиск устройств") {
  setObjectName("fmSearchDevice");
  PageLayout(this);
  lblStatus = AddLabel(this, "lblStatus", "");
  lvDevices = AddList(this, "lvDevices", {});
  auto* again = new QPushButton(TrQ("Повторить поиск"), this);
  again->setObjectName("btnSearch");
  layout()->addWidget(again);
  connect(again, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { StartSearch(); }); });
  FTimer = new QTimer(this);
  FTimer->setInterval(kPollMs);
  connect(FTimer, &QTimer::timeout, this, [this] { Poll(); });
}

TfmSearchDevice::~TfmSearchDevice() { StopSearch(); }

void TfmSearchDevice::StartSearch() {
  StopSearch();
  lvDevices->clear();
  Controller().EnableNext(false);
  Controller().EnableSettings(false);
  // The probes open the ports themselves: the wizard's link must not hold one.
  if (DriverExists()) EnsureDriver().Disconnect();
  FSearch = std::make_unique<TSerialSearch>(gSearchSource.Factory);
  if (gSearchSource.Ports)
    FSearch->Start(gSearchSource.Ports());
  else
    FSearch->Start();
  lblStatus->setText(TrQ("Идет поиск устройств..."));
  FTimer->start();
}

void TfmSearchDevice::StopSearch() {
  FTimer->stop();
  if (FSearch) FSearch->Stop();
}

void TfmSearchDevice::Poll() {
  if (!FSearch) return;
  for (const auto& found : FSearch->TakeFound()) {
    auto* item = new QListWidgetItem(Q(found.Text), lvDevices);
    item->setData(Qt::UserRole, found.PortNumber);
    if (lvDevices->count() == 1) lvDevices->setCurrentRow(0);
  }
  if (!FSearch->AllFinished()) return;
  FTimer->stop();
  Controller().EnableSettings(true);
  Controller().EnableNext(lvDevices->count() > 0);
  lblStatus->setText(lvDevices->count() > 0 ? TrQ("Поиск завершен") : TrQ("Устройства не найдены"));
}

void TfmSearchDevice::Next() {
  QListWidgetItem* item = lvDevices->currentItem();
  if (!item || !FSearch) Fail(TrQ("Выберите устройство"));
  const auto device = FSearch->Find(item->data(Qt::UserRole).toInt());
  if (!device) Fail(TrQ("Выберите устройство"));
  StopSearch();
  TZelvox& d = EnsureDriver();
  TDisconnectGuard guard(d);  // also after a refusal
  const TSelectedDevice selected = UseSearchedDevice(d, *device);
  Controller().KKTName = Trimmed(Q(selected.Name));
  Controller().KKTSN = Trimmed(Q(selected.Serial));
  GoTo<TfmSelectWorkType>();
}

// ---- TCP address of the register ----

TfmTCPParams::TfmTCPParams() : TParamPage("Параметры подключения по TCP") {
  setObjectName("fmTCPParams");
  PageLayout(this);
  edtIP = AddEdit(this, "edtIP", "IP адрес:", 64);
  edtPort = AddEdit(this, "edtPort", "TCP порт:", 5);
  edtPort->setValidator(new QIntValidator(1, 65535, edtPort));
  edtIP->setText("192.168.137.111");
  edtPort->setText("7778");
}

void TfmTCPParams::Next() {
  const std::string ip = Trimmed(edtIP->text());
  const int port = edtPort->text().toInt();
  const std::string bad = CheckTCPAddress(ip, port);
  if (!bad.empty()) Fail(Q(bad));
  TZelvox& d = EnsureDriver();
  TDisconnectGuard guard(d);
  const TTCPCheckResult result = CheckTCPConnection(d, ip, port);
  if (!result.Ok) Fail(Q(result.Text));
  Controller().IP = ip;
  Controller().TCPPort = port;
  Controller().KKTName = Trimmed(Q(result.Device.Name));
  Controller().KKTSN = Trimmed(Q(result.Device.Serial));
  GoTo<TfmSelectWorkType>();
}

// ---- pages whose work is hosted elsewhere: controls and place in the step graph ----

namespace {
void HostLayout(THostPage* page, const char* name, const char* text) {
  page->setObjectName(name);
  PageLayout(page);
  AddLabel(page, "lblInfo", text);
}
}  // namespace

TfmOFDParams::TfmOFDParams() : THostPage("Настройки ОФД") { HostLayout(this, "fmOFDParams", "Параметры ОФД"); }
void TfmOFDParams::Next() {
  if (Controller().IsOFDSettingMode)
    GoTo<TfmSelectNetType>();
  else
    GoTo<TfmUserParams>();
}

TfmSelectNetType::TfmSelectNetType() : THostPage("Выберите тип подключения к ОФД") {
  HostLayout(this, "fmSelectNetType", "Тип подключения к ОФД");
}
void TfmSelectNetType::Next() { GoTo<TfmEthernetParams>(); }

TfmEthernetParams::TfmEthernetParams() : THostPage("Параметры Ethernet") {
  HostLayout(this, "fmEthernetParams", "Параметры Ethernet");
}
void TfmEthernetParams::Next() { GoTo<TfmCheckEthernet>(); }

TfmRNDISParams::TfmRNDISParams() : THostPage("Настройки подключения RNDIS") {
  HostLayout(this, "fmRNDISParams", "Параметры RNDIS");
}
void TfmRNDISParams::Next() { GoTo<TfmCheckRNDIS>(); }

// The WiFi settings are checked like an Ethernet link.
TfmWiFiParams::TfmWiFiParams() : THostPage("Настройки подключения WiFi") {
  HostLayout(this, "fmWiFiParams", "Параметры WiFi");
}
void TfmWiFiParams::Next() { GoTo<TfmCheckEthernet>(); }

TfmCheckRNDIS::TfmCheckRNDIS() : THostPage("Проверка связи по RNDIS") {
  HostLayout(this, "fmCheckRNDIS", "Проверка связи");
}
void TfmCheckRNDIS::Next() { GoTo<TfmOFDExchangeState>(); }

TfmCheckEthernet::TfmCheckEthernet() : THostPage("Проверка связи по Ethernet") {
  HostLayout(this, "fmCheckEthernet", "Проверка связи");
}
void TfmCheckEthernet::Next() { GoTo<TfmOFDExchangeState>(); }

}  // namespace zel
