#include "wizard/flow/steps/HostPages.h"

#include <QIntValidator>

#include "driver/Zelvox.h"
#include "wizard/flow/registration/DriverCheck.h"
#include "wizard/flow/steps/DataPages.h"
#include "wizard/flow/steps/GatePages.h"
#include "wizard/flow/steps/PageKit.h"

namespace zel {

void IdentifyDevice() {
  TZelvox& d = EnsureDriver();
  TDisconnectGuard guard(d);
  DriverCheck(d, d.GetDeviceMetrics());
  Controller().KKTName = Trimmed(Q(d.get_UDescription()));
  DriverCheck(d, d.ReadSerialNumber());
  Controller().KKTSN = Trimmed(Q(d.get_SerialNumber()));
}

// ---- device search over serial ports ----

TfmSearchDevice::TfmSearchDevice() : TParamPage("Поиск устройств") {
  setObjectName("fmSearchDevice");
  PageLayout(this);
  AddLabel(this, "lblStatus", "Найденные устройства:");
  lvDevices = AddList(this, "lvDevices", {});
}

void TfmSearchDevice::Next() {
  IdentifyDevice();
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
  bool ok = false;
  const int port = edtPort->text().toInt(&ok);
  if (!ok || port < 1 || port > 65535) Fail(TrQ("Введите TCP порт от 1 до 65535"));
  const std::string ip = Trimmed(edtIP->text());
  if (ip.empty()) FailMissing("IP адрес");
  TZelvox& d = EnsureDriver();
  d.put_ConnectionType(6);
  d.put_IPAddress(ip);
  d.put_TCPPort(port);
  IdentifyDevice();
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

TfmEnterSerial::TfmEnterSerial() : THostPage("Введите заводской номер") {
  HostLayout(this, "fmEnterSerial", "Заводской номер ККТ:");
}
void TfmEnterSerial::Next() {
  if (Controller().X5Mode)
    GoTo<TfmKKTParamsX5>();
  else
    GoTo<TfmSelectClientType>();
}

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

TfmBeforeCloseFN::TfmBeforeCloseFN() : THostPage("Закрытие архива ФН") {
  HostLayout(this, "fmBeforeCloseFN", "Закрытие архива ФН");
}
void TfmBeforeCloseFN::Next() { GoTo<TfmCloseFN>(); }

TfmCloseFN::TfmCloseFN() : THostPage("Закрытие архива ФН") { HostLayout(this, "fmCloseFN", "Закрытие архива ФН"); }
void TfmCloseFN::Next() { GoTo<TfmSelectWorkType>(); }

TfmKKTParamsX5::TfmKKTParamsX5() : THostPage("Сохранить параметры ФР (X5)") {
  HostLayout(this, "fmKKTParamsX5", "Параметры ФР (X5)");
}
void TfmKKTParamsX5::Next() { GoTo<TfmOpenRegParamsX5>(); }

TfmOpenRegParamsX5::TfmOpenRegParamsX5() : THostPage("Открыть файл с парметрами (X5)") {
  HostLayout(this, "fmOpenRegParamsX5", "Файл с параметрами (X5)");
}
void TfmOpenRegParamsX5::Next() { GoTo<TfmRegParamsX5>(); }

TfmRegParamsX5::TfmRegParamsX5() : THostPage("Параметры регистрации (X5)") {
  HostLayout(this, "fmRegParamsX5", "Параметры регистрации (X5)");
}
void TfmRegParamsX5::Next() { GoTo<TfmFiscalizationBefore>(); }

TfmCalculationStateReport::TfmCalculationStateReport() : THostPage("Отчет о текущем состоянии расчетов") {
  HostLayout(this, "fmCalculationStateReport", "Отчет о текущем состоянии расчетов");
}
void TfmCalculationStateReport::Next() { GoTo<TfmSelectWorkType>(); }

}  // namespace zel
