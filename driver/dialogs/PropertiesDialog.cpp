#include "driver/dialogs/PropertiesDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <filesystem>

#include "common/ComResolver.h"
#include "common/Translate.h"
#include "driver/Zelvox.h"
#include "driver/dialogs/DialogTexts.h"

namespace zel {

namespace {

QString T(const char* id) { return QString::fromStdString(Tr(id)); }

const char* kSettings[] = {"ConnectionType", "ComNumber", "BaudRate", "Timeout", "ProtocolType",
                           "ComputerName", "IPAddress", "TCPPort"};

template <class W>
W* Named(W* w, const char* objectName, const char* property) {
  w->setObjectName(objectName);
  w->setToolTip(property);
  return w;
}

}  // namespace

TPropertiesDialog::TPropertiesDialog(TZelvox& driver, QWidget* parent) : QDialog(parent), FDriver(driver) {
  setWindowTitle(T(dlg::kPropertiesTitle));
  for (const char* name : kSettings) {
    std::string value;
    FDriver.GetPropertyText(name, value);
    FSaved.emplace_back(name, value);
  }
  FConnectionType = Named(new QComboBox, "cbConnectionType", "ConnectionType");
  FConnectionType->addItem(T(dlg::kLocalPort), 0);
  FConnectionType->addItem(T(dlg::kServerLocal), 1);
  FConnectionType->addItem(T(dlg::kServerRemote), 2);
  FConnectionType->addItem(T(dlg::kTcpSocket), 6);
  FComNumber = Named(new QComboBox, "cbComNumber", "ComNumber");
  FComNumber->setEditable(true);
  for (int n = 1; n <= kMaxComNumber; ++n) {  // the ports found on this computer
    std::error_code ec;
    const std::string path = ComDevicePath(n);
    if (!path.empty() && std::filesystem::exists(path, ec)) FComNumber->addItem(QString("COM%1").arg(n), n);
  }
  FBaudRate = Named(new QComboBox, "cbBaudRate", "BaudRate");
  for (int rate : {2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600})
    FBaudRate->addItem(QString::number(rate));
  FTimeout = Named(new QSpinBox, "edtTimeout", "Timeout");
  FTimeout->setRange(1, 600000);
  FProtocolType = Named(new QComboBox, "cbProtocolType", "ProtocolType");
  FProtocolType->addItems({T(dlg::kProtocolStandard), T(dlg::kProtocolNumbered), T(dlg::kProtocolMultichannel)});
  FComputerName = Named(new QLineEdit, "edtComputerName", "ComputerName");
  FIPAddress = Named(new QLineEdit, "edtIPAddress", "IPAddress");
  FTCPPort = Named(new QSpinBox, "edtTCPPort", "TCPPort");
  FTCPPort->setRange(1, 65535);
  FCheck = new QPushButton(T(dlg::kCheck));
  FCheck->setObjectName("btnCheckConnection");
  FResult = new QLabel;
  FResult->setObjectName("lblResult");
  FResult->setWordWrap(true);

  auto* form = new QFormLayout;
  form->addRow(T(dlg::kConnectionType), FConnectionType);
  form->addRow(T(dlg::kComNumber), FComNumber);
  form->addRow(T(dlg::kBaudRate), FBaudRate);
  form->addRow(T(dlg::kTimeout), FTimeout);
  form->addRow(T(dlg::kProtocolType), FProtocolType);
  form->addRow(T(dlg::kComputerName), FComputerName);
  form->addRow(T(dlg::kIPAddress), FIPAddress);
  form->addRow(T(dlg::kTCPPort), FTCPPort);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(FCheck);
  layout->addWidget(FResult);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(FCheck, &QPushButton::clicked, this, [this] { CheckConnection(); });
  connect(FConnectionType, &QComboBox::currentIndexChanged, this, [this] { UpdateEnabled(); });
  Load();
}

void TPropertiesDialog::Load() {
  FConnectionType->setCurrentIndex(std::max(0, FConnectionType->findData(static_cast<int>(FDriver.get_ConnectionType()))));
  const int com = static_cast<int>(FDriver.get_ComNumber());
  const int at = FComNumber->findData(com);
  if (at >= 0)
    FComNumber->setCurrentIndex(at);
  else
    FComNumber->setEditText(QString("COM%1").arg(com));
  FBaudRate->setCurrentIndex(std::clamp(static_cast<int>(FDriver.get_BaudRate()), 0, 9));
  FTimeout->setValue(static_cast<int>(FDriver.get_Timeout()));
  FProtocolType->setCurrentIndex(std::clamp(static_cast<int>(FDriver.get_ProtocolType()), 0, 2));
  FComputerName->setText(QString::fromStdString(FDriver.get_ComputerName()));
  FIPAddress->setText(QString::fromStdString(FDriver.get_IPAddress()));
  FTCPPort->setValue(static_cast<int>(FDriver.get_TCPPort()));
  UpdateEnabled();
}

void TPropertiesDialog::UpdateEnabled() {
  const int type = FConnectionType->currentData().toInt();
  const bool serial = type != 6;
  FComNumber->setEnabled(serial);
  FBaudRate->setEnabled(serial);
  FProtocolType->setEnabled(serial);
  FComputerName->setEnabled(type == 1 || type == 2);
  FIPAddress->setEnabled(type == 6);
  FTCPPort->setEnabled(type == 6);
}

void TPropertiesDialog::Apply() {
  FDriver.put_ConnectionType(FConnectionType->currentData().toInt());
  QString com = FComNumber->currentText().trimmed();
  if (com.startsWith("COM", Qt::CaseInsensitive)) com = com.mid(3);
  bool ok = false;
  const int number = com.toInt(&ok);
  if (ok && number > 0) FDriver.put_ComNumber(number);
  FDriver.put_BaudRate(FBaudRate->currentIndex());
  FDriver.put_Timeout(FTimeout->value());
  FDriver.put_ProtocolType(FProtocolType->currentIndex());
  FDriver.put_ComputerName(FComputerName->text().trimmed().toStdString());
  FDriver.put_IPAddress(FIPAddress->text().trimmed().toStdString());
  FDriver.put_TCPPort(FTCPPort->value());
}

void TPropertiesDialog::CheckConnection() {
  FDriver.Disconnect();
  Apply();
  const int code = FDriver.GetECRStatus();
  QString text = QString("(%1) %2").arg(code).arg(QString::fromStdString(FDriver.get_ResultCodeDescription()));
  if (code == 0) text += ", " + QString::fromStdString(FDriver.get_ECRModeDescription());
  FResult->setText(text);
  FDriver.Disconnect();
}

QString TPropertiesDialog::ResultText() const { return FResult->text(); }

void TPropertiesDialog::done(int result) {
  if (result == QDialog::Accepted) {
    Apply();
  } else {
    for (const auto& [name, value] : FSaved) FDriver.SetPropertyText(name, value);
  }
  FDriver.Disconnect();  // the next call links with the settings now in force
  QDialog::done(result);
}

}  // namespace zel
