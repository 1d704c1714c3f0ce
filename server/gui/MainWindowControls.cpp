// Building the main window's controls, tray icon and menu.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "server/gui/MainWindow.h"
#include "server/gui/ProgramInfo.h"

namespace zel {

namespace {

constexpr int kTimeoutMax = 32767;  // seconds
constexpr int kTCPPortChars = 5;

template <class T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLabel* Heading(const char* name, const char* text) {
  auto* label = Named(new QLabel(TrQ(text)), name);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

struct TColumn {
  const char* Caption;
  int Width;  // pixels; the last column takes the rest
};

QTreeWidget* ReportList(const char* name, const std::vector<TColumn>& columns) {
  auto* list = Named(new QTreeWidget, name);
  QStringList captions;
  for (const TColumn& c : columns) captions << TrQ(c.Caption);
  list->setHeaderLabels(captions);
  for (int i = 0; i + 1 < static_cast<int>(columns.size()); ++i) list->setColumnWidth(i, columns[i].Width);
  list->setRootIsDecorated(false);
  list->setUniformRowHeights(true);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setAllColumnsShowFocus(true);
  list->header()->setStretchLastSection(true);
  return list;
}

}  // namespace

void TfmMain::CreateControls() {
  setWindowTitle(WindowCaption());
  setWindowIcon(ProgramIcon());
  // A fixed single border with the system menu and the minimise button only.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint);

  PageControl = Named(new QTabWidget, "PageControl");
  PageControl->addTab(CreateCommonTab(), TrQ("Параметры"));
  PageControl->addTab(CreatePortsTab(), TrQ("Порты"));
  PageControl->addTab(CreateClientsTab(), TrQ("Клиенты"));

  btnOK = Named(new QPushButton(TrQ("OK")), "btnOK");
  btnCancel = Named(new QPushButton(TrQ("Отмена")), "btnCancel");
  btnApply = Named(new QPushButton(TrQ("Применить")), "btnApply");
  btnOK->setDefault(true);
  btnApply->setEnabled(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnOK);
  buttons->addWidget(btnCancel);
  buttons->addWidget(btnApply);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PageControl);
  layout->addLayout(buttons);
  setFixedSize(sizeHint().expandedTo(QSize(500, 360)));
}

QWidget* TfmMain::CreateCommonTab() {
  auto* page = Named(new QWidget, "tsCommon");
  Label1 = Heading("Label1", "Подключение");
  chbTCPEnabled = Named(new QCheckBox(TrQ("Использовать TCP")), "chbTCPEnabled");
  lblTCPPort = Named(new QLabel(TrQ("Порт TCP:")), "lblTCPPort");
  edtTCPPort = Named(new QLineEdit, "edtTCPPort");
  edtTCPPort->setMaxLength(kTCPPortChars);
  edtTCPPort->setMaximumWidth(80);
  lblTCPPort->setBuddy(edtTCPPort);

  lblComPort = Heading("lblComPort", "COM порт");
  lblTimeout = Named(new QLabel(TrQ("Таймаут блокировки COM порта, c:")), "lblTimeout");
  // The edit and its up-down in one control; the range keeps it to digits
  // and at most five characters.
  udTimeout = Named(new QSpinBox, "udTimeout");
  udTimeout->setRange(0, kTimeoutMax);
  udTimeout->setMaximumWidth(80);
  udTimeout->findChild<QLineEdit*>()->setObjectName(QStringLiteral("edtTimeout"));
  lblTimeout->setBuddy(udTimeout);
  chbAutoUnlock = Named(new QCheckBox(TrQ("Разблокировать порт при таймауте")), "chbAutoUnlock");
  chbAutoCancel = Named(new QCheckBox(TrQ("Отменить чек при таймауте")), "chbAutoCancel");

  auto* tcpPort = new QHBoxLayout;
  tcpPort->addSpacing(20);
  tcpPort->addWidget(lblTCPPort);
  tcpPort->addWidget(edtTCPPort);
  tcpPort->addStretch();
  auto* timeout = new QHBoxLayout;
  timeout->addWidget(lblTimeout);
  timeout->addWidget(udTimeout);
  timeout->addStretch();

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(Label1);
  layout->addWidget(chbTCPEnabled);
  layout->addLayout(tcpPort);
  layout->addSpacing(12);
  layout->addWidget(lblComPort);
  layout->addLayout(timeout);
  layout->addWidget(chbAutoUnlock);
  layout->addWidget(chbAutoCancel);
  layout->addStretch();
  return page;
}

QWidget* TfmMain::CreatePortsTab() {
  auto* page = Named(new QWidget, "tsPorts");
  lvPorts = ReportList("lvPorts", {{"Порт", 70}, {"Состояние", 90}, {"Компьютер", 110}, {"PID", 60}, {"Приложение", 0}});
  btnUnlockPort = Named(new QPushButton(TrQ("Разблокировать порт")), "btnUnlockPort");
  btnUnlockPort->setEnabled(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnUnlockPort);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(lvPorts);
  layout->addLayout(buttons);
  return page;
}

QWidget* TfmMain::CreateClientsTab() {
  auto* page = Named(new QWidget, "tsClients");
  lvClients = ReportList("lvClients", {{"№", 40}, {"Компьютер", 130}, {"PID", 70}, {"Приложение", 0}});
  lblClientCount = Named(new QLabel(TrQ("Количество клиентов:")), "lblClientCount");
  edtClientCount = Named(new QLineEdit, "edtClientCount");
  edtClientCount->setReadOnly(true);
  edtClientCount->setMaximumWidth(80);
  lblClientCount->setBuddy(edtClientCount);
  auto* count = new QHBoxLayout;
  count->addWidget(lblClientCount);
  count->addWidget(edtClientCount);
  count->addStretch();
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(lvClients);
  layout->addLayout(count);
  return page;
}

void TfmMain::CreateTrayIcon() {
  FPopupMenu = Named(new QMenu(this), "PopupMenu");
  miClose = Named(FPopupMenu->addAction(TrQ("&Закрыть")), "miClose");
  FPopupMenu->addSeparator();
  miProperties = Named(FPopupMenu->addAction(TrQ("&Свойства")), "miProperties");
  miAbout = Named(FPopupMenu->addAction(TrQ("О программе...")), "miAbout");
  FPopupMenu->setDefaultAction(miProperties);
  connect(miClose, &QAction::triggered, this, [this] { CloseProgram(); });
  connect(miProperties, &QAction::triggered, this, [this] { ShowWindow(); });
  connect(miAbout, &QAction::triggered, this, [this] { ShowAbout(); });

  FTrayIcon = new QSystemTrayIcon(ProgramIcon(), this);
  FTrayIcon->setObjectName(QStringLiteral("TrayIcon"));
  FTrayIcon->setToolTip(ProgramTitle());
  FTrayIcon->setContextMenu(FPopupMenu);
  connect(FTrayIcon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) ShowWindow();
  });
  if (FTrayAvailable) FTrayIcon->show();
}

}  // namespace zel
