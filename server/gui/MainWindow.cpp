#include "server/gui/MainWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>

#include <cmath>
#include <mutex>

#include "server/core/ServerTexts.h"
#include "server/core/Settings.h"
#include "server/gui/MessageBoxes.h"
#include "server/gui/ProgramInfo.h"

namespace zel {

namespace {
constexpr int kIDRole = Qt::UserRole;
enum TPortColumn { pcPort, pcState, pcComputer, pcPID, pcApplication };
enum TClientColumn { ccNumber, ccComputer, ccPID, ccApplication };

int SecondsOf(int ms) { return static_cast<int>(std::lround(ms / 1000.0)); }
}  // namespace

// Carries change events from any thread to the window as queued signals; the
// window detaches it before it dies, so a late event finds no target.
class TChangeRelay {
 public:
  explicit TChangeRelay(TfmMain* target) : FTarget(target) {}
  void Detach() {
    std::lock_guard lock(FCS);
    FTarget = nullptr;
  }
  void Port(int id, TChangeType change) {
    std::lock_guard lock(FCS);
    if (FTarget) emit FTarget->PortChanged(id, static_cast<int>(change));
  }
  void Client(int id, TChangeType change) {
    std::lock_guard lock(FCS);
    if (FTarget) emit FTarget->ClientChanged(id, static_cast<int>(change));
  }

 private:
  std::mutex FCS;
  TfmMain* FTarget;
};

TServerSettings StartupSettings(const std::vector<std::string>& switches) {
  const TServerSettings stored = LoadSettings();
  if (switches.empty()) return stored;
  TServerSettings s = SettingsFromCommandLine(switches);
  s.BindAddress = stored.BindAddress;
  s.AllowedNetworks = stored.AllowedNetworks;
  s.MaxConnections = stored.MaxConnections;
  s.MaxLineLength = stored.MaxLineLength;
  return s;
}

TfmMain::TfmMain(const std::vector<std::string>& switches, bool trayAvailable)
    : FServer(std::make_unique<TTCPServer>()),
      FRelay(std::make_shared<TChangeRelay>(this)),
      FTrayAvailable(trayAvailable) {
  const TServerSettings settings = StartupSettings(switches);
  SetServerSettings(settings);
  FServer->Configure(settings);

  CreateControls();
  ConnectEditing();
  FillControls();
  FPortsLink.Owner().UpdateTimers();
  CreateTrayIcon();

  connect(this, &TfmMain::PortChanged, this, &TfmMain::OnPortChanged, Qt::QueuedConnection);
  connect(this, &TfmMain::ClientChanged, this, &TfmMain::OnClientChanged, Qt::QueuedConnection);
  FPortsLink.Owner().SetOnChange([relay = FRelay](int id, TChangeType change) { relay->Port(id, change); });
  FClientsLink.Owner().SetOnChange([relay = FRelay](int id, TChangeType change) { relay->Client(id, change); });

  ApplySettings();
  if (!FTrayAvailable) show();
}

TfmMain::~TfmMain() {
  FRelay->Detach();
  FPortsLink.Owner().SetOnChange(nullptr);
  FClientsLink.Owner().SetOnChange(nullptr);
  FServer.reset();  // stops the listener; every connection releases its client
}

void TfmMain::ConnectEditing() {
  connect(chbTCPEnabled, &QCheckBox::toggled, this, &TfmMain::Modified);
  connect(chbAutoUnlock, &QCheckBox::toggled, this, &TfmMain::Modified);
  connect(chbAutoCancel, &QCheckBox::toggled, this, &TfmMain::Modified);
  connect(edtTCPPort, &QLineEdit::textEdited, this, &TfmMain::Modified);
  connect(udTimeout, &QSpinBox::valueChanged, this, &TfmMain::Modified);
  connect(lvPorts, &QTreeWidget::currentItemChanged, this, &TfmMain::UpdateUnlockButton);
  connect(btnUnlockPort, &QPushButton::clicked, this, &TfmMain::OnUnlockPort);
  connect(btnOK, &QPushButton::clicked, this, &TfmMain::OnOK);
  connect(btnCancel, &QPushButton::clicked, this, &TfmMain::OnCancel);
  connect(btnApply, &QPushButton::clicked, this, &TfmMain::ApplySettings);
}

// ---- filling ---------------------------------------------------------------

void TfmMain::FillControls() {
  const bool applyEnabled = btnApply->isEnabled();
  FFilling = true;
  FillPorts();
  FillClients();
  const TServerSettings s = ServerSettings();
  chbTCPEnabled->setChecked(s.TCPEnabled);
  edtTCPPort->setText(QString::number(s.TCPPort));
  udTimeout->setValue(SecondsOf(s.CloseTimeout));
  chbAutoUnlock->setChecked(s.AutoPortClose);
  chbAutoCancel->setChecked(s.AutoRecCancel);
  UpdateDependentControls();
  FFilling = false;
  btnApply->setEnabled(applyEnabled);
}

void TfmMain::FillPorts() {
  lvPorts->clear();
  for (const auto& port : FPortsLink.Owner().List()) {
    auto* row = new QTreeWidgetItem(lvPorts);
    SetPortRow(row, *port);
  }
  if (lvPorts->topLevelItemCount() > 0) lvPorts->setCurrentItem(lvPorts->topLevelItem(0));
  UpdateUnlockButton();
}

void TfmMain::FillClients() {
  lvClients->clear();
  TClients& clients = FClientsLink.Owner();
  clients.Lock();
  for (int i = 0; i < clients.Count(); ++i) SetClientRow(new QTreeWidgetItem(lvClients), *clients.Items(i));
  clients.Unlock();
  RenumberClients();
}

void TfmMain::SetPortRow(QTreeWidgetItem* row, TPrinterPort& port) {
  const bool locked = port.Locked();
  const TLockerRec holder = port.Locker();
  row->setData(pcPort, kIDRole, port.ID());
  row->setText(pcPort, QStringLiteral("COM %1").arg(port.PortNumber()));
  row->setText(pcState, TrQ(locked ? "занят" : "свободен"));
  row->setText(pcComputer, locked ? QString::fromStdString(holder.CompName) : QString());
  row->setText(pcPID, locked ? QString::number(holder.AppPID) : QString());
  row->setText(pcApplication, locked ? QString::fromStdString(holder.AppName) : QString());
}

void TfmMain::SetClientRow(QTreeWidgetItem* row, TZelserv& client) {
  row->setData(ccNumber, kIDRole, client.ID());
  row->setText(ccComputer, QString::fromStdString(client.CompName()));
  row->setText(ccPID, QString::number(client.AppPID()));
  row->setText(ccApplication, QString::fromStdString(client.AppName()));
}

// Row captions follow the client's position in the list, also after a
// client before it has left.
void TfmMain::RenumberClients() {
  for (int i = 0; i < lvClients->topLevelItemCount(); ++i)
    lvClients->topLevelItem(i)->setText(ccNumber, QString::number(i + 1));
  edtClientCount->setText(QString::number(FClientsLink.Owner().Count()));
}

QTreeWidgetItem* TfmMain::FindRow(QTreeWidget* list, int id) const {
  for (int i = 0; i < list->topLevelItemCount(); ++i)
    if (list->topLevelItem(i)->data(0, kIDRole).toInt() == id) return list->topLevelItem(i);
  return nullptr;
}

std::shared_ptr<TPrinterPort> TfmMain::SelectedPort() const {
  const QTreeWidgetItem* row = lvPorts->currentItem();
  return row ? FPortsLink.Owner().ItemByID(row->data(pcPort, kIDRole).toInt()) : nullptr;
}

void TfmMain::UpdateUnlockButton() {
  const auto port = SelectedPort();
  btnUnlockPort->setEnabled(port && port->Locked());
}

// ---- editing ---------------------------------------------------------------

void TfmMain::UpdateDependentControls() {
  chbAutoCancel->setEnabled(chbAutoUnlock->isChecked());
  edtTCPPort->setEnabled(chbTCPEnabled->isChecked());
  lblTCPPort->setEnabled(chbTCPEnabled->isChecked());
}

void TfmMain::Modified() {
  UpdateDependentControls();
  if (!FFilling) btnApply->setEnabled(true);
}

// ---- change notifications --------------------------------------------------

void TfmMain::OnPortChanged(int portID, int change) {
  QTreeWidgetItem* row = FindRow(lvPorts, portID);
  switch (static_cast<TChangeType>(change)) {
    case TChangeType::ctInsert:
    case TChangeType::ctChange:
      if (const auto port = FPortsLink.Owner().ItemByID(portID)) {
        const bool first = lvPorts->topLevelItemCount() == 0;
        if (!row) row = new QTreeWidgetItem(lvPorts);
        SetPortRow(row, *port);
        if (first) lvPorts->setCurrentItem(row);
      }
      break;
    case TChangeType::ctRemove:
      delete row;
      break;
  }
  UpdateUnlockButton();
}

void TfmMain::OnClientChanged(int clientID, int change) {
  QTreeWidgetItem* row = FindRow(lvClients, clientID);
  if (static_cast<TChangeType>(change) == TChangeType::ctRemove) {
    delete row;
  } else {
    TClients& clients = FClientsLink.Owner();
    clients.Lock();
    if (TZelserv* client = clients.ItemByID(clientID)) SetClientRow(row ? row : new QTreeWidgetItem(lvClients), *client);
    clients.Unlock();
  }
  RenumberClients();
}

// ---- actions ---------------------------------------------------------------

void TfmMain::OnUnlockPort() {
  if (const auto port = SelectedPort()) port->UnlockPort(0);  // as the administrator
}

bool TfmMain::ApplySettings() {
  const TServerSettings previous = ServerSettings();
  bool isNumber = false;
  const int tcpPort = edtTCPPort->text().trimmed().toInt(&isNumber);
  if (!isNumber || tcpPort < 0 || tcpPort > 65535) {
    ShowMessage(this, TMessageKind::Error, TrQ("Неверный номер порта TCP: ") + edtTCPPort->text());
    return false;
  }
  try {
    TServerSettings s = previous;
    s.TCPPort = tcpPort;
    s.TCPEnabled = chbTCPEnabled->isChecked();
    // The edit shows whole seconds: a stored value in milliseconds stays as
    // it is until the seconds are changed.
    if (udTimeout->value() != SecondsOf(previous.CloseTimeout)) s.CloseTimeout = udTimeout->value() * 1000;
    s.AutoPortClose = chbAutoUnlock->isChecked();
    s.AutoRecCancel = chbAutoCancel->isChecked();
    SetServerSettings(s);
    FServer->SetPort(s.TCPPort);
    FServer->SetEnabled(s.TCPEnabled);
    const bool accepted = FServer->Update(
        [this](int) { return ShowMessage(this, TMessageKind::Question, TrQ(kTextDropClients)); });
    if (accepted) {
      btnApply->setEnabled(false);
      SaveSettings(s);
    } else {
      SetServerSettings(previous);
      FServer->SetPort(previous.TCPPort);
      FServer->SetEnabled(previous.TCPEnabled);
    }
    FPortsLink.Owner().UpdateTimers();
    return accepted;
  } catch (const std::exception& e) {
    TServerSettings s = ServerSettings();
    s.TCPEnabled = false;
    SetServerSettings(s);
    FServer->SetEnabled(false);
    chbTCPEnabled->setChecked(false);
    FPortsLink.Owner().UpdateTimers();
    ShowMessage(this, TMessageKind::Error, TrQ("Ошибка TCP сервера: ") + QString::fromStdString(e.what()));
    return false;
  }
}

void TfmMain::OnOK() {
  if (ApplySettings()) HideWindow();
}

void TfmMain::OnCancel() {
  btnApply->setEnabled(false);  // the edits are dropped; the next showing refills them
  HideWindow();
}

void TfmMain::ShowWindow() {
  FillControls();
  showNormal();
  raise();
  activateWindow();
}

void TfmMain::HideWindow() {
  if (FTrayAvailable)
    hide();
  else
    showMinimized();  // no tray to come back from
}

void TfmMain::ShowAbout() { ShowMessage(this, TMessageKind::About, AboutText()); }

bool TfmMain::CloseProgram() {
  if (FServer->ConnectionCount() > 0 &&
      !ShowMessage(this, TMessageKind::Question, TrQ(kTextDropClients)))
    return false;
  Shutdown();
  return true;
}

void TfmMain::Shutdown() {
  // Every connection ends and its server object unlocks and closes its port;
  // Stop raises while an exchange still runs, so wait for it.
  for (;;) {
    try {
      FServer->Stop();
      break;
    } catch (const std::exception&) {
    }
  }
  FClosing = true;
  if (FTrayIcon) FTrayIcon->hide();
  hide();
  QCoreApplication::quit();
}

void TfmMain::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && FTrayAvailable && (windowState() & Qt::WindowMinimized))
    QTimer::singleShot(0, this, [this] {
      hide();
      setWindowState(windowState() & ~Qt::WindowMinimized);
    });
}

void TfmMain::closeEvent(QCloseEvent* event) {
  if (FClosing || CloseProgram())
    event->accept();
  else
    event->ignore();
}

}  // namespace zel
