#include <gtest/gtest.h>

#include <iconv.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/TempConfig.h"
#include "wizard/flow/core/TextCodec.h"
#include "wizard/flow/core/X5Files.h"

namespace zel {
namespace {

std::string Iconv(const char* to, const std::string& utf8) {
  iconv_t cd = iconv_open(to, "UTF-8");
  std::string src = utf8, out(utf8.size() * 4 + 16, '\0');
  char* ip = src.data();
  char* op = out.data();
  std::size_t il = src.size(), ol = out.size();
  const std::size_t r = iconv(cd, &ip, &il, &op, &ol);
  iconv_close(cd);
  if (r == static_cast<std::size_t>(-1)) throw std::runtime_error("iconv");
  out.resize(out.size() - ol);
  return out;
}

std::string CrLf(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(X5FileName, FormatsDateTypeFactoryAndSerial) {
  EXPECT_EQ(X5FileName(4, "0001234567", "12", {2024, 3, 5}), "20240305_04_12_0001234567.txt");
  EXPECT_EQ(X5FileName(1, " 0001234567 ", " 12 ", {2024, 12, 31}), "20241231_01_12_0001234567.txt");
  EXPECT_EQ(X5FileName(3, "../a\\b", "x:y*?\"<>|\t", {2024, 1, 2}), "20240102_03_x_y_______.._a_b.txt");
}

TEST(X5ParamsFile, IsWindows1251WithCrLfOnEveryLine) {
  TX5KKTParamsRec r{"12", "0001234567", "ККТ-Ф", "9999078900001234", X5FNModel(1), "19", "7"};
  const std::vector<std::string> expected = {
      "Параметры ФР",
      "====================================",
      "Код завода: 12",
      "зав. номер ККТ: 0001234567",
      "Модель ККТ: ККТ-Ф",
      "зав. номер ФН: 9999078900001234",
      "Модель ФН: ФН Шифровальное (криптографическое) средство защиты фискальных данных фискальный накопитель ФН-1.05",
      "Версия модели: 19",
      "Номер автомата: 7",
      "Производитель: Кордел",
  };
  test::TempDir dir;
  SaveX5KKTParams(r, dir / "p.txt");
  const std::string bytes = ReadAll(dir / "p.txt");
  EXPECT_EQ(bytes, Iconv("CP1251", CrLf(expected)));
  EXPECT_EQ(std::string(36, '='), X5KKTParamsLines(r)[1]);
  EXPECT_FALSE(std::filesystem::exists(dir / "p.txt.tmp"));
}

TRegParams RegisteredRecord() {
  TRegParams p;
  p.FirstTime = false;
  p.NewFN = true;
  p.User = "ООО \"Ромашка\"";
  p.Address = "г. Москва, ул. Ленина, 1";
  p.INN = "1234567894";
  p.RNM = "0000000001010354";
  p.KKTSerial = "0012345678";
  p.TaxSystem = Bit(tsUSNIncome) | Bit(tsESHN);
  p.Agent = Bit(agBankSubagent) | Bit(agPaySubagent);
  p.WorkMode = Bit(wmEncryption) | Bit(wmAutomatic) | Bit(wmBSO);
  p.LotterySign = true;
  p.ExciseSign = true;
  p.PrinterInAutomat = true;
  p.DocType = 2;
  p.AutomatNumber = "A-7";
  p.OFDINN = "7704358518";
  p.ReasonCode = 1;
  p.PayPlace = "Магазин №5";
  p.TaxOfficeURL = "www.nalog.gov.ru";
  p.SenderEmail = "shop@example.ru";
  p.OFDName = "ОФД Один";
  p.VersionKKT = "001";
  p.FFD = 2;
  p.FNSerial = "9999078900001234";
  p.DateTime = {2024, 3, 5, 9, 7, 3};
  p.DocNumber = 12;
  p.FiscalSign = "1234567890";
  p.Cashier = "Кассир Иванов И.И.";
  return p;
}

TEST(X5RegReport, WritesEveryLineInOrder) {
  const std::vector<std::string> expected = {
      "Отчёт о регистрации",
      "====================================",
      "наименование пользователя: ООО \"Ромашка\"",
      "адрес: г. Москва, ул. Ленина, 1",
      "ИНН пользователя: 1234567894",
      "рег. номер ККТ: 0000000001010354",
      "зав. номер ККТ: 0012345678",
      "системы налогообложения: 1",
      "признак лотереи: 1",
      "признак проведения игр: 0",
      "признак банковского агента: 0",
      "признак банковского субагента: 1",
      "признак платежного агента: 0",
      "признак платежного субагента: 1",
      "признак развозной торговли: 0",
      "признак платежный терминал: 0",
      "признак продажи подакцизных товаров: 1",
      "Тип документа: 2",
      "автономный режим: 0",
      "признак услуги: 0",
      "признак шифрования: 1",
      "признак расчетов в интернете: 0",
      "автоматический режим: 1",
      "номер автомата: A-7",
      "ИНН ОФД: 7704358518",
      "Код причины перерегистрации: 1",
      "признак установки принтера в автомате: 1",
      "признак АС БСО: 1",
      "место расчетов: Магазин №5",
      "адрес сайта ФНС: www.nalog.gov.ru",
      "адрес электронной почты отправителя чека: shop@example.ru",
      "наименование ОФД: ОФД Один",
      "версия ККТ: 001",
      "версия ФФД ККТ: 2",
      "версия ФФД: 2",
      "зав. номер ФН: 9999078900001234",
      "дата, время: 05.03.2024 09:07:03",
      "порядковый номер ФД: 12",
      "ФП документа: 1234567890",
      "кассир: Кассир Иванов И.И.",
  };
  test::TempDir dir;
  const TRegParams p = RegisteredRecord();
  SaveX5RegReport(p, dir / "r.txt");
  EXPECT_EQ(ReadAll(dir / "r.txt"), Iconv("CP1251", CrLf(expected)));

  // A new registration has no change reason line.
  TRegParams first = p;
  first.FirstTime = true;
  first.NewFN = false;
  const auto lines = X5RegReportLines(first);
  EXPECT_EQ(lines.size(), expected.size() - 1);
  for (const auto& l : lines) EXPECT_EQ(l.find("Код причины"), std::string::npos);

  // Without a tax system bit among 0-5 the value stays empty.
  first.TaxSystem = Bit(6);
  EXPECT_EQ(X5RegReportLines(first)[7], "системы налогообложения: ");
}

TEST(X5CloseReport, WritesEveryLineInOrder) {
  TX5CloseFNRec r{"ООО Ромашка", "Москва", "Зал", "1234567894", "0000000001010354", "0012345678", 4, 17,
                  "Кассир", "", "9999078900001234", {2024, 3, 5, 18, 0, 59}, 321, "4242"};
  const std::vector<std::string> expected = {
      "Отчёт о закрытии архива",
      "=====================================",
      "Тип документа: 3",
      "наименование пользователя: ООО Ромашка",
      "адрес: Москва",
      "место расчетов: Зал",
      "ИНН пользователя: 1234567894",
      "рег. номер ККТ: 0000000001010354",
      "зав. номер ККТ: 0012345678",
      "версия ФФД: 4",
      "номер смены: 17",
      "кассир: Кассир",
      "ИНН кассира: ",
      "зав. номер ФН: 9999078900001234",
      "дата, время: 05.03.2024 18:00:59",
      "порядковый номер ФД: 321",
      "ФП документа: 4242",
  };
  test::TempDir dir;
  SaveX5CloseReport(r, dir / "c.txt");
  EXPECT_EQ(ReadAll(dir / "c.txt"), Iconv("CP1251", CrLf(expected)));
}

TEST(X5Reports, RefuseTextsWindows1251CannotHoldAndWriteNothing) {
  test::TempDir dir;
  TRegParams p = RegisteredRecord();
  p.User = "Кафе ✓";
  try {
    SaveX5RegReport(p, dir / "r.txt");
    FAIL() << "no refusal";
  } catch (const ETextEncoding& e) {
    EXPECT_NE(std::string(e.what()).find("\"✓\""), std::string::npos);
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "r.txt"));
  EXPECT_THROW(SaveX5RegReport(RegisteredRecord(), dir / "missing/r.txt"), EX5File);
}

const std::vector<std::string> kRegFile = {
    "наименование пользователя: ООО \"Ромашка\"",
    "Адрес: г. Москва, ул. Ленина, 1",
    "ИНН пользователя: 1234567894",
    "рег. номер ККТ: 0000000001010354",
    "системы налогообложения: 2",
    "Признак банковского агента: 1",
    "Признак банковского субагента: 0",
    "признак платежного агента: 0",
    "Признак платежного субагента: 1",
    "автономный режим: 0",
    "признак АС БСО: 1",
    "признак шифрования: 1",
    "автоматический режим: 0",
    "признак услуги: 1",
    "признак расчетов в интернете: 0",
    "признак лотереи: 1",
    "признак развозной торговли: 1",
    "признак продажи подакцизных товаров: 0",
    "признак проведения игр: 1",
    "признак платежный терминал: 0",
    "признак установки принтера в автомате: 1",
    "место расчетов: Магазин №5",
    "наименование ОФД: ОФД Один",
    "ИНН ОФД: 7704358518",
    "Сервер ОФД: ofd.example.ru",
    "Порт: 21101",
};

// The fixture with the line starting with `prefix` replaced (or dropped when line is empty).
std::vector<std::string> With(const std::string& prefix, const std::string& line) {
  std::vector<std::string> out;
  for (const auto& l : kRegFile) {
    if (l.compare(0, prefix.size(), prefix) != 0) out.push_back(l);
    else if (!line.empty()) out.push_back(line);
  }
  return out;
}

void ExpectFixtureRecord(const TRegParams& p) {
  EXPECT_EQ(p.User, "ООО \"Ромашка\"");
  EXPECT_EQ(p.Address, "г. Москва, ул. Ленина, 1");
  EXPECT_EQ(p.INN, "1234567894");
  EXPECT_EQ(p.RNM, "0000000001010354");
  EXPECT_EQ(p.TaxSystem, Bit(tsUSNIncomeExpense));
  EXPECT_EQ(p.Agent, Bit(agBankAgent) | Bit(agPaySubagent));
  EXPECT_EQ(p.WorkMode, Bit(wmBSO) | Bit(wmEncryption) | Bit(wmServices));
  EXPECT_TRUE(p.LotterySign);
  EXPECT_TRUE(p.DeliveryTradeSign);
  EXPECT_FALSE(p.ExciseSign);
  EXPECT_TRUE(p.GameSign);
  EXPECT_FALSE(p.PayTerminalSign);
  EXPECT_TRUE(p.PrinterInAutomat);
  EXPECT_EQ(p.WorkModeEx, Bit(wmxGambling) | Bit(wmxLottery) | Bit(wmxPrinterInAutomat));
  EXPECT_EQ(p.PayPlace, "Магазин №5");
  EXPECT_EQ(p.OFDName, "ОФД Один");
  EXPECT_EQ(p.OFDINN, "7704358518");
  EXPECT_EQ(p.OFDServer, "ofd.example.ru");
  EXPECT_EQ(p.OFDPort, 21101);
}

TEST(X5RegParamsFile, ReadsEveryEncodingAndLineEnding) {
  std::string text;  // CR LF, LF and CR in turn; the last line unterminated
  for (std::size_t i = 0; i < kRegFile.size(); ++i)
    text += kRegFile[i] + (i + 1 == kRegFile.size() ? "" : i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
  const struct {
    const char* Name;
    std::string Bytes;
  } files[] = {
      {"utf8-bom", "\xEF\xBB\xBF" + text},
      {"utf16le", "\xFF\xFE" + Iconv("UTF-16LE", text)},
      {"utf16be", "\xFE\xFF" + Iconv("UTF-16BE", text)},
      {"cp1251", Iconv("CP1251", text)},
  };
  test::TempDir dir;
  for (const auto& f : files) {
    SCOPED_TRACE(f.Name);
    WriteAll(dir / f.Name, f.Bytes);
    TRegParams p;
    p.Cashier = "kept";
    LoadX5RegParams(p, dir / f.Name);
    ExpectFixtureRecord(p);
    EXPECT_EQ(p.Cashier, "kept");
  }
  TRegParams p;
  EXPECT_THROW(LoadX5RegParams(p, dir / "absent.txt"), EX5File);
}

TEST(X5RegParamsFile, LooksAttributesUpByLineStart) {
  const struct {
    std::vector<std::string> Lines;
    std::string INN, User, PayPlace;
    bool Lottery;
  } cases[] = {
      {With("ИНН пользователя", "ИНН пользователя:1234567894"), "1234567894", "ООО \"Ромашка\"", "Магазин №5", true},
      {With("ИНН пользователя", "ИНН пользователя:  1234567894"), " 1234567894", "ООО \"Ромашка\"", "Магазин №5", true},
      {With("ИНН пользователя", "инн ПОЛЬЗОВАТЕЛЯ: 1234567894"), "1234567894", "ООО \"Ромашка\"", "Магазин №5", true},
      {With("место расчетов", "МЕСТО РАСЧЁТОВ: x\nместо расчетов: Зал  "), "1234567894", "ООО \"Ромашка\"", "Зал  ", true},
      {With("признак лотереи", "признак лотереи: 1 "), "1234567894", "ООО \"Ромашка\"", "Магазин №5", true},
      {With("признак лотереи", "признак лотереи: да"), "1234567894", "ООО \"Ромашка\"", "Магазин №5", false},
      {With("признак лотереи", "признак лотереи: 01"), "1234567894", "ООО \"Ромашка\"", "Магазин №5", false},
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines;
    for (const auto& l : c.Lines) {
      const auto split = SplitLines(l);
      lines.insert(lines.end(), split.begin(), split.end());
    }
    TRegParams p;
    ParseX5RegParams(p, lines);
    EXPECT_EQ(p.INN, c.INN);
    EXPECT_EQ(p.PayPlace, c.PayPlace);
    EXPECT_EQ(p.LotterySign, c.Lottery);
  }
  // The first of two lines counts.
  std::vector<std::string> twice = kRegFile;
  twice.insert(twice.begin(), "наименование пользователя: Первый");
  TRegParams p;
  ParseX5RegParams(p, twice);
  EXPECT_EQ(p.User, "Первый");
}

TEST(X5RegParamsFile, RefusesBadFilesLeavingTheRecordAlone) {
  const struct {
    std::vector<std::string> Lines;
    std::string Message;
  } cases[] = {
      {With("Адрес", ""), "Не найден атрибут файла: Адрес"},
      {With("Адрес", "адрес сайта ФНС: www.nalog.gov.ru"), "Не найден атрибут файла: Адрес"},
      {With("Порт", ""), "Не найден атрибут файла: Порт"},
      {With("признак лотереи", ""), "Не найден атрибут файла: признак лотереи"},
      {With("системы", "системы налогообложения: 6"), "Некорректная система налогообложения: 6"},
      {With("системы", "системы налогообложения: -1"), "Некорректная система налогообложения: -1"},
      {With("системы", "системы налогообложения: два"),
       "Некорректное значение атрибута файла\"системы налогообложения\": два"},
      {With("системы", "системы налогообложения: 0x2"),
       "Некорректное значение атрибута файла\"системы налогообложения\": 0x2"},
      {With("Порт", "Порт:"), "Некорректное значение атрибута файла\"Порт\": "},
      {With("Порт", "Порт: 70000"), "Некорректное значение атрибута файла\"Порт\": 70000"},
      {With("Порт", "Порт: 0"), "Некорректное значение атрибута файла\"Порт\": 0"},
      {With("Порт", "Порт: 99999999999"), "Некорректное значение атрибута файла\"Порт\": 99999999999"},
      {With("ИНН пользователя", "ИНН пользователя: 1234567895"), "Введен некорректный ИНН!"},
  };
  for (const auto& c : cases) {
    TRegParams p;
    p.User = "old";
    try {
      ParseX5RegParams(p, c.Lines);
      ADD_FAILURE() << "accepted: " << c.Message;
    } catch (const EX5File& e) {
      EXPECT_EQ(std::string(e.what()), c.Message);
    }
    EXPECT_EQ(p.User, "old");
    EXPECT_EQ(p.TaxSystem, kNotChosen);
    EXPECT_EQ(p.WorkModeEx, kNotChosen);
  }
}

}  // namespace
}  // namespace zel
