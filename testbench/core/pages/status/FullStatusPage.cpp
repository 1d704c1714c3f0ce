#include "testbench/core/pages/status/FullStatusPage.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>

#include "testbench/core/Driver.h"
#include "testbench/core/PageBuilder.h"
#include "testbench/core/QtText.h"
#include "testbench/core/pages/status/StatusValues.h"
#include "testbench/core/util/Amount.h"
#include "testbench/core/util/DateTimeUtils.h"
#include "testbench/core/util/ModelParams.h"
#include "testbench/core/util/TextUtils.h"
#include "testbench/fiscal/tables/FNCodeTables.h"

namespace zel {

namespace {
constexpr int kNoSuchTable = 93;

std::string Fmt(const char* format, int a, int b, const std::string& name, const std::string& value) {
  char head[64];
  std::snprintf(head, sizeof head, format, a, b);
  return head + name + ":" + value;
}

std::string RegisterLine(int number, const std::string& name, const std::string& value) {
  char head[16];
  std::snprintf(head, sizeof head, " %3d.", number);
  return head + PadRight(name, 44) + " : " + value;
}
}  // namespace

TfmFullStatus::TfmFullStatus() : FOut(nullptr, kFullStatusReportWidths) {
  TPageBuilder b(this);
  b.Row();
  b.Button("btnGetStatus", QTr("Получить"), [this] { Build(); });
  FStop = b.Button("btnStop", QTr("Прервать"), {});
  b.Button("btnSave", QTr("Сохранить"), [this] { SaveMemoLines(this, FOut.Memo()); });
  b.Stretch();
  b.End();
  FOut = TReportMemo(b.Memo("Memo"), kFullStatusReportWidths);
  // Not through Run: it has to work while the report runs.
  disconnect(FStop, nullptr, nullptr, nullptr);
  connect(FStop, &QPushButton::clicked, this, [this] { FStopFlag = true; });
  FStop->setEnabled(false);
}

void TfmFullStatus::EnableButtons(bool value) {
  TPage::EnableButtons(value);
  FStop->setEnabled(false);
}

void TfmFullStatus::ProcessEvents() { QApplication::processEvents(); }

void TfmFullStatus::StopAndCheck(int resultCode) {
  ProcessEvents();
  if (FStopFlag) throw EReportStop(Tr("<Прервано пользователем>"));
  Check(resultCode);
}

void TfmFullStatus::Section(const char* header) {
  TReportBuilder& r = FOut.Report();
  r.AddEmptyLine();
  r.AddSeparator();
  r.AddRawLine(std::string(" ") + Tr(header));
  r.AddSeparator();
}

void TfmFullStatus::Build() {
  FStopFlag = false;
  FStop->setEnabled(true);
  TReportMemo::TScope scope(FOut);
  TReportBuilder& r = FOut.Report();
  r.AddEmptyLine();
  r.AddSeparator();
  r.AddRawLine(" " + Tr("Полное состояние"));
  r.AddSeparator();
  TDriver& d = Driver();
  try {
    StatusSection(d);
    ShortStatusSection(d);
    MetricsSection(d);
    TablesSection(d);
    CashRegisterSection(d);
    OperationRegisterSection(d);
    r.AddSeparator();
  } catch (const EReportStop& e) {
    r.AddRawLine(e.what());
  } catch (const EAbort& e) {
    r.AddRawLine(e.what());
  }
}

void TfmFullStatus::StatusSection(TDriver& d) {
  Section("Состояние");
  StopAndCheck(d.GetDeviceMetrics());
  StopAndCheck(d.GetECRStatus());
  TECRStatusValues v = ReadECRStatus(d);
  d.put_ModelParamNumber(ModelParam::CapCashCore);
  StopAndCheck(d.ReadModelParamValue());
  const bool cashCore = ModelParamBool(d, ModelParam::CapCashCore);
  TReportBuilder& r = FOut.Report();
  r.AddMemoLine(Tr("Режим:") + " ");
  r.AddRawLine(" " + CodeText(v.ECRMode, v.ECRModeDescription));
  r.AddSeparator();
  r.AddLine(Tr("Версия ПО"), v.ECRSoftVersion);
  r.AddLine(Tr("Сборка ПО"), v.ECRBuild);
  r.AddLine(Tr("Дата ПО"), DateToStr(v.ECRSoftDate));
  if (!v.CapFN) {
    r.AddSeparator();
    r.AddLine(Tr("Версия ПО ФП"), v.FMSoftVersion);
    r.AddLine(Tr("Сборка ПО ФП"), v.FMBuild);
    r.AddLine(Tr("Дата ПО ФП"), DateToStr(v.FMSoftDate));
  }
  r.AddSeparator();
  r.AddLine(Tr("Подрежим"), CodeText(v.ECRAdvancedMode, v.ECRAdvancedModeDescription));
  r.AddLine(Tr("Статус режима"), v.ECRModeStatus);
  r.AddLine(Tr("Номер ККМ в зале"), v.LogicalNumber);
  r.AddLine(Tr("Номер документа"), v.OpenDocumentNumber);
  r.AddLine(Tr("Интерфейс подключения"), v.PortNumber);
  if (!v.CapFN) {
    r.AddLine(Tr("Количество фискализаций"), v.RegistrationNumber);
    r.AddLine(Tr("Осталось фискализаций"), v.FreeRegistration);
  }
  r.AddLine(Tr("Последняя закрытая смена"), v.SessionNumber);
  if (!v.CapFN) r.AddLine(Tr("Свободных записей в ФП"), v.FreeRecordInFM);
  r.AddLine(Tr("Дата"), DateToStr(v.Date));
  r.AddLine(Tr("Время"), TimeToStr(v.Time));
  if (!v.CapFN) r.AddLine(Tr("Заводской номер"), GetSerialNumber(d.get_SerialNumber()));
  r.AddLine(Tr("ИНН"), GetINN(v.INN));
  AddDeviceFlags(r, v.Flags, v.CapFN, DeviceFlagsLabel(false));
  r.AddSeparator();
  if (!v.CapFN) {
    r.AddLine(Tr("Флаги ФП"), HexDec(v.FMFlags.FMFlags));
    if (cashCore) r.AddLine(Tr("Доп. Флаги ФП"), HexDec(d.get_FMFlagsEx()));
  }
  r.AddSeparator();
  if (!v.CapFN) AddFMFlagLines(r, v.FMFlags);
  if (cashCore) {
    r.AddBool(Tr("Режим АСПД"), v.IsASPDMode);
    if (!v.CapFN) {
      r.AddBool(Tr("Повреждены 3 или более записей"), v.IsCorruptedFMRecords);
      r.AddBool(Tr("Повреждена запись фискализации"), v.IsCorruptedFiscalizationInfo);
    }
  }
  r.AddSeparator();
}

void TfmFullStatus::ShortStatusSection(TDriver& d) {
  Section("Краткое состояние");
  StopAndCheck(d.GetDeviceMetrics());
  StopAndCheck(d.GetShortECRStatus());
  const TShortStatusValues v = ReadShortStatus(d);
  TReportBuilder& r = FOut.Report();
  r.AddMemoLine(Tr("Режим:") + " ");
  r.AddRawLine(" " + CodeText(v.ECRMode, v.ECRModeDescription));
  r.AddSeparator();
  r.AddLine(Tr("Подрежим"), CodeText(v.ECRAdvancedMode, v.ECRAdvancedModeDescription));
  r.AddLine(Tr("Статус режима"), v.ECRModeStatus);
  r.AddLine(Tr("Количество операций в чеке"), v.QuantityOfOperations);
  char volts[32];
  std::snprintf(volts, sizeof volts, "%g", v.BatteryVoltage);
  r.AddLine(Tr("Напряжение батареи, В"), volts);
  std::snprintf(volts, sizeof volts, "%g", v.PowerSourceVoltage);
  r.AddLine(Tr("Напряжение источника, В"), volts);
  if (!v.CapFN) {
    r.AddLine(Tr("Ошибка ФП"), d.get_FMResultCode());
    r.AddLine(Tr("Ошибка ЭКЛЗ"), d.get_EKLZResultCode());
  }
  AddDeviceFlags(r, v.Flags, v.CapFN, DeviceFlagsLabel(false));
  r.AddSeparator();
}

void TfmFullStatus::MetricsSection(TDriver& d) {
  Section("Параметры устройства");
  StopAndCheck(d.GetDeviceMetrics());
  TReportBuilder& r = FOut.Report();
  r.AddRawLine(" " + Tr("Кодовая страница    : ") + std::to_string(d.get_UCodePage()));
  r.AddRawLine(" " + Tr("Описание устройства : ") + d.get_UDescription());
  r.AddRawLine(" " + Tr("Версия протокола    : ") + std::to_string(d.get_UMajorProtocolVersion()));
  r.AddRawLine(" " + Tr("Подверсия протокола : ") + std::to_string(d.get_UMinorProtocolVersion()));
  r.AddRawLine(" " + Tr("Тип устройства      : ") + std::to_string(d.get_UMajorType()));
  r.AddRawLine(" " + Tr("Подтип устройства   : ") + std::to_string(d.get_UMinorType()));
  r.AddRawLine(" " + Tr("Модель устройства   : ") + std::to_string(d.get_UModel()));
}

// Tables 1, 2, ... until the device has no more: 93 ends the section, any
// other failure the report.
void TfmFullStatus::TablesSection(TDriver& d) {
  Section("ТАБЛИЦЫ:");
  TReportBuilder& r = FOut.Report();
  for (int table = 1;; ++table) {
    ProcessEvents();
    if (FStopFlag) throw EReportStop(Tr("<Прервано пользователем>"));
    d.put_TableNumber(table);
    int rc = d.GetTableStruct();
    if (rc == kNoSuchTable) return;
    Check(rc);
    const int rows = static_cast<int>(d.get_RowNumber()), fields = static_cast<int>(d.get_FieldNumber());
    r.AddEmptyLine();
    r.AddSeparator();
    r.AddRawLine(" " + Tr("ТАБЛИЦА") + " " + std::to_string(table) + ". " + d.get_TableName() + ". " +
                 Tr("Рядов:") + std::to_string(rows) + " " + Tr("Полей:") + std::to_string(fields));
    r.AddRawLine(" " + Tr("Ряд.Поле. Наименование:Значение"));
    r.AddSeparator();
    for (int row = 1; row <= rows; ++row) {
      for (int field = 1; field <= fields; ++field) {
        d.put_TableNumber(table);
        d.put_RowNumber(row);
        d.put_FieldNumber(field);
        rc = d.GetFieldStruct();
        if (rc == kNoSuchTable) return;
        StopAndCheck(rc);
        const std::string name = d.get_FieldName();
        rc = d.ReadTable();
        if (rc == kNoSuchTable) return;
        StopAndCheck(rc);
        r.AddRawLine(Fmt(" %.2d.%.2d. ", row, field, name, d.get_ValueOfFieldString()));
      }
      r.AddSeparator();
    }
  }
}

void TfmFullStatus::CashRegisterSection(TDriver& d) {
  Section("ДЕНЕЖНЫЕ РЕГИСТРЫ:");
  TReportBuilder& r = FOut.Report();
  r.AddRawLine(" " + std::string(54, '-'));
  for (int i = 0; i <= 255; ++i) {
    if (FStopFlag) throw EReportStop(Tr("<Прервано пользователем>"));
    d.put_RegisterNumber(i);
    if (d.GetCashReg() != 0) {
      throw EReportStop("<" + Tr("Прервано в результате ошибки:") + " " + std::to_string(d.get_ResultCode()) + " " +
                        d.get_ResultCodeDescription() + ">");
    }
    r.AddRawLine(RegisterLine(i, d.get_NameCashReg(), AmountToStr(d.get_ContentsOfCashRegister(), true)));
    ProcessEvents();
  }
}

void TfmFullStatus::OperationRegisterSection(TDriver& d) {
  Section("ОПЕРАЦИОННЫЕ РЕГИСТРЫ:");
  for (int i = 0; i <= 255; ++i) {
    d.put_RegisterNumber(i);
    StopAndCheck(d.GetOperationReg());
    FOut.Report().AddRawLine(RegisterLine(
        i, d.get_NameOperationReg(), AmountToStr(static_cast<double>(d.get_ContentsOfOperationRegister()), true)));
  }
}

}  // namespace zel
