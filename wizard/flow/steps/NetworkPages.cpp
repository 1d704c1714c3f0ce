#include "wizard/flow/steps/NetworkPages.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>

#include "driver/Zelvox.h"
#include "wizard/device/work/CheckLANWorkTask.h"
#include "wizard/flow/device/LANCheck.h"
#include "wizard/flow/device/NetworkLink.h"
#include "wizard/flow/steps/GatePages.h"
#include "wizard/flow/steps/PageKit.h"
#include "wizard/flow/ui/WizDialogs.h"

namespace zel {

namespace {
constexpr int kCheckRefreshMs = 200;
TLANCheckOptions gCheckOptions;

QPushButton* Button(QWidget* page, QBoxLayout* row, const char* name, const char* text) {
  auto* b = new QPushButton(TrQ(text), page);
  b->setObjectName(name);
  row->addWidget(b);
  return b;
}
}  // namespace

void SetLANCheckOptions(const TLANCheckOptions& options) { gCheckOptions = options; }

// ---- network type ----

TfmSelectNetType::TfmSelectNetType() : TParamPage("Выберите тип подключения к ОФД") {
  setObjectName("fmSelectNetType");
  PageLayout(this);
  lbNetType = AddList(this, "lbNetType", {"Ethernet", "WiFi", "RNDIS"});
}

void TfmSelectNetType::Enter() { lbNetType->setCurrentRow(0); }

void TfmSelectNetType::Next() {
  Controller().IsRNDIS = false;
  switch (lbNetType->currentRow()) {
    case 1: GoTo<TfmWiFiParams>(); break;
    case 2:
      Controller().IsRNDIS = true;
      GoTo<TfmRNDISParams>();
      break;
    default: GoTo<TfmEthernetParams>(); break;
  }
}

// ---- interface settings ----

TNetParamsPage::TNetParamsPage(const char* caption, ENetKind kind) : TParamPage(caption), FKind(kind) {
  auto* l = PageLayout(this);
  if (kind == ENetKind::RNDIS)
    AddLabel(this, "lblNote",
             "Введите настройки сети, подключите ККТ к ПК при помощи USB кабеля и нажмите \"Далее\"");
  if (kind == ENetKind::WiFi) {
    edtWiFiName = AddEdit(this, "edtWiFiName", "Точка доступа WiFI:");
    edtWiFiPassword = AddEdit(this, "edtWiFiPassword", "Пароль WiFi:");  // shown in clear text
  }
  if (kind != ENetKind::RNDIS) {
    chbDHCP = new QCheckBox(TrQ("Использовать DHCP"), this);
    chbDHCP->setObjectName("chbDHCP");
    chbDHCP->setChecked(true);
    l->addWidget(chbDHCP);
    connect(chbDHCP, &QCheckBox::clicked, this, [this] { UpdateDHCP(); });
  }
  edtIP = Address("edtIP", "IP адрес:");
  edtMask = Address("edtMask", "Маска:");
  edtGateway = Address("edtGateway", "Шлюз:");
  edtDNS = Address("edtDNS", "DNS:");
  edtPort = AddEdit(this, "edtPort", "Порт:");
  edtPort->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,5}"), edtPort));
  edtPort->setText("7779");
  l->addStretch();
}

QLineEdit* TNetParamsPage::Address(const char* name, const char* caption) {
  QLineEdit* e = AddEdit(this, name, caption, 15);
  e->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9.]{0,15}"), e));
  return e;
}

// The address fields and their captions follow the DHCP box.
void TNetParamsPage::UpdateDHCP() {
  const bool fixed = !chbDHCP || !chbDHCP->isChecked();
  for (QLineEdit* e : {edtIP, edtMask, edtGateway, edtDNS}) {
    e->setEnabled(fixed);
    for (QLabel* label : findChildren<QLabel*>())
      if (label->buddy() == e) label->setEnabled(fixed);
  }
}

void TNetParamsPage::Enter() {
  TDeviceTables dev(EnsureDriver());
  const TNetSettings s = ReadNetSettings(dev, FKind);
  if (edtWiFiName) {
    edtWiFiName->setText(Q(s.WiFiName));
    edtWiFiPassword->setText(Q(s.WiFiPassword));
  }
  if (chbDHCP) chbDHCP->setChecked(s.DHCP);
  edtIP->setText(Q(s.IP));
  edtMask->setText(Q(s.Mask));
  edtGateway->setText(Q(s.Gateway));
  edtDNS->setText(Q(s.DNS));
  edtPort->setText(Q(s.Port));
  UpdateDHCP();
  if (FKind == ENetKind::RNDIS) edtIP->setFocus();
}

void TNetParamsPage::Next() {
  TNetSettings s;
  s.Kind = FKind;
  s.DHCP = chbDHCP && chbDHCP->isChecked();
  s.IP = Trimmed(edtIP->text());
  s.Mask = Trimmed(edtMask->text());
  s.Gateway = Trimmed(edtGateway->text());
  s.DNS = Trimmed(edtDNS->text());
  s.Port = Trimmed(edtPort->text());
  if (edtWiFiName) {
    s.WiFiName = S(edtWiFiName->text());
    s.WiFiPassword = S(edtWiFiPassword->text());
  }
  TDeviceTables dev(EnsureDriver());
  const TCheckTarget target = ApplyNetSettings(dev, s);  // nothing is written when a value is bad
  TController& c = Controller();
  if (!s.DHCP) {
    c.IP = target.IP;
    c.TCPPort = target.TCPPort;
  }
  c.IsRNDIS = target.IsRNDIS;
  GoToCheck();
  // The operator restarts the register while this box is open.
  wizdlg::Message(this, ProgramTitle(), Q(NetSettingsWrittenText(FKind)), wizdlg::TIcon::Information);
}

TfmEthernetParams::TfmEthernetParams() : TNetParamsPage("Параметры Ethernet", ENetKind::Ethernet) {
  setObjectName("fmEthernetParams");
}
void TfmEthernetParams::GoToCheck() { GoTo<TfmCheckEthernet>(); }

TfmRNDISParams::TfmRNDISParams() : TNetParamsPage("Настройки подключения RNDIS", ENetKind::RNDIS) {
  setObjectName("fmRNDISParams");
}
void TfmRNDISParams::GoToCheck() { GoTo<TfmCheckRNDIS>(); }

TfmWiFiParams::TfmWiFiParams() : TNetParamsPage("Настройки подключения WiFi", ENetKind::WiFi) {
  setObjectName("fmWiFiParams");
}
void TfmWiFiParams::GoToCheck() { GoTo<TfmCheckEthernet>(); }

// ---- connection check ----

TCheckLinkPage::TCheckLinkPage(const char* caption) : TParamPage(caption) {
  auto* l = PageLayout(this);
  lblStatus = AddLabel(this, "lblStatus", "Подключение...");
  lblStatus->setWordWrap(true);
  lblStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblStatus->setMinimumHeight(lblStatus->fontMetrics().lineSpacing() * 3);  // the outcome takes two lines
  auto* row = new QHBoxLayout;
  l->addLayout(row);
  btnRetry = Button(this, row, "btnRetry", "Повторить");
  btnStop = Button(this, row, "btnStop", "Остановить");
  l->addStretch();
  FTimer = new QTimer(this);
  FTimer->setInterval(kCheckRefreshMs);
  connect(FTimer, &QTimer::timeout, this, [this] { Refresh(); });
  connect(btnRetry, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { StartCheck(); }); });
  connect(btnStop, &QPushButton::clicked, this, [this] { StopCheck(); });
}

TCheckLinkPage::~TCheckLinkPage() { StopCheck(); }

void TCheckLinkPage::Enter() {
  lblStatus->setText(TrQ("Проверка соединения..."));
  StartCheck();
}

void TCheckLinkPage::StartCheck() {
  StopCheck();
  Controller().EnablePrev(false);
  Controller().EnableNext(false);
  Controller().EnableHome(false);
  lblStatus->setText(TrQ("Подключение..."));
  SetTextColor(lblStatus, "black");
  btnRetry->setEnabled(false);
  btnStop->setEnabled(true);
  const TController& c = Controller();
  // A task per run: the wizard's driver may have been replaced since the last one.
  FTask = std::make_unique<TCheckLANWorkTask>(EnsureDriver(), TCheckTarget{c.IP, c.TCPPort, c.IsRNDIS}, gCheckOptions);
  FTask->SetOnCompleted([this](TWorkThread&) { Completed(); });
  FTimer->start();
  FTask->Execute();
}

void TCheckLinkPage::StopCheck() {
  if (FTask && FTask->Running()) FTask->Stop();
}

void TCheckLinkPage::Refresh() {
  const bool running = FTask && FTask->Running();
  btnRetry->setEnabled(!running);
  if (FTask) lblStatus->setText(Q(FTask->State().Text()));
}

void TCheckLinkPage::Completed() {
  btnRetry->setEnabled(true);
  btnStop->setEnabled(false);
  FTimer->stop();
  Refresh();
  if (FTask) SetTextColor(lblStatus, FTask->State().Succeeded() ? "green" : "red");
  if (Controller().CurrentPage != this) return;  // a check stopped on leaving the page
  Controller().EnablePrev(true);
  Controller().EnableNext(true);
  Controller().EnableHome(true);
}

void TCheckLinkPage::Next() { GoTo<TfmOFDExchangeState>(); }

TfmCheckEthernet::TfmCheckEthernet() : TCheckLinkPage("Проверка связи по Ethernet") { setObjectName("fmCheckEthernet"); }

TfmCheckRNDIS::TfmCheckRNDIS() : TCheckLinkPage("Проверка связи по RNDIS") { setObjectName("fmCheckRNDIS"); }

}  // namespace zel
