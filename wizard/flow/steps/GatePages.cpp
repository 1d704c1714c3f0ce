#include "wizard/flow/steps/GatePages.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QPlainTextEdit>
#include <QPushButton>

#include "driver/DateTimeConv.h"
#include "driver/Zelvox.h"
#include "wizard/flow/registration/DriverCheck.h"
#include "wizard/flow/registration/GateTexts.h"
#include "wizard/flow/registration/Registration.h"
#include "wizard/flow/steps/DataPages.h"
#include "wizard/flow/steps/HostPages.h"
#include "wizard/flow/steps/PageKit.h"

namespace zel {

namespace {

constexpr int kModelParamOFDTable = 73;
constexpr int kModeShiftClosed = 4;
constexpr int kModeReceiptOpen = 8;

QDateTime DeviceDateTime(TZelvox& d) {
  const TDate date = DateOf(d.get_Date());
  const TTime time = TimeOf(d.get_Time());
  return QDateTime(QDate(date.Year, date.Month, date.Day), QTime(time.Hour, time.Minute, time.Second));
}

QPushButton* AddButton(QWidget* page, QLayout* row, const char* name, const char* text) {
  auto* b = new QPushButton(TrQ(text), page);
  b->setObjectName(name);
  row->addWidget(b);
  return b;
}

}  // namespace

// ---- device connection: the driver and its version ----

TfmConnectDevice::TfmConnectDevice() : TParamPage("Подключите устройство") {
  setObjectName("fmConnectDevice");
  PageLayout(this);
  AddLabel(this, "lblInfo",
           "1. Подключите ККТ к компьютеру.\r\n2. Включите ККТ.\r\n3. Нажмите \"Далее\" для поиска устройства.");
  lblWarning = AddLabel(this, "lblWarning", "");
  SetTextColor(lblWarning, "red");
}

void TfmConnectDevice::Enter() {
  lblWarning->hide();
  const QString minimum = Q(VersionText(kMinDriverVersion));
  TZelvox* d = nullptr;
  try {
    d = &EnsureDriver();
  } catch (const std::exception&) {
    lblWarning->setText(TrQ("Внимание! Не установлен драйвер ФР\r\nДля корректной работы установите драйвер версии не ниже ") +
                        minimum + TrQ(" и перезапустите приложение"));
    lblWarning->show();
    Controller().EnableNext(false);
    Controller().EnableSettings(false);
    return;
  }
  const TVersion version = {static_cast<int>(d->get_DriverMajorVersion()), static_cast<int>(d->get_DriverMinorVersion()),
                            static_cast<int>(d->get_DriverRelease()), static_cast<int>(d->get_DriverBuild())};
  if (CompareVersions(version, kMinDriverVersion) < 0) {
    lblWarning->setText(
        TrQ("Внимание! Установленная версия драйвера ФР меньше минимальной\r\nДля корректной работы необходима версия не ниже ") +
        minimum);
    lblWarning->show();
    Controller().EnableNext(false);
  } else {
    Controller().EnableNext(true);
  }
}

void TfmConnectDevice::Next() { GoTo<TfmSelectPortType>(); }

// ---- connection type ----

TfmSelectPortType::TfmSelectPortType() : TParamPage("Выберите тип подключения к ККТ") {
  setObjectName("fmSelectPortType");
  PageLayout(this);
  lbPortType = AddList(this, "lbPortType", {"COM-порт", "TCP (Ethernet, WiFi, RNDIS)"});
  edtPassword = AddEdit(this, "edtPassword", "Пароль системного администратора:", 8);
  edtPassword->setValidator(new QIntValidator(0, 99999999, edtPassword));
  edtPassword->setToolTip("SysAdminPassword");
}

void TfmSelectPortType::Enter() { edtPassword->setText(QString::number(EnsureDriver().get_SysAdminPassword())); }

void TfmSelectPortType::Next() {
  bool ok = false;
  const int password = edtPassword->text().trimmed().toInt(&ok);
  if (!ok || password < 0) Fail(TrQ("Введите пароль системного администратора"));
  TZelvox& d = EnsureDriver();
  d.put_SysAdminPassword(password);
  d.put_Password(password);
  if (lbPortType->currentRow() == 1)
    GoTo<TfmTCPParams>();
  else
    GoTo<TfmSearchDevice>();
}

// ---- work type ----

TfmSelectWorkType::TfmSelectWorkType() : TParamPage("Выберите тип работы") {
  setObjectName("fmSelectWorkType");
  PageLayout(this);
  lblDevice = AddLabel(this, "lblDevice", "");
  lbWorkType = AddList(this, "lbWorkType", {});
}

void TfmSelectWorkType::Enter() {
  PrevPage = Controller().FindPageByClass(PageClass<TfmConnectDevice>());
  Controller().ClearRegParams();
  lbWorkType->clear();
  for (const char* item : {"Регистрация новой ККТ", "Перерегистрация ККТ без замены ФН", "Перерегистрация ККТ с заменой ФН",
                           "Отчет о текущем состоянии расчетов", "Закрытие архива ФН"})
    lbWorkType->addItem(TrQ(item));
  TZelvox& d = EnsureDriver();
  TDisconnectGuard guard(d);
  TRegParams& r = Controller().RegParams;
  r.OFDEnabled = false;
  lbWorkType->setCurrentRow(0);
  lblDevice->setText(Q(Controller().KKTName) + TrQ(", зав. номер ") + Q(Controller().KKTSN));
  d.put_ModelParamNumber(kModelParamOFDTable);
  DriverCheck(d, d.ReadModelParamValue());
  if (d.get_ModelParamValue().Int > 0) {
    lbWorkType->addItem(TrQ("Настройка связи с ОФД"));
    r.OFDEnabled = true;
  }
}

void TfmSelectWorkType::Next() {
  TController& c = Controller();
  TRegParams& r = c.RegParams;
  c.IsOFDSettingMode = false;
  switch (lbWorkType->currentRow()) {
    case 0:
      r.FirstTime = true;
      GoTo<TFmCheckStatusBeforeRegistration>();
      break;
    case 1:
    case 2:
      r.FirstTime = false;
      r.NewFN = lbWorkType->currentRow() == 2;
      if (c.X5Mode)
        GoTo<TfmKKTParamsX5>();
      else
        GoTo<TFmCheckStatusBeforeReRegistration>();
      break;
    case 3: GoTo<TfmCalculationStateReport>(); break;
    case 4: GoTo<TFmCheckStatusBeforeCloseFN>(); break;
    case 5:
      c.IsOFDSettingMode = true;
      GoTo<TfmOFDParams>();
      break;
    default: break;  // nothing selected: stay
  }
}

// ---- device state ----

TfmCheckStatus::TfmCheckStatus() : TParamPage("Проверка состояния") {
  setObjectName("fmCheckStatus");
  auto* l = PageLayout(this);
  lblOFDStatus = AddLabel(this, "lblOFDStatus", "");
  lblPCTime = AddLabel(this, "lblPCTime", "");
  lblKKTTime = AddLabel(this, "lblKKTTime", "");
  lblTimeDiff = AddLabel(this, "lblTimeDiff", "");
  auto* row = new QHBoxLayout;
  l->addLayout(row);
  btnUpdate = AddButton(this, row, "btnUpdate", "Обновить состояние");
  btnCloseShift = AddButton(this, row, "btnCloseShift", "Закрыть смену");
  btnSyncTime = AddButton(this, row, "btnSyncTime", "Синхронизировать дату и время");
  btnSkip = AddButton(this, l, "btnSkip", "Пропустить проверку...");
  btnSkip->hide();
  connect(btnUpdate, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { UpdateState(); }); });
  connect(btnCloseShift, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { CloseShift(); }); });
  connect(btnSyncTime, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { SyncDateTime(); }); });
  connect(btnSkip, &QPushButton::clicked, this, [this] { Skip(); });
}

void TfmCheckStatus::UpdateState() {
  btnSkip->hide();
  Controller().EnableNext(false);  // until the register has answered
  TZelvox& d = EnsureDriver();
  TDisconnectGuard guard(d);
  DriverCheck(d, d.GetECRStatus());
  const QDateTime device = DeviceDateTime(d);
  const QDateTime pc = QDateTime::currentDateTime();
  lblPCTime->setText(TrQ("Время ПК: ") + QLocale().toString(pc, QLocale::ShortFormat));
  lblKKTTime->setText(TrQ("Время ККТ: ") + QLocale().toString(device, QLocale::ShortFormat));
  const long long diff = device.secsTo(pc);
  lblTimeDiff->setText(Q(TimeDiffText(diff)));
  SetTextColor(lblTimeDiff, diff == 0 ? "green" : "red");

  const bool shiftClosed = d.get_ECRMode() == kModeShiftClosed;
  btnCloseShift->setEnabled(!shiftClosed);
  d.put_OFDExchangeSuspended(false);
  DriverCheck(d, d.FNGetInfoExchangeStatus());
  const int messages = static_cast<int>(d.get_MessageCount());
  btnUpdate->setEnabled(messages != 0);
  Controller().EnableNext(shiftClosed && messages == 0);
  if (!shiftClosed) {
    lblOFDStatus->setText(TrQ("Внимание! Смена не закрыта.\r\nПродолжение невозможно"));
    SetTextColor(lblOFDStatus, "red");
  } else if (messages > 0) {
    lblOFDStatus->setText(
        TrQ("Внимание! Есть неотправленные сообщения для ОФД (%1 шт.)\r\nПродолжение невозможно").arg(messages));
    SetTextColor(lblOFDStatus, "red");
    btnSkip->show();
  } else {
    lblOFDStatus->setText(TrQ("Смена закрыта. Все сообщения отправлены в ОФД.\r\nНажмите \"Далее\" для продолжения"));
    SetTextColor(lblOFDStatus, "black");
  }
  // With messages pending the link stays so that the driver goes on sending them.
  if (messages != 0) guard.Keep();
}

void TfmCheckStatus::CloseShift() {
  TZelvox& d = EnsureDriver();
  {
    TDisconnectGuard guard(d);
    DriverCheck(d, d.GetECRStatus());
    if (d.get_ECRMode() == kModeReceiptOpen) {
      DriverCheck(d, d.SysAdminCancelCheck());
      DriverCheck(d, d.WaitForPrinting());
    }
    DriverCheck(d, d.PrintReportWithCleaning());
    DriverCheck(d, d.WaitForPrinting());
  }
  UpdateState();
}

void TfmCheckStatus::SyncDateTime() {
  TZelvox& d = EnsureDriver();
  TDisconnectGuard guard(d);
  const double now = NowDateTime();
  d.put_Date(now);
  d.put_Time(now);
  DriverCheck(d, d.SetDate());
  DriverCheck(d, d.ConfirmDate());
  DriverCheck(d, d.SetTime());
  UpdateState();
}

void TfmCheckStatus::Skip() {
  Controller().EnableNext(true);
  Controller().Next();
}

void TFmCheckStatusBeforeCloseFN::Next() {
  EnsureDriver().Disconnect();
  GoTo<TfmBeforeCloseFN>();
}
void TFmCheckStatusBeforeRegistration::Next() {
  EnsureDriver().Disconnect();
  GoTo<TfmEnterSerial>();
}
void TFmCheckStatusBeforeReRegistration::Next() {
  EnsureDriver().Disconnect();
  GoTo<TfmSelectClientType>();
}

// ---- OFD exchange ----

TfmOFDExchangeState::TfmOFDExchangeState() : TParamPage("Проверка отправки данных в ОФД") {
  setObjectName("fmOFDExchangeState");
  auto* l = PageLayout(this);
  lblState = AddLabel(this, "lblState", "");
  auto* b = AddButton(this, l, "btnUpdate", "Обновить состояние");
  connect(b, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { Refresh(); }); });
}

void TfmOFDExchangeState::Refresh() {
  TZelvox& d = EnsureDriver();
  TDisconnectGuard guard(d);
  DriverCheck(d, d.FNGetInfoExchangeStatus());
  const auto count = d.get_MessageCount();
  if (count != 0)
    lblState->setText(TrQ("Кол-во неотправленных документов в ОФД: ") + QString::number(count) + "\r\n" +
                      TrQ("Проверьте настройки соединения с Интернет"));
  else
    lblState->setText(TrQ("Все документы успешно отправлены в ОФД\r\nНажмите \"Далее\""));
}

void TfmOFDExchangeState::Next() { GoTo<TfmFinalMessage>(); }

// ---- the end ----

TfmFinalMessage::TfmFinalMessage() : TParamPage("Завершение") {
  setObjectName("fmFinalMessage");
  PageLayout(this);
  AddLabel(this, "lblMessage", "Все шаги выполнены. \r\nНажмите \"Далее\" для возврата в начало");
}

void TfmFinalMessage::Next() { GoTo<TfmConnectDevice>(); }

}  // namespace zel
