// FN code tables and their decoders.
#include <gtest/gtest.h>

#include <set>

#include "testbench/fiscal/tables/FNCodeTables.h"

namespace zel {
namespace {

TEST(FNCodeTables, DocumentTypesOfStatusAndSearchDiffer) {
  const struct {
    int code;
    const char* status;
    const char* found;
  } cases[] = {
      {0, "Нет открытого документа", "Нет открытого документа"},
      {3, "Неизвестный тип документа", "Кассовый чек"},
      {4, "Кассовый чек", "Бланк строгой отчетности"},
      {16, "Отчет о закрытии фискального накопителя", "Неизвестный тип документа"},
      {18, "Отчет об изменении параметров регистрации в связи с заменой ФН", "Неизвестный тип документа"},
      {21, "Бланк строгой отчетности коррекции", "Отчет о текущем состоянии расчетов"},
      {23, "Отчет о текущем состоянии расчетов", "Неизвестный тип документа"},
      {31, "Неизвестный тип документа", "Кассовый чек коррекции"},
      {41, "Неизвестный тип документа", "Бланк строгой отчетности"},
      {-1, "Неизвестный тип документа", "Неизвестный тип документа"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FNStatusDocumentTypeToStr(c.code), c.status) << c.code;
    EXPECT_EQ(FNFindDocumentTypeToStr(c.code), c.found) << c.code;
  }
}

TEST(FNCodeTables, SmallTables) {
  EXPECT_EQ(FNDocumentDataToStr(1), "Получены данные документа");
  EXPECT_EQ(FNDocumentDataToStr(2), "Неизвестное значение");
  EXPECT_EQ(FNSessionStateToStr(0), "Смена закрыта");
  EXPECT_EQ(FNSessionStateToStr(7), "Неизвестное значение");
  EXPECT_EQ(FNVersionTypeToStr(1), "Серийная версия");
  EXPECT_EQ(FNVersionTypeToStr(2), "Неизвестное значение");
  EXPECT_EQ(OSUSupportStatusToStr(255), "255, ФН не поддерживает ОСУ");
  EXPECT_EQ(OSUSupportStatusToStr(1), "1, ФН поддерживает ОСУ, функция активна");
  EXPECT_EQ(OSUSupportStatusToStr(2), "2, Неизвестный код ответа");
  EXPECT_EQ(OSUSupportAnswerToStr(0), "0x00, ФН поддерживает ОСУ, режим ОСУ не активен");
  EXPECT_EQ(OSUSupportAnswerToStr(1), "0x01, ФН поддерживает ОСУ и ОСУ активна");
  EXPECT_EQ(OSUSupportAnswerToStr(255), "0xFF, ФН не поддерживает ОСУ");
  EXPECT_EQ(OSUSupportAnswerToStr(7), "7, Неизвестное значение");
  EXPECT_EQ(ConnectionInterfaceToStr(2), "2, TCP сокет (RNDIS, Ethernet, WI-FI, ppp)");
  EXPECT_EQ(ConnectionInterfaceToStr(9), "9, неизвестный тип");
  EXPECT_EQ(LastFMRecordTypeToStr(0), "Фиск./активиз. ЭКЛЗ");
  EXPECT_EQ(LastFMRecordTypeToStr(3), "Сменный итог");
}

TEST(FNCodeTables, ErrorDescriptions) {
  EXPECT_EQ(kFNErrors.size(), 35u);
  std::set<std::int64_t> codes;
  for (const TCodeText& e : kFNErrors) EXPECT_TRUE(codes.insert(e.Code).second) << "duplicate " << e.Code;
  EXPECT_EQ(GetFNErrorDescription(1), "Неизвестная команда, неверный формат посылки или неизвестные параметры");
  EXPECT_EQ(GetFNErrorDescription(33), "Нет связи с ФН. Фатальная ошибка !!!");
  EXPECT_EQ(GetFNErrorDescription(172), "В реквизите 2007 содержится КМ, который ранее не проверялся в ФН");
  for (int code : {0, 15, 19, 34, 255, -1}) EXPECT_EQ(GetFNErrorDescription(code), "Неизвестный код ошибки") << code;
}

TEST(FNCodeTables, KeyInfrastructureLastMatchWins) {
  const struct {
    const char* version;
    const char* text;
  } cases[] = {
      {"", "неизвестная инфраструктура"},
      {"A1", "неизвестная инфраструктура"},
      {"W1", "инфраструктура zedur work"},
      {"T1", "инфраструктура zedur test"},
      {"WN", "инфраструктура kordel"},
      {"NW", "инфраструктура kordel"},
      {"NTP", "инфраструктура kordel промежуточная "},
      {"w1", "неизвестная инфраструктура"},  // upper-case marks only
  };
  for (const auto& c : cases) EXPECT_EQ(KeyInfrastructureToStr(c.version), c.text) << c.version;
}

TEST(FNCodeTables, KeyUpdateTexts) {
  const struct {
    int code, status;
    const char* text;
  } fnPage[] = {
      {0, 13, "ОБНОВЛЕНО КЛЮЧЕЙ: 3, ОШИБОК НЕТ\nОбновление ключей проверки не выполнено."},
      {0, 8, "ОБНОВЛЕНО КЛЮЧЕЙ: 2, ОШИБОК НЕТ"},
      {254, 2, "Обновление не требуется\nОбновление ключей проверки не выполнено. Обратитесь в службу технической поддержки"},
      {254, 3, "Обновление не требуется\nОбновление ключей проверки не выполнено. Обратитесь в службу технической поддержки"},
      {255, 0, "НЕТ СВЯЗИ"},
      {3, 0, "Отказ ФН"},
      {99, 0, "Неизвестный код ошибки"},
  };
  for (const auto& c : fnPage) EXPECT_EQ(GetUpdateKeysResult(c.code, c.status), c.text) << c.code << "/" << c.status;

  EXPECT_EQ(KeyUpdateResultToStr(0, 13), "ОБНОВЛЕНО КЛЮЧЕЙ: 3, ОШИБОК НЕТ");
  EXPECT_EQ(KeyUpdateResultToStr(254, 0), "Обновление не производилось, потому что не требуется");
  EXPECT_EQ(KeyUpdateResultToStr(255, 0), "Нет связи с сервером АС ОКП");
  EXPECT_EQ(KeyUpdateResultToStr(2, 0), "Другое состояние ФН");
  EXPECT_EQ(KeyUpdateStatusToStr(3), "Требуется срочное обновление");
  EXPECT_EQ(KeyUpdateStatusToStr(1), "Требуется обновление");
  EXPECT_EQ(KeyUpdateStatusToStr(4), "");
}

TEST(FNCodeTables, OKPKeyUpdateAnswers) {
  const std::string head = "Результат обновления ключей ОКП: ";
  EXPECT_EQ(OKPKeyUpdateAnswerToStr({}), "");
  EXPECT_EQ(OKPKeyUpdateAnswerToStr({0xFF}), head + "Нет связи с сервером ОКП");
  EXPECT_EQ(OKPKeyUpdateAnswerToStr({1, 9}), head + "Успешно. 1 ключ обновлен");
  EXPECT_EQ(OKPKeyUpdateAnswerToStr({0xFE}),
            head + "Ошибка. См. напечатанное.\n Либо не поддерживается данной прошивкой,\n либо ключи уже обновлены");
  EXPECT_EQ(OKPKeyUpdateAnswerToStr({3}), head + "Неизвестный ответ");
}

TEST(FNCodeTables, BitTablesCoverTheirBits) {
  const struct {
    std::span<const TBitLabel> table;
    std::vector<int> bits;
  } cases[] = {
      {kFNLifePhaseBits, {0, 1, 2, 3}},
      {kTaxSystemBits, {0, 1, 2, 3, 4, 5}},
      {kWorkModeBits, {0, 1, 2, 3, 4, 5}},
      {kWorkModeExBits, {0, 1, 2, 3}},
      {kSKNOStatusBits, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
      {kRegistrationReasonBits, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 31}},
  };
  for (const auto& c : cases) {
    std::vector<int> bits;
    for (const TBitLabel& b : c.table) {
      bits.push_back(b.Bit);
      EXPECT_NE(std::string(b.Text), "");
      EXPECT_NE(b.Text[0], ' ') << b.Text;  // the report indents, not the table
    }
    EXPECT_EQ(bits, c.bits);
  }
}

}  // namespace
}  // namespace zel
