#include "testbench/core/pages/link/LogicDevicePage.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <stdexcept>

#include "testbench/core/Driver.h"
#include "testbench/core/PageBuilder.h"
#include "testbench/core/QtText.h"
#include "testbench/core/pages/link/HostNamePrompt.h"
#include "testbench/core/pages/link/LinkLists.h"

namespace zel {

namespace {
std::int64_t IntField(const QLineEdit* field, const char* name) {
  bool ok = false;
  const qlonglong value = field->text().trimmed().toLongLong(&ok);
  if (!ok) throw std::runtime_error(Tr("Некорректное значение в поле") + " \"" + Tr(name) + "\"");
  return value;
}
}  // namespace

TfmLogicDevice::TfmLogicDevice() {
  TPageBuilder b(this);
  b.Group("grpParams", QTr("Параметры ЛУ"));
  FName = b.Edit("edtLDName", QTr("Название:"));
  FNumber = b.Edit("edtLDNumber", QTr("Номер:"), nullptr, "1");
  FIndex = b.Edit("edtLDIndex", QTr("Индекс:"), nullptr, "0");
  FCount = b.Output("edtLDCount", QTr("Количество:"));
  FPort = b.Combo("cbLDComNumber", QTr("Порт:"), PortItems());
  FSpeed = b.Combo("cbLDBaudrate", QTr("Скорость:"), SpeedItems());
  b.Row();
  FComputer = b.Edit("edtLDComputerName", QTr("Компьютер:"));
  // Not a driver call: opens the host-name prompt directly.
  QPushButton* browse = b.Button("btnBrowseComputer", "...", {});
  QObject::disconnect(browse, &QPushButton::clicked, nullptr, nullptr);
  QObject::connect(browse, &QPushButton::clicked, this, [this] { BrowseComputer(); });
  b.End();
  FTimeout = b.Edit("edtLDTimeout", QTr("Таймаут, мс:"), nullptr, "100");
  b.End();
  b.Row();
  b.Button("btnAddLD", QTr("Добавить ЛУ"), [this] { CallAndRead(&TDriver::AddLD, false, true); });
  b.Button("btnDeleteLD", QTr("Удалить ЛУ"), [this] { CallAndRead(&TDriver::DeleteLD, true, false); });
  b.Button("btnGetCountLD", QTr("Количество ЛУ"), [this] { CallAndRead(&TDriver::GetCountLD, false, false); });
  b.Button("btnEnumLD", QTr("Перечислить ЛУ"), [this] {
    Driver().put_LDIndex(IntField(FIndex, "Индекс:"));
    CallAndRead(&TDriver::EnumLD, false, false);
  });
  b.End();
  b.Row();
  b.Button("btnSetParamLD", QTr("Установить параметры ЛУ"), [this] { SetParams(); });
  b.Button("btnGetParamLD", QTr("Получить параметры ЛУ"), [this] { CallAndRead(&TDriver::GetParamLD, true, false); });
  b.End();
  b.Row();
  b.Button("btnSetActiveLD", QTr("Установить активное ЛУ"),
           [this] { CallAndRead(&TDriver::SetActiveLD, true, false); });
  b.Button("btnGetActiveLD", QTr("Получить активное ЛУ"),
           [this] { CallAndRead(&TDriver::GetActiveLD, false, false); });
  b.End();
  b.Stretch();
}

void TfmLogicDevice::WriteParams(TDriver& d) {
  d.put_LDName(FName->text().toStdString());
  d.put_LDBaudrate(FSpeed->currentIndex());
  d.put_LDComNumber(FPort->currentIndex() + 1);
  d.put_LDComputerName(FComputer->text().toStdString());
  d.put_LDTimeout(IntField(FTimeout, "Таймаут, мс:"));
}

void TfmLogicDevice::ReadParams(const TDriver& d) {
  FName->setText(QString::fromStdString(d.get_LDName()));
  FNumber->setText(QString::number(d.get_LDNumber()));
  SelectItem(FPort, d.get_LDComNumber() - 1);
  SelectItem(FSpeed, d.get_LDBaudrate());
  FCount->setText(QString::number(d.get_LDCount()));
  FIndex->setText(QString::number(d.get_LDIndex()));
  FComputer->setText(QString::fromStdString(d.get_LDComputerName()));
  FTimeout->setText(QString::number(d.get_LDTimeout()));
}

void TfmLogicDevice::CallAndRead(int (TDriver::*method)(), bool setNumber, bool writeParams) {
  TDriver& d = Driver();
  if (setNumber) d.put_LDNumber(IntField(FNumber, "Номер:"));
  if (writeParams) WriteParams(d);
  const int result = (d.*method)();
  ReadParams(d);
  Check(result);
}

void TfmLogicDevice::SetParams() {
  TDriver& d = Driver();
  d.put_LDNumber(IntField(FNumber, "Номер:"));
  WriteParams(d);
  Check(d.SetParamLD());
}

void TfmLogicDevice::BrowseComputer() {
  const QString name = AskHostName(this, FComputer->text());
  if (!name.isEmpty()) FComputer->setText(name);
}

}  // namespace zel
