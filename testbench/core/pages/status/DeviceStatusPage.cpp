#include "testbench/core/pages/status/DeviceStatusPage.h"

#include <QPlainTextEdit>

#include "testbench/core/Driver.h"
#include "testbench/core/PageBuilder.h"
#include "testbench/core/QtText.h"
#include "testbench/core/pages/status/StatusValues.h"
#include "testbench/core/util/TextUtils.h"

namespace zel {

namespace {
std::string Num(std::int64_t v) { return std::to_string(v); }
}  // namespace

TfmDeviceStatus::TfmDeviceStatus() : FOut(nullptr, kDeviceStatusReportWidths) {
  TPageBuilder b(this);
  b.Row();
  b.Button("btnLongStatus", QTr("Длинный запрос"), [this] { LongStatus(); });
  b.Button("btnShortStatus", QTr("Краткий запрос"), [this] { ShortStatus(); });
  b.Button("btnDeviceMetrics", QTr("Параметры устройства"), [this] { DeviceMetrics(); });
  b.MethodButton("btnResetECR", QTr("Сбросить состояние"), "ResetECR");
  b.Button("btnModelParams", QTr("Параметры модели"), [this] { ModelParams(); });
  b.End();
  b.Row();
  b.Button("btnDriverVersion", QTr("Версия драйвера"), [this] { DriverVersion(); });
  b.Button("btnShowTablesDlg", QTr("Таблицы..."), [this] { ShowTables(); });
  b.Button("btnErrorDescriptions", QTr("Описания ошибок"), [this] { ErrorDescriptions(); });
  b.Button("btnSerialNumber", QTr("Заводской номер"), [this] { SerialNumber(); });
  b.MethodButton("btnBeep", QTr("Гудок"), "Beep");
  b.End();
  FOut = TReportMemo(b.Memo("Memo"), kDeviceStatusReportWidths);
}

void TfmDeviceStatus::AddHeader(const char* header) {
  TReportBuilder& r = FOut.Report();
  r.AddEmptyLine();
  r.AddSeparator();
  r.AddRawLine(std::string(" ") + Tr(header));
  r.AddSeparator();
}

void TfmDeviceStatus::LongStatus() {
  TReportMemo::TScope scope(FOut);
  TDriver& d = Driver();
  Check(d.GetECRStatus());
  AddLongStatusReport(FOut.Report(), ReadECRStatus(d));
}

void TfmDeviceStatus::ShortStatus() {
  TReportMemo::TScope scope(FOut);
  TDriver& d = Driver();
  Check(d.GetShortECRStatus());
  AddShortStatusReport(FOut.Report(), ReadShortStatus(d));
}

void TfmDeviceStatus::DeviceMetrics() {
  TReportMemo::TScope scope(FOut);
  TDriver& d = Driver();
  Check(d.GetDeviceMetrics());
  AddHeader("Параметры принтера:");
  TReportBuilder& r = FOut.Report();
  r.AddRawLine(" " + Tr("Кодовая страница    : ") + Num(d.get_UCodePage()) + ", " + d.get_UCodePageText());
  r.AddRawLine(" " + Tr("Описание устройства : ") + d.get_UDescription());
  r.AddRawLine(" " + Tr("Версия протокола    : ") + Num(d.get_UMajorProtocolVersion()));
  r.AddRawLine(" " + Tr("Подверсия протокола : ") + Num(d.get_UMinorProtocolVersion()));
  r.AddRawLine(" " + Tr("Тип устройства      : ") + Num(d.get_UMajorType()));
  r.AddRawLine(" " + Tr("Подтип устройства   : ") + Num(d.get_UMinorType()));
  r.AddRawLine(" " + Tr("Модель устройства   : ") + Num(d.get_UModel()));
}

// The list ends quietly at the first parameter the device refuses.
void TfmDeviceStatus::ModelParams() {
  TReportMemo::TScope scope(FOut);
  TDriver& d = Driver();
  Check(d.GetDeviceMetrics());
  AddHeader("Параметры Модели:");
  const std::int64_t count = d.get_ModelParamCount();
  for (std::int64_t i = 0; i < count; ++i) {
    d.put_ModelParamIndex(i);
    if (d.ReadModelParam() != 0) break;
    char name[16];
    std::snprintf(name, sizeof name, "%4d. ", static_cast<int>(d.get_ModelParamNumber()));
    FOut.Report().AddLineWidth(name + d.get_ModelParamDescription(), ModelParamValueText(d), 44);
  }
}

void TfmDeviceStatus::DriverVersion() {
  TReportMemo::TScope scope(FOut);
  const TDriver& d = Driver();
  AddHeader("Версия драйвера:");
  TReportBuilder& r = FOut.Report();
  r.AddLineWidth(Tr("Версия"), Num(d.get_DriverMajorVersion()), 14);
  r.AddLineWidth(Tr("Подверсия"), Num(d.get_DriverMinorVersion()), 14);
  r.AddLineWidth(Tr("Релиз"), Num(d.get_DriverRelease()), 14);
  r.AddLineWidth(Tr("Сборка"), Num(d.get_DriverBuild()), 14);
  r.AddLineWidth(Tr("Полная версия"), d.get_DriverVersion(), 14);
}

void TfmDeviceStatus::ShowTables() {
  TDriver& d = Driver();
  d.put_ParentWnd(static_cast<std::int64_t>(winId()));
  Check(d.ShowTablesDlg());
}

void TfmDeviceStatus::ErrorDescriptions() {
  TReportMemo::TScope scope(FOut);
  TDriver& d = Driver();
  Check(d.GetDeviceMetrics());
  AddHeader("Описания ошибок");
  for (int code = 0; code <= 255; ++code) {
    d.put_ErrorCode(code);
    if (d.ReadErrorDescription() != 0) break;
    char head[8];
    std::snprintf(head, sizeof head, " %.2x: ", code);
    FOut.Report().AddRawLine(head + d.get_ErrorDescription());
  }
}

// A failed read shows no serial rather than the one left over from an
// earlier call.
void TfmDeviceStatus::SerialNumber() {
  TReportMemo::TScope scope(FOut);
  TDriver& d = Driver();
  const bool read = d.ReadSerialNumber() == 0;
  FOut.Report().AddLine(Tr("Заводской номер"), GetSerialNumber(read ? d.get_SerialNumber() : std::string()));
}

}  // namespace zel
