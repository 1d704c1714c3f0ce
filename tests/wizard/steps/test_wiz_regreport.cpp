// The registration report text and its layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "tests/support/TempConfig.h"
#include "wizard/flow/core/FFDVersions.h"
#include "wizard/flow/core/RegReport.h"

namespace zel {
namespace {

using Lines = std::vector<std::string>;

TEST(Slip, LayoutsWrapCentreAndPadByCharactersNotBytes) {
  TSlip right(10);
  right.SetRightAligned(true);
  right.AddPair("ИНН:", "123");
  right.AddPair("Адрес:", "улица Длинная");
  right.AddStr("ЗАГОЛОВОК", true);
  right.AddStr("");
  EXPECT_EQ(right.Lines(), (Lines{"ИНН:   123", "Адрес: ули", "ца Длинная", "ЗАГОЛОВОК"}));

  TSlip colon(10);
  colon.SetWidth2(6);
  colon.AddPair("ИНН", "очень длинное значение");
  colon.AddPair("Длинная метка", "1");
  EXPECT_EQ(colon.Lines(), (Lines{"ИНН   : очень длинное значение", "Длинная метка: 1"}));

  for (int width : {0, -5}) {
    TSlip fallback(width);
    EXPECT_EQ(fallback.Width(), 40);
    fallback.AddStr(std::string(41, 'x'));  // no endless loop, wraps at 40
    EXPECT_EQ(fallback.Lines().size(), 2u);
  }
  EXPECT_EQ(CharsPerLine(576, 12), 48);
  EXPECT_EQ(CharsPerLine(576, 0), 40);
  EXPECT_EQ(CharsPerLine(100, 8), 13);  // 12.5 rounds up
}

TRegParams Registered() {
  TRegParams p;
  p.FirstTime = false;
  p.NewFN = false;
  p.RNM = "0000000001012345";
  p.KKTSerial = "0012345678";
  p.User = "ООО Ромашка";
  p.FFD = kFFD12;
  p.ReasonCode = 3;
  p.ReasonCodesEx = (1u << 0) | (1u << 31);
  p.OFDServer = "ofd.example";
  p.OFDPort = 7790;
  p.ServerKM = "km.example";
  p.PortKM = 7791;
  p.TaxSystem = Bit(tsOSN) | Bit(tsPSN);
  p.WorkMode = Bit(wmAutomatic);
  p.AutomatNumber = "A-7";
  p.WorkModeEx = Bit(wmxMarking);
  p.Agent = 0;
  p.DocNumber = 12;
  p.FiscalSign = "3735928559";
  p.DateTime = {2026, 12, 11, 9, 5, 7};
  return p;
}

bool Has(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(RegReport, ReRegistrationCarriesReasonsModesAndOFDLink) {
  const Lines l = RegPreviewLines(Registered());
  EXPECT_EQ(l.front(), "РНМ ККТ:                : 0000000001012345");
  for (const char* want :
       {"Версия ФФД:             : ФФД 1.2", "Причина перерегистр.:   : Изменение реквизитов",
        "Расширенные коды причин изменения сведений о ККТ:", "  0 [Замена фискального накопителя]",
        "  31 [Иные причины]", "Порт ОФД:               : 7790", "Сервер КМ:              : km.example",
        " [ОСН]", " [ПСН]", " [Автоматический режим]", " Номер автомата         : A-7",
        " [Торговля маркированными товарами]", "Признак агента", " Нет"})
    EXPECT_TRUE(Has(l, want)) << want;
  EXPECT_FALSE(Has(l, "ИНН кассира:            : ")) << "empty cashier INN is left out";
}

TEST(RegReport, NewRegistrationHasHeaderAndNoReasons) {
  TRegParams p = Registered();
  p.FirstTime = true;
  p.FFD = kFFD105;
  p.Agent = Bit(agAgent);
  const Lines l = RegResultLines(p, 40);
  EXPECT_EQ(l[0], "          ОТЧЕТ О РЕГИСТРАЦИИ");
  EXPECT_EQ(l[1], "Дата, Время:         11.12.2026 09:05:07");
  EXPECT_EQ(l[2], "Номер ФД:                             12");
  for (const auto& line : l) {
    EXPECT_EQ(line.find("Причина"), std::string::npos) << line;
    EXPECT_EQ(line.find("Расширенные"), std::string::npos) << line;
    EXPECT_EQ(line.find("Сервер КМ"), std::string::npos) << line;
  }
  EXPECT_TRUE(Has(l, " [Агент]"));
  EXPECT_FALSE(Has(l, " Нет"));
}

TEST(FFDVersions, ListLabelsAgreeWithTheCodesWrittenAndTheReportNames) {
  const auto choices = X5FFDChoices();
  ASSERT_EQ(choices.size(), 4u);
  for (std::size_t i = 0; i < choices.size(); ++i) {
    EXPECT_EQ(choices[i].Code, static_cast<int>(i)) << "list index is the code written";
    EXPECT_EQ(FFDName(choices[i].Code), "ФФД " + choices[i].Label);
  }
  EXPECT_EQ(FFDName(kFFD105), "ФФД 1.05");
  EXPECT_EQ(FFDName(kFFD12), "ФФД 1.2");
  EXPECT_EQ(FFDName(0), "ФФД 1.0 beta");
  EXPECT_EQ(FFDName(5), "");
  EXPECT_EQ(FFDName(kNotChosen), "");
}

TEST(RegReport, SavedFileHoldsOneLinePerReportLine) {
  test::TempDir dir;
  const Lines lines = {"ОТЧЕТ", "ИНН: 1"};
  SaveReportText(dir / "Fiscalization.txt", lines);
  std::ifstream in(dir / "Fiscalization.txt", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "ОТЧЕТ\nИНН: 1\n");
  EXPECT_THROW(SaveReportText(dir / "none/x.txt", lines), std::runtime_error);
}

}  // namespace
}  // namespace zel
