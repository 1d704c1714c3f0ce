#include "testbench/core/pages/DeviceStatusPage.h"

#include <QPlainTextEdit>

#include "testbench/core/Driver.h"
#include "testbench/core/PageBuilder.h"
#include "testbench/core/QtText.h"

namespace zel {

namespace {
QString Num(std::int64_t v) { return QString::number(v); }
QString Text(const std::string& s) { return QString::fromStdString(s); }
QString ModeText(std::int64_t mode, const std::string& description) {
  return QString::asprintf("%d, ", static_cast<int>(mode)) + Text(description);
}
}  // namespace

TfmDeviceStatus::TfmDeviceStatus() {
  TPageBuilder b(this);
  b.Row();
  b.Button("btnShortStatus", QTr("Краткий запрос"), [this] { ShortStatus(); });
  b.Button("btnDriverVersion", QTr("Версия драйвера"), [this] { DriverVersion(); });
  b.MethodButton("btnResetECR", QTr("Сбросить состояние"), "ResetECR");
  b.MethodButton("btnBeep", QTr("Гудок"), "Beep");
  b.End();
  FMemo = b.Memo("Memo");
}

void TfmDeviceStatus::AddMemoLine(const QString& s) { FMemo->appendPlainText(" " + s); }

void TfmDeviceStatus::AddLineWidth(const QString& name, const QString& value, int width) {
  AddMemoLine(name.leftJustified(width) + ": " + value);
}

void TfmDeviceStatus::AddSeparator() { AddMemoLine(QString(40, '-')); }

void TfmDeviceStatus::AddHeader(const QString& header) {
  FMemo->appendPlainText(QString());
  AddSeparator();
  FMemo->appendPlainText(header);
  AddSeparator();
}

void TfmDeviceStatus::ShortStatus() {
  FMemo->clear();
  TDriver& d = Driver();
  Check(d.GetShortECRStatus());
  AddHeader(" " + QTr("Краткий запрос состояния:"));
  FMemo->appendPlainText(" " + QTr("Режим: ") + " " + ModeText(d.get_ECRMode(), d.get_ECRModeDescription()));
  AddSeparator();
  AddLine(QTr("Подрежим"), ModeText(d.get_ECRAdvancedMode(), d.get_ECRAdvancedModeDescription()));
  AddLine(QTr("Статус режима"), Num(d.get_ECRModeStatus()));
  AddLine(QTr("Количество операций в чеке"), Num(d.get_QuantityOfOperations()));
  AddLine(QTr("Напряжение батареи, В"), QString::asprintf("%.2f", d.get_BatteryVoltage()));
  AddLine(QTr("Напряжение источника, В"), QString::asprintf("%.2f", d.get_PowerSourceVoltage()));
  AddLine(QTr("Предыдущий режим ККТ"), Num(d.get_PreviousECRMode()));
  AddLine(QTr("Температура ТПГ"), Num(d.get_PrinterHeadTemperature()));
  AddSeparator();
}

void TfmDeviceStatus::DriverVersion() {
  FMemo->clear();
  const TDriver& d = Driver();
  AddHeader(" " + QTr("Версия драйвера:"));
  AddLineWidth(QTr("Версия"), Num(d.get_DriverMajorVersion()), 14);
  AddLineWidth(QTr("Подверсия"), Num(d.get_DriverMinorVersion()), 14);
  AddLineWidth(QTr("Релиз"), Num(d.get_DriverRelease()), 14);
  AddLineWidth(QTr("Сборка"), Num(d.get_DriverBuild()), 14);
  AddLineWidth(QTr("Полная версия"), Text(d.get_DriverVersion()), 14);
}

}  // namespace zel
