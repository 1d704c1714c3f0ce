#pragma once
// TfmMain: the server's main window. It normally stays hidden behind a tray
// icon; it shows the settings, the shared ports with their lock holders and
// the connected clients, unlocks a stuck port and applies the settings.
#include <QSystemTrayIcon>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "server/core/PrinterPort.h"
#include "server/core/TcpServer.h"
#include "server/core/Zelserv.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace zel {

class TChangeRelay;

class TfmMain : public QWidget {
  Q_OBJECT

 public:
  // `switches`: the command-line parameters; with none the stored settings
  // are used. Without a tray the window is shown at once, since hiding it
  // would leave nothing to bring it back with.
  explicit TfmMain(const std::vector<std::string>& switches,
                   bool trayAvailable = QSystemTrayIcon::isSystemTrayAvailable());
  ~TfmMain() override;

  // Tray click, "&Свойства": refreshes the controls and brings the window up.
  void ShowWindow();
  // Takes the settings from the controls, applies and saves them; false when
  // nothing was applied (bad port text, the user declined, or an error).
  bool ApplySettings();
  // "&Закрыть": releases every client, then ends the program. False when the
  // user chose to keep connected clients.
  bool CloseProgram();
  // Releases every client and ends the program without asking (SIGTERM).
  void Shutdown();
  void ShowAbout();

  TTCPServer& Server() { return *FServer; }
  QSystemTrayIcon* TrayIcon() const { return FTrayIcon; }
  QMenu* PopupMenu() const { return FPopupMenu; }

 signals:
  // Change notifications of the port registry and the client list, emitted
  // on any thread and delivered queued to the window (change: TChangeType).
  void PortChanged(int portID, int change);
  void ClientChanged(int clientID, int change);

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  QWidget* CreateCommonTab();
  QWidget* CreatePortsTab();
  QWidget* CreateClientsTab();
  void CreateTrayIcon();
  void ConnectEditing();

  void FillControls();
  void FillPorts();
  void FillClients();
  void SetPortRow(QTreeWidgetItem* row, TPrinterPort& port);
  void SetClientRow(QTreeWidgetItem* row, TZelserv& client);
  void RenumberClients();
  QTreeWidgetItem* FindRow(QTreeWidget* list, int id) const;
  std::shared_ptr<TPrinterPort> SelectedPort() const;
  void UpdateUnlockButton();
  void UpdateDependentControls();
  void Modified();

  void OnPortChanged(int portID, int change);
  void OnClientChanged(int clientID, int change);
  void OnUnlockPort();
  void OnOK();
  void OnCancel();
  void HideWindow();

  TPrinterPortsLink FPortsLink;
  TClientsLink FClientsLink;
  std::unique_ptr<TTCPServer> FServer;
  std::shared_ptr<TChangeRelay> FRelay;
  const bool FTrayAvailable;
  bool FFilling = false;
  bool FClosing = false;

  QTabWidget* PageControl = nullptr;
  QLabel* Label1 = nullptr;
  QCheckBox* chbTCPEnabled = nullptr;
  QLabel* lblTCPPort = nullptr;
  QLineEdit* edtTCPPort = nullptr;
  QLabel* lblComPort = nullptr;
  QLabel* lblTimeout = nullptr;
  QSpinBox* udTimeout = nullptr;
  QCheckBox* chbAutoUnlock = nullptr;
  QCheckBox* chbAutoCancel = nullptr;
  QTreeWidget* lvPorts = nullptr;
  QPushButton* btnUnlockPort = nullptr;
  QTreeWidget* lvClients = nullptr;
  QLabel* lblClientCount = nullptr;
  QLineEdit* edtClientCount = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;
  QPushButton* btnApply = nullptr;
  QMenu* FPopupMenu = nullptr;
  QAction* miClose = nullptr;
  QAction* miProperties = nullptr;
  QAction* miAbout = nullptr;
  QSystemTrayIcon* FTrayIcon = nullptr;
};

// Start-up settings: the switches when there is any, else the stored ones;
// the network group always comes from the stored settings.
TServerSettings StartupSettings(const std::vector<std::string>& switches);

}  // namespace zel
