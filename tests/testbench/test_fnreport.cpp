// FN status page report blocks built from plain values.
#include <gtest/gtest.h>

#include <algorithm>

#include "testbench/core/util/DateTimeUtils.h"
#include "testbench/fiscal/tables/FNReport.h"

namespace zel {
namespace {

std::string Pad(const std::string& name, std::size_t width) {
  std::size_t chars = 0;
  for (char c : name)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++chars;
  return " " + name + std::string(chars < width ? width - chars : 0, ' ') + ": ";
}
std::string Line(const std::string& name, const std::string& value) { return Pad(name, 24) + value; }
std::string Bool(const std::string& name, bool flag) { return Pad(name, 40) + (flag ? "[да]" : "[нет]"); }
const std::string kSeparator = " " + std::string(40, '-');

TEST(FNReport, StatusBlock) {
  TFNStatusValues v;
  v.FNLifeState = 3;
  v.FNCurrentDocument = 3;
  v.FNDocumentData = 1;
  v.FNSessionState = 1;
  v.FNWarningFlags = 0x0A;
  v.DateTime = EncodeDateTime(2024, 5, 6, 7, 8, 9);
  v.SerialNumber = "9999078900001234";
  v.DocumentNumber = 42;
  TReportBuilder r(kFNReportWidths);
  AddFNStatus(r, v);
  const std::vector<std::string> expected{
      kSeparator,
      Line("Состояние фазы жизни", "03h, 3"),
      kSeparator,
      Line("  Проведена настройка ФН", "[да]"),
      Line("  Открыт фискальный режим", "[да]"),
      Line("  Закрыт фискальный режим", "[нет]"),
      Line("  Закончена передача фискальных данных в ОФД", "[нет]"),
      kSeparator,
      Line("Текущий документ", "03h, Неизвестный тип документа"),
      Line("Данные документа", "01h, Получены данные документа"),
      Line("Состояние смены", "01h, Смена открыта"),
      Line("Флаги предупреждения", "0Ah, 10"),
      Line("Дата и время ФН", "06.05.2024 07:08:09"),
      Line("Номер ФН", "9999078900001234"),
      Line("Номер последнего ФД", "42"),
  };
  EXPECT_EQ(r.Lines(), expected);
}

TEST(FNReport, FoundDocumentDetailsByType) {
  TFNDocumentValues v;
  v.DateTime = EncodeDateTime(2024, 1, 2, 3, 4, 5);
  v.DocumentNumber = 7;
  v.FiscalSign = 3000000000;
  v.OperationType = 1;
  v.Summ1 = 123.456;
  v.SessionNumber = 12;
  v.DocumentCount = 4;
  v.DateTime2 = EncodeDateTime(2023, 12, 31, 23, 0, 0);
  v.INN = "7700000000";
  v.KKTRegistrationNumber = "0000000001000001";

  const std::vector<std::string> head{Line("Дата", "02.01.2024 03:04:05"), Line("Номер ФД", "7"),
                                      Line("Фискальный признак", "3000000000")};
  auto with = [&](std::vector<std::string> tail) {
    std::vector<std::string> lines = head;
    lines.insert(lines.end(), tail.begin(), tail.end());
    return lines;
  };
  const struct {
    int type;
    std::string name;
    std::vector<std::string> details;
  } cases[] = {
      {41, "Бланк строгой отчетности", {}},
      {7, "Подтверждение оператора", {}},
      {0, "Нет открытого документа", {}},
      {99, "Неизвестный тип документа", {}},
      {2, "Отчет об открытии смены", with({Line("Номер смены", "12")})},
      {5, "Отчет о закрытии смены", with({Line("Номер смены", "12")})},
      {3, "Кассовый чек", with({Line("Тип операции", "1"), Line("Сумма операции", "123.46")})},
      {31, "Кассовый чек коррекции", with({Line("Тип операции", "1"), Line("Сумма операции", "123.46")})},
      {6, "Отчет о закрытии фискального накопителя",
       with({Line("ИНН", "7700000000"), Line("Рег. номер ККТ", "0000000001000001")})},
      {21, "Отчет о текущем состоянии расчетов",
       with({Line("Кол-во неподтвержд. документов", "4"), Line("Дата 1-го неподтвержд. документа", "31.12.2023 23:00:00")})},
  };
  for (const auto& c : cases) {
    v.DocumentType = c.type;
    v.OFDTicketReceived = c.type == 3;
    TReportBuilder r(kFNReportWidths);
    AddFoundDocument(r, v);
    std::vector<std::string> expected{Line("Тип фиск. документа", std::to_string(c.type) + ", " + c.name),
                                      Line("Получена ли квитанция из ОФД", c.type == 3 ? "[да]" : "[нет]")};
    expected.insert(expected.end(), c.details.begin(), c.details.end());
    EXPECT_EQ(r.Lines(), expected) << c.type;
  }
}

TEST(FNReport, RegistrationChangeBlocks) {
  TFNDocumentValues v;
  v.DocumentType = 11;
  v.INN = "7700000000";
  v.INNOFD = "7704211201";
  v.TaxType = 0b100001;        // ОСН, Патент
  v.WorkMode = 0b010010;       // Автономный режим, Режим БСО
  v.WorkModeEx = 0b1000;       // printer in a vending machine
  v.RegistrationReasonCode = 4;
  v.RegistrationReasonCodeEx = (1LL << 31) | 1;
  TReportBuilder r(kFNReportWidths);
  AddFoundDocument(r, v);
  const auto& lines = r.Lines();
  auto has = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
  EXPECT_TRUE(has(Line("ИНН ОФД", "7704211201")));
  EXPECT_TRUE(has(Line("Код сист. налогообложения", "33")));
  EXPECT_TRUE(has(Bool("  ОСН", true)));
  EXPECT_TRUE(has(Bool("  УСН доход", false)));
  EXPECT_TRUE(has(Bool("  Патент", true)));
  EXPECT_TRUE(has(Bool("  Автономный режим", true)));
  EXPECT_TRUE(has(Bool("  Применение в Интернет", false)));
  EXPECT_TRUE(has(Bool("  Признак установки принтера в автомате", true)));
  EXPECT_TRUE(has(Line("Код причины перерегистрации", "4")));
  ASSERT_GE(lines.size(), 3u);
  // The reason block closes the report and lists only the bits that are set.
  const std::vector<std::string> tail(lines.end() - 3, lines.end());
  EXPECT_EQ(tail, (std::vector<std::string>{Line("Код причины изменения сведений о ККТ", "2147483649"),
                                            Bool("  Замена фискального накопителя", true),
                                            Bool("  Иные причины", true)}));

  TReportBuilder none(kFNReportWidths);
  AddRegistrationReasonCodeEx(none, 0);
  EXPECT_EQ(none.Lines(), (std::vector<std::string>{Line("Код причины изменения сведений о ККТ", "0")}));
}

TEST(FNReport, ButtonOutputs) {
  TReportBuilder r(kFNReportWidths);
  AddFNFreeMemoryResource(r, 100, 512, -1);
  EXPECT_EQ(r.Lines(), (std::vector<std::string>{Line("Ресурс данных 5 летнего хранения", "100 документов"),
                                                 Line("Ресурс данных 30 дневного хранения", "512 Кб")}));
  r.Clear();
  AddFNFreeMemoryResource(r, 1, 2, 0);
  ASSERT_EQ(r.Lines().size(), 3u);
  EXPECT_EQ(r.Lines()[2], Line("Процент заполнения оласти хранения увед. о реализации маркир. товара", "0 %"));

  r.Clear();
  AddFNVersion(r, "fn-1.2", 1);
  AddFNOSUSupportStatus(r, 255);
  AddFNExpiration(r, EncodeDateTime(2027, 3, 1, 12, 0, 0), 11, 1);
  EXPECT_EQ(r.Lines(), (std::vector<std::string>{Line("Версия ПО ФН", "fn-1.2"), Line("Тип ПО ФН", "01h, Серийная версия"),
                                                 Line("Статус поддержки ОСУ:", "255, ФН не поддерживает ОСУ"),
                                                 Line("Срок действия ФН", "01.03.2027"),
                                                 Line("Кол-во оставшихся отчетов о перерегистрации", "11"),
                                                 Line("Выполнено отчетов о перерегистрации", "1")}));

  r.Clear();
  AddSessionKeyUpdate(r, 0, 13);
  EXPECT_EQ(r.Text(), " Состояние обновления ключей:\n ОБНОВЛЕНО КЛЮЧЕЙ: 3, ОШИБОК НЕТ\nОбновление ключей проверки не выполнено.");

  r.Clear();
  AddOKPKeyUpdateAnswer(r, {});
  EXPECT_TRUE(r.Lines().empty());
  AddOKPKeyUpdateAnswer(r, {0xFF});
  EXPECT_EQ(r.Lines(), (std::vector<std::string>{" Результат обновления ключей ОКП: Нет связи с сервером ОКП"}));
}

}  // namespace
}  // namespace zel
