// Device status report: flags formats and what models with an FN leave out.
#include <gtest/gtest.h>

#include <algorithm>

#include "testbench/fiscal/tables/DeviceStatusReport.h"

namespace zel {
namespace {

bool Contains(const std::vector<std::string>& lines, const std::string& part) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(part) != std::string::npos; });
}

TECRStatusValues Sample(bool capFN) {
  TECRStatusValues v;
  v.CapFN = capFN;
  v.CapCashCore = true;
  v.ECRMode = 2;
  v.ECRModeDescription = "Открытая смена";
  v.FMSoftVersion = "WN";
  v.Flags.ECRFlags = 0x0123;
  v.FMFlags.FMFlags = 0x05;
  v.PortNumber = 1;
  return v;
}

TEST(DeviceStatusReport, FlagsLineShowsHexAndDecimal) {
  TReportBuilder r(kDeviceStatusReportWidths);
  TDeviceFlagValues flags;
  flags.ECRFlags = 0x0123;
  flags.PointPosition = true;
  AddDeviceFlags(r, flags, false, DeviceFlagsLabel(true));
  ASSERT_EQ(r.Lines().size(), 19u);  // separator, flags, separator, 16 yes/no lines
  EXPECT_EQ(r.Lines()[1], " ФлагиKKT" + std::string(18, ' ') + ": 0123h, 291");
  EXPECT_EQ(r.Lines()[14], " 2 знака после запятой в цене" + std::string(5, ' ') + ": [да]");

  TReportBuilder full(kFullStatusReportWidths);
  AddDeviceFlags(full, flags, true, DeviceFlagsLabel(false));
  EXPECT_EQ(full.Lines()[1], " Флаги" + std::string(19, ' ') + ": 0123h, 291");
  EXPECT_EQ(full.Lines().size(), 17u);  // the two EKLZ lines are gone
  EXPECT_FALSE(Contains(full.Lines(), "ЭКЛЗ"));
}

TEST(DeviceStatusReport, ModelsWithFNHaveNoFiscalMemoryOrEKLZLines) {
  const char* fmOnly[] = {"Версия ПО ФП", "Сборка ПО ФП", "Дата ПО ФП", "Количество фискализаций",
                          "Осталось фискализаций", "Свободных записей в ФП", "Флаги ФП", "24 часа в ФП кончились",
                          "ФП1 есть", "ЭКЛЗ", "Повреждена запись фискализации", "Тип последней записи ФП"};
  TReportBuilder withFN(kDeviceStatusReportWidths), withoutFN(kDeviceStatusReportWidths);
  AddLongStatusReport(withFN, Sample(true));
  AddLongStatusReport(withoutFN, Sample(false));
  for (const char* text : fmOnly) {
    EXPECT_FALSE(Contains(withFN.Lines(), text)) << text;
    EXPECT_TRUE(Contains(withoutFN.Lines(), text)) << text;
  }
  for (const auto* lines : {&withFN.Lines(), &withoutFN.Lines()}) {
    EXPECT_TRUE(Contains(*lines, "  2, Открытая смена"));
    EXPECT_TRUE(Contains(*lines, " Информация о ключах:      : инфраструктура kordel"));
    EXPECT_TRUE(Contains(*lines, "Интерфейс подключения     : 1, USB vCOM"));
    EXPECT_TRUE(Contains(*lines, "Заводской номер           : не введен"));
    EXPECT_TRUE(Contains(*lines, "ИНН                       : не задан"));
    EXPECT_TRUE(Contains(*lines, "Режим АСПД"));
    EXPECT_FALSE(Contains(*lines, "Статус СКНО"));
  }
  EXPECT_TRUE(Contains(withoutFN.Lines(), "Флаги ФП                  : 05h, 5"));
  EXPECT_TRUE(Contains(withoutFN.Lines(), "Батарея ФП заряжена более 80 %   : [да]"));
}

TEST(DeviceStatusReport, ShortReportKeyAndPrintLines) {
  TShortStatusValues v;
  v.ECRMode = 4;
  v.ECRModeDescription = "Закрытая смена";
  v.BatteryVoltage = 3.1;
  v.UpdateKeysResultCode = 254;
  v.UpdateKeysStatus = 0b1011;  // two keys, urgent
  v.LastPrintResult = 3;
  TReportBuilder plain(kDeviceStatusReportWidths);
  AddShortStatusReport(plain, v);
  EXPECT_TRUE(Contains(plain.Lines(), " 4, Закрытая смена"));
  EXPECT_TRUE(Contains(plain.Lines(), "Напряжение батареи, В     : 3.10"));
  EXPECT_FALSE(Contains(plain.Lines(), "ключей"));
  EXPECT_FALSE(Contains(plain.Lines(), "Результат последней печати"));

  v.ModelID = 254;
  v.CapLastPrintResult = true;
  TReportBuilder r(kDeviceStatusReportWidths);
  AddShortStatusReport(r, v);
  EXPECT_TRUE(Contains(r.Lines(), ": 254, Обновление не производилось, потому что не требуется"));
  EXPECT_TRUE(Contains(r.Lines(), ": 11, Требуется срочное обновление"));
  EXPECT_TRUE(Contains(r.Lines(), "Кол-во обновленных ключей : 2"));
  EXPECT_TRUE(Contains(r.Lines(), "Результат последней печати: 3"));
  EXPECT_EQ(r.Lines().back(), " " + std::string(40, '-'));
}

TEST(DeviceStatusReport, SKNOStatusLines) {
  TReportBuilder r(kDeviceStatusReportWidths);
  AddSKNOStatus(r, 0x0881);
  ASSERT_EQ(r.Lines().size(), 13u);
  EXPECT_EQ(r.Lines()[0], "Статус СКНО: 0881h");
  EXPECT_EQ(r.Lines()[1], "Занят: [да]");
  EXPECT_EQ(r.Lines()[2], "СКЗИ: [нет]");
  EXPECT_EQ(r.Lines()[8], "Смена открыта: [да]");
  EXPECT_EQ(r.Lines()[12], "СКНО исправно: [да]");
}

}  // namespace
}  // namespace zel
