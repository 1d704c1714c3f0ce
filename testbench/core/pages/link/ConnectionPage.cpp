#include "testbench/core/pages/link/ConnectionPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QLineEdit>
#include <QSpinBox>
#include <stdexcept>

#include "testbench/core/ControlValues.h"
#include "testbench/core/Driver.h"
#include "testbench/core/PageBuilder.h"
#include "testbench/core/QtText.h"
#include "testbench/core/pages/link/LinkLists.h"
#include "testbench/core/util/TcpPortCode.h"

namespace zel {

namespace {
int IntField(const QLineEdit* field, const char* name) {
  bool ok = false;
  const int value = field->text().trimmed().toInt(&ok);
  if (!ok) throw std::runtime_error(Tr("Некорректное значение в поле") + " \"" + Tr(name) + "\"");
  return value;
}
}  // namespace

TfmConnection::TfmConnection() {
  TPageBuilder b(this);
  b.Group("grpConnection", QTr("Параметры связи"));
  FPort = b.Combo("cbPortNumber", QTr("Порт:"), PortItems());
  FSpeed = b.Combo("cbBaudRate", QTr("Скорость:"), SpeedItems());
  FTimeout = b.Edit("edtTimeout", QTr("Таймаут, мс:"), nullptr, "3000");
  FInterface = b.Combo("cbInterface", QTr("Интерфейс:"), InterfaceItems());
  b.End();
  b.Group("grpTCP", QTr("TCP порт устройства"));
  FTCP = findChild<QGroupBox*>("grpTCP");
  FCode = b.Spin("edtTCPPortCode", QTr("Код порта:"), 0, 255, 0);
  FRealPort = b.Output("edtTCPPort", QTr("Порт:"));
  b.End();
  FPortNote = new QLabel;
  FPortNote->setObjectName("lblTCPPortNote");
  FPortNote->setWordWrap(true);
  layout()->addWidget(FPortNote);
  b.Row();
  b.Button("btnConnect", QTr("Установить связь"), [this] { Connect(); });
  b.Button("btnDisconnect", QTr("Разорвать связь"), [] { Check(Driver().Disconnect()); });
  b.End();
  b.Row();
  b.Button("btnGetExchangeParam", QTr("Получить параметры"), [this] { GetParams(); });
  b.Button("btnSetExchangeParam", QTr("Установить параметры"), [this] { SetParams(); });
  b.End();
  FConnected = b.CheckBox("chbConnected", QTr("Устройство подключено"));
  FConnected->setProperty("Tag", kTagNotSaved);
  b.Group("grpWait", QTr("Ожидание"));
  FWaitTimeout = b.Edit("edtConnectionTimeout", QTr("Таймаут ожидания, мс:"), nullptr, "30000");
  b.Row();
  b.Button("btnWaitConnection", QTr("Ожидать подключения"), [this] { WaitFor(&TDriver::WaitConnection); });
  b.Button("btnWaitForPrinting", QTr("Ожидать завершения печати"),
           [this] { WaitFor(&TDriver::WaitForPrinting); });
  b.Button("btnWaitForCheckClose", QTr("Ожидать закрытия чека"),
           [this] { WaitFor(&TDriver::WaitForCheckClose); });
  b.End();
  b.End();
  b.Stretch();

  // After every button the page shows the link state again.
  for (QPushButton* button : findChildren<QPushButton*>())
    QObject::connect(button, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { UpdatePage(); }); });
  QObject::connect(FConnected, &QCheckBox::clicked, this, [this](bool on) {
    Run([on] { Driver().put_Connected(on); });
    RunGuarded(this, [this] { UpdatePage(); });
  });
  QObject::connect(FInterface, &QComboBox::currentIndexChanged, this, [this] { InterfaceChanged(); });
  QObject::connect(FCode, &QSpinBox::valueChanged, this, [this] { CodeChanged(); });
  InterfaceChanged();
  CodeChanged();
}

void TfmConnection::showEvent(QShowEvent* event) {
  TPage::showEvent(event);
  if (!DriverExists()) return;  // the fields keep their saved values
  const TDriver& d = Driver();
  FTimeout->setText(QString::number(d.get_Timeout()));
  SelectItem(FSpeed, d.get_BaudRate());
  SelectItem(FPort, d.get_ComNumber() - 1);
  const auto port = static_cast<std::uint16_t>(d.get_TCPPort());
  FCode->setValue(EncodeTCPPort(port));
  FRealPort->setText(QString::number(port));
  FWaitTimeout->setText(QString::number(d.get_ConnectionTimeout()));
}

void TfmConnection::UpdatePage() {
  if (DriverExists()) FConnected->setChecked(Driver().get_Connected());
}

void TfmConnection::ApplyTCPPort(TDriver& d) {
  const auto present = static_cast<std::uint16_t>(d.get_TCPPort());
  const auto code = static_cast<std::uint8_t>(FCode->value());
  if (code == EncodeTCPPort(present) && !IsTCPPortEncodable(present)) {
    FPortNote->setText(QTr("TCP порт %1 не представим однобайтовым кодом (код %2 означает порт %3); "
                           "порт драйвера оставлен без изменений")
                           .arg(present)
                           .arg(code)
                           .arg(DecodeTCPPort(code)));
    FRealPort->setText(QString::number(present));
    return;
  }
  FPortNote->clear();
  d.put_TCPPort(DecodeTCPPort(code));
}

void TfmConnection::Connect() {
  TDriver& d = Driver();
  d.put_ComNumber(FPort->currentIndex() + 1);
  d.put_BaudRate(FSpeed->currentIndex());
  d.put_Timeout(IntField(FTimeout, "Таймаут, мс:"));
  ApplyTCPPort(d);
  Check(d.Connect());
}

void TfmConnection::GetParams() {
  TDriver& d = Driver();
  d.put_PortNumber(kInterfaces[FInterface->currentIndex()].Number);
  Check(d.GetExchangeParam());
  FTimeout->setText(QString::number(d.get_Timeout()));
  SelectItem(FSpeed, d.get_BaudRate());
  FCode->setValue(EncodeTCPPort(static_cast<std::uint16_t>(d.get_TCPPort())));
}

void TfmConnection::SetParams() {
  TDriver& d = Driver();
  d.put_Timeout(IntField(FTimeout, "Таймаут, мс:"));
  d.put_BaudRate(FSpeed->currentIndex());
  ApplyTCPPort(d);
  d.put_PortNumber(kInterfaces[FInterface->currentIndex()].Number);
  Check(d.SetExchangeParam());
}

void TfmConnection::WaitFor(int (TDriver::*method)()) {
  TDriver& d = Driver();
  d.put_ConnectionTimeout(IntField(FWaitTimeout, "Таймаут ожидания, мс:"));
  Check((d.*method)());
}

void TfmConnection::InterfaceChanged() {
  const int index = FInterface->currentIndex();
  FTCP->setEnabled(index >= 0 && kInterfaces[index].Number == kTcpSocketInterface);
}

void TfmConnection::CodeChanged() { FRealPort->setText(QString::number(DecodeTCPPort(static_cast<std::uint8_t>(FCode->value())))); }

}  // namespace zel
