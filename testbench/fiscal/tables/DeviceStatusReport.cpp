#include "testbench/fiscal/tables/DeviceStatusReport.h"

#include <cstdio>

#include "common/Translate.h"
#include "testbench/core/util/Amount.h"
#include "testbench/core/util/BinUtils.h"
#include "testbench/core/util/DateTimeUtils.h"
#include "testbench/core/util/TextUtils.h"
#include "testbench/fiscal/tables/FNCodeTables.h"

namespace zel {

std::string DeviceFlagsLabel(bool statusPage) { return Tr("Флаги") + (statusPage ? "KKT" : ""); }

void AddDeviceFlags(TReportBuilder& r, const TDeviceFlagValues& v, bool capFN, const std::string& flagsLabel) {
  struct TLine {
    const char* Label;
    bool Value;
    bool OnlyWithoutFN;
  };
  const TLine lines[] = {
      {"Увеличенная точность количества", v.QuantityPointPosition, false},
      {"Бумага на выходе из накопителя", v.PresenterOut, false},
      {"Бумага на входе в накопитель", v.PresenterIn, false},
      {"ЭКЛЗ почти заполнена", v.IsEKLZOverflow, true},
      {"Денежный ящик открыт", v.IsDrawerOpen, false},
      {"Крышка корпуса поднята", v.LidPositionSensor, false},
      {"Рычаг термоголовки чека опущен", v.ReceiptRibbonLever, false},
      {"Рычаг термоголовки журнала опущен", v.JournalRibbonLever, false},
      {"Оптический датчик чека", v.ReceiptRibbonOpticalSensor, false},
      {"Оптический датчик журнала", v.JournalRibbonOpticalSensor, false},
      {"ЭКЛЗ есть", v.EKLZIsPresent, true},
      {"2 знака после запятой в цене", v.PointPosition, false},
      {"Нижний датчик ПД", v.SlipDocumentIsPresent, false},
      {"Верхний датчик ПД", v.SlipDocumentIsMoving, false},
      {"Рулон чековой ленты", v.ReceiptRibbonIsPresent, false},
      {"Рулон контрольной ленты", v.JournalRibbonIsPresent, false},
  };
  r.AddSeparator();
  r.AddLine(flagsLabel, HexDec(v.ECRFlags, 4));
  r.AddSeparator();
  for (const TLine& line : lines)
    if (!(capFN && line.OnlyWithoutFN)) r.AddBool(Tr(line.Label), line.Value);
}

void AddFMFlagLines(TReportBuilder& r, const TFMFlagValues& v) {
  r.AddBool(Tr("24 часа в ФП кончились"), v.IsFM24HoursOver);
  r.AddBool(Tr("Смена в ФП открыта"), v.IsFMSessionOpen);
  r.AddBool(Tr("Последняя запись в ФП повреждена"), v.IsLastFMRecordCorrupted);
  r.AddBool(Tr("Батарея ФП заряжена более 80 %"), !v.IsBatteryLow);
  r.AddBool(Tr("Переполнение ФП"), v.FMOverflow);
  r.AddBool(Tr("ФП2 есть"), v.FM2IsPresent);
  r.AddBool(Tr("ФП1 есть"), v.FM1IsPresent);
}

void AddFMFlags(TReportBuilder& r, const TFMFlagValues& v) {
  r.AddLine(Tr("Флаги ФП"), HexDec(v.FMFlags, 2));
  r.AddSeparator();
  AddFMFlagLines(r, v);
}

void AddSKNOStatus(TReportBuilder& r, std::int64_t status) {
  char hex[32];
  std::snprintf(hex, sizeof hex, " %.4llXh", static_cast<unsigned long long>(static_cast<std::uint32_t>(status)));
  r.AddRawLine(Tr("Статус СКНО:") + hex);
  for (const TBitLabel& bit : kSKNOStatusBits) r.AddRawLine(Tr(bit.Text) + ": " + GetBitStr(status, bit.Bit));
}

void AddLongStatusReport(TReportBuilder& r, const TECRStatusValues& v) {
  r.AddEmptyLine();
  r.AddSeparator();
  r.AddMemoLine(Tr("Запрос состояния:"));
  r.AddSeparator();
  r.AddMemoLine(Tr("Режим:") + " ");
  r.AddRawLine("  " + CodeText(v.ECRMode, v.ECRModeDescription));
  r.AddSeparator();

  r.AddLine(Tr("Версия ПО"), v.ECRSoftVersion);
  r.AddLine(Tr("Сборка ПО"), v.ECRBuild);
  r.AddLine(Tr("Дата ПО"), DateToStr(v.ECRSoftDate));
  r.AddSeparator();
  r.AddLine(Tr("Информация о ключах: "), KeyInfrastructureToStr(v.FMSoftVersion));

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
  r.AddLine(Tr("Интерфейс подключения"), ConnectionInterfaceToStr(v.PortNumber));

  if (!v.CapFN) {
    r.AddLine(Tr("Количество фискализаций"), v.RegistrationNumber);
    r.AddLine(Tr("Осталось фискализаций"), v.FreeRegistration);
  }
  r.AddLine(Tr("Последняя закрытая смена"), v.SessionNumber);
  if (!v.CapFN) r.AddLine(Tr("Свободных записей в ФП"), v.FreeRecordInFM);
  r.AddLine(Tr("Дата"), DateToStr(v.Date));
  r.AddLine(Tr("Время"), TimeToStr(v.Time));
  r.AddLine(Tr("Заводской номер"), GetSerialNumber(v.SerialNumber));
  r.AddLine(Tr("ИНН"), GetINN(v.INN));

  AddDeviceFlags(r, v.Flags, v.CapFN, DeviceFlagsLabel(true));
  if (!v.CapFN) {
    r.AddSeparator();
    AddFMFlags(r, v.FMFlags);
  }

  if (v.CapCashCore) {
    r.AddSeparator();
    r.AddBool(Tr("Режим АСПД"), v.IsASPDMode);
    r.AddBool(Tr("Блокировка ККТ по неверному паролю НИ"), v.IsBlockedByWrongTaxPassword);
    if (!v.CapFN) {
      r.AddBool(Tr("Повреждены 3 или более записей"), v.IsCorruptedFMRecords);
      r.AddBool(Tr("Повреждена запись фискализации"), v.IsCorruptedFiscalizationInfo);
      r.AddLine(Tr("Тип последней записи ФП"), LastFMRecordTypeToStr(v.LastFMRecordType));
    }
  }

  r.AddSeparator();
  if (v.CapSKNO) AddSKNOStatus(r, v.SKNOStatus);
}

void AddShortStatusReport(TReportBuilder& r, const TShortStatusValues& v) {
  r.AddEmptyLine();
  r.AddSeparator();
  r.AddMemoLine(Tr("Краткий запрос состояния:"));
  r.AddSeparator();
  r.AddMemoLine(Tr("Режим:") + " ");
  r.AddMemoLine(CodeText(v.ECRMode, v.ECRModeDescription));
  r.AddSeparator();

  r.AddLine(Tr("Подрежим"), CodeText(v.ECRAdvancedMode, v.ECRAdvancedModeDescription));
  r.AddLine(Tr("Статус режима"), v.ECRModeStatus);
  r.AddLine(Tr("Количество операций в чеке"), v.QuantityOfOperations);
  r.AddLine(Tr("Напряжение батареи, В"), AmountToStr(v.BatteryVoltage, true));
  r.AddLine(Tr("Напряжение источника, В"), AmountToStr(v.PowerSourceVoltage, true));
  r.AddLine(Tr("Предыдущий режим ККТ"), v.PreviousECRMode);
  r.AddLine(Tr("Температура ТПГ"), v.PrinterHeadTemperature);

  if (v.ModelID == 254) {
    r.AddLine(Tr("Код ошибки при обновлении ключей"),
              CodeText(v.UpdateKeysResultCode, KeyUpdateResultToStr(v.UpdateKeysResultCode, v.UpdateKeysStatus)));
    r.AddLine(Tr("Статус обновления ключей"), CodeText(v.UpdateKeysStatus, KeyUpdateStatusToStr(v.UpdateKeysStatus)));
    r.AddLine(Tr("Кол-во обновленных ключей"), UpdatedKeyCount(v.UpdateKeysStatus));
  }
  if (v.CapLastPrintResult) r.AddLine(Tr("Результат последней печати"), v.LastPrintResult);

  AddDeviceFlags(r, v.Flags, v.CapFN, DeviceFlagsLabel(true));
  r.AddSeparator();
}

}  // namespace zel
