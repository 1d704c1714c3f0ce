#include "wizard/flow/core/X5Files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "common/Translate.h"
#include "wizard/flow/core/RegChecks.h"
#include "wizard/flow/core/TextCodec.h"

namespace zel {

namespace {
const std::string kSeparator36(36, '=');
const std::string kSeparator37(37, '=');

std::string Trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

std::string Flag(bool value) { return value ? "1" : "0"; }
// A bit of a set; a set nobody chose has no bit set.
std::string BitFlag(std::uint8_t set, int bit) { return Flag(set != kNotChosen && TestBit(set, bit)); }

std::string FormatMsg(const std::string& format, const std::string& a, const std::string& b = {}) {
  std::string s = format;
  for (const std::string* arg : {&a, &b})
    if (const std::size_t at = s.find("%s"); at != std::string::npos) s.replace(at, 2, *arg);
  return s;
}

// Replaces characters a file name cannot carry on the systems that read these files.
std::string FileNamePart(const std::string& text) {
  std::string s = Trim(text);
  for (char& c : s)
    if (static_cast<unsigned char>(c) < ' ' || std::strchr("\\/:*?\"<>|", c)) c = '_';
  return s;
}

void WriteFileBytes(const std::string& fileName, const std::string& bytes) {
  // Written beside the target and renamed over it, so a failed write never leaves half a file.
  const std::string temp = fileName + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (out) out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (out) out.flush();
    if (!out) {
      const int err = errno;
      ::unlink(temp.c_str());
      throw EX5File(FormatMsg(Tr("Не удается записать файл %s: %s"), fileName, std::strerror(err)));
    }
  }
  if (std::rename(temp.c_str(), fileName.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    throw EX5File(FormatMsg(Tr("Не удается записать файл %s: %s"), fileName, std::strerror(err)));
  }
}

std::string ReadFileBytes(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) throw EX5File(FormatMsg(Tr("Не удается открыть файл %s: %s"), fileName, std::strerror(errno)));
  std::ostringstream data;
  data << in.rdbuf();
  return data.str();
}

// Attribute lookup over the lines of a registration parameters file.
class TAttributes {
 public:
  explicit TAttributes(const std::vector<std::string>& lines) {
    for (const auto& l : lines) {
      FLines.push_back(Utf8ToUtf32(l));
      FUpper.push_back(UpperCase(FLines.back()));
    }
  }

  std::string Text(const std::string& name) const {
    const std::u32string key = UpperCase(Utf8ToUtf32(name + ":"));
    for (std::size_t i = 0; i < FLines.size(); ++i) {
      if (FUpper[i].compare(0, key.size(), key) != 0) continue;
      std::u32string value = FLines[i].substr(key.size());
      if (!value.empty() && value[0] == U' ') value.erase(0, 1);
      return Utf32ToUtf8(value);
    }
    throw EX5File(Tr("Не найден атрибут файла: ") + name);
  }

  int Integer(const std::string& name) const {
    const std::string value = Trim(Text(name));
    std::size_t digits = value.size();
    if (!value.empty() && (value[0] == '-' || value[0] == '+')) --digits;
    if (digits == 0 || digits > 9 || value.find_first_not_of("0123456789", value.size() - digits) != std::string::npos)
      throw EX5File(FormatMsg(Tr("Некорректное значение атрибута файла\"%s\": %s"), name, value));
    return std::stoi(value);
  }

  bool Boolean(const std::string& name) const { return Trim(Text(name)) == "1"; }

 private:
  std::vector<std::u32string> FLines;
  std::vector<std::u32string> FUpper;
};

struct TBitAttr {
  const char* Name;
  int Bit;
};
constexpr TBitAttr kAgentAttrs[] = {
    {"Признак банковского агента", agBankAgent},
    {"Признак банковского субагента", agBankSubagent},
    {"признак платежного агента", agPayAgent},
    {"Признак платежного субагента", agPaySubagent},
};
constexpr TBitAttr kWorkModeAttrs[] = {
    {"автономный режим", wmAutonomous}, {"признак АС БСО", wmBSO},       {"признак шифрования", wmEncryption},
    {"автоматический режим", wmAutomatic}, {"признак услуги", wmServices}, {"признак расчетов в интернете", wmInternet},
};
}  // namespace

std::string X5FileName(int docType, const std::string& kktSerial, const std::string& factoryCode,
                       const TDateTimeRec& date) {
  char type[16];
  std::snprintf(type, sizeof type, "%.2d", docType);
  return FormatDateCompact(date) + "_" + type + "_" + FileNamePart(factoryCode) + "_" + FileNamePart(kktSerial) +
         ".txt";
}

std::string X5FNModel(int versionIndex) {
  static const char* const kVersions[] = {"1", "1.05", "1.1"};
  const int i = versionIndex >= 0 && versionIndex < 3 ? versionIndex : 0;
  return std::string("ФН Шифровальное (криптографическое) средство защиты фискальных данных фискальный накопитель ФН-") +
         kVersions[i];
}

std::vector<std::string> X5KKTParamsLines(const TX5KKTParamsRec& r) {
  return {"Параметры ФР",
          kSeparator36,
          "Код завода: " + r.FactoryCode,
          "зав. номер ККТ: " + r.KKTSerial,
          "Модель ККТ: " + r.KKTModel,
          "зав. номер ФН: " + r.FNSerial,
          "Модель ФН: " + r.FNModel,
          "Версия модели: " + r.KKTModelNumber,
          "Номер автомата: " + r.AutomatNumber,
          "Производитель: Кордел"};
}

std::vector<std::string> X5RegReportLines(const TRegParams& p) {
  std::string taxSystem;
  if (p.TaxSystem != kNotChosen)
    for (int bit = 0; bit <= 5 && taxSystem.empty(); ++bit)
      if (TestBit(p.TaxSystem, bit)) taxSystem = std::to_string(bit);

  std::vector<std::string> lines = {
      "Отчёт о регистрации",
      kSeparator36,
      "наименование пользователя: " + p.User,
      "адрес: " + p.Address,
      "ИНН пользователя: " + p.INN,
      "рег. номер ККТ: " + p.RNM,
      "зав. номер ККТ: " + p.KKTSerial,
      "системы налогообложения: " + taxSystem,
      "признак лотереи: " + Flag(p.LotterySign),
      "признак проведения игр: " + Flag(p.GameSign),
      "признак банковского агента: " + BitFlag(p.Agent, agBankAgent),
      "признак банковского субагента: " + BitFlag(p.Agent, agBankSubagent),
      "признак платежного агента: " + BitFlag(p.Agent, agPayAgent),
      "признак платежного субагента: " + BitFlag(p.Agent, agPaySubagent),
      "признак развозной торговли: " + Flag(p.DeliveryTradeSign),
      "признак платежный терминал: " + Flag(p.PayTerminalSign),
      "признак продажи подакцизных товаров: " + Flag(p.ExciseSign),
      "Тип документа: " + std::to_string(p.DocType),
      "автономный режим: " + BitFlag(p.WorkMode, wmAutonomous),
      "признак услуги: " + BitFlag(p.WorkMode, wmServices),
      "признак шифрования: " + BitFlag(p.WorkMode, wmEncryption),
      "признак расчетов в интернете: " + BitFlag(p.WorkMode, wmInternet),
      "автоматический режим: " + BitFlag(p.WorkMode, wmAutomatic),
      "номер автомата: " + p.AutomatNumber,
      "ИНН ОФД: " + p.OFDINN,
  };
  if (p.NewFN || !p.FirstTime) lines.push_back("Код причины перерегистрации: " + std::to_string(p.ReasonCode));
  const std::vector<std::string> tail = {
      "признак установки принтера в автомате: " + Flag(p.PrinterInAutomat),
      "признак АС БСО: " + BitFlag(p.WorkMode, wmBSO),
      "место расчетов: " + p.PayPlace,
      // The values the registration wrote, not the field presets.
      "адрес сайта ФНС: " + p.TaxOfficeURL,
      "адрес электронной почты отправителя чека: " + p.SenderEmail,
      "наименование ОФД: " + p.OFDName,
      "версия ККТ: " + p.VersionKKT,
      "версия ФФД ККТ: " + std::to_string(p.FFD),
      "версия ФФД: " + std::to_string(p.FFD),
      "зав. номер ФН: " + p.FNSerial,
      "дата, время: " + FormatDateTime(p.DateTime),
      "порядковый номер ФД: " + std::to_string(p.DocNumber),
      "ФП документа: " + p.FiscalSign,
      "кассир: " + p.Cashier,
  };
  lines.insert(lines.end(), tail.begin(), tail.end());
  return lines;
}

std::vector<std::string> X5CloseReportLines(const TX5CloseFNRec& r) {
  return {"Отчёт о закрытии архива",
          kSeparator37,
          "Тип документа: 3",
          "наименование пользователя: " + r.UserName,
          "адрес: " + r.Address,
          "место расчетов: " + r.PayPlace,
          "ИНН пользователя: " + r.INN,
          "рег. номер ККТ: " + r.RNM,
          "зав. номер ККТ: " + r.KKTSerial,
          "версия ФФД: " + std::to_string(r.FFD),
          "номер смены: " + std::to_string(r.SessionNumber),
          "кассир: " + r.Cashier,
          "ИНН кассира: " + r.CashierINN,
          "зав. номер ФН: " + r.FNSerial,
          "дата, время: " + FormatDateTime(r.DateTime),
          "порядковый номер ФД: " + std::to_string(r.DocNumber),
          "ФП документа: " + r.FiscalSign};
}

std::string EncodeX5File(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) text += l + "\r\n";
  return Utf8ToCp1251(text);
}

void SaveX5KKTParams(const TX5KKTParamsRec& rec, const std::string& fileName) {
  WriteFileBytes(fileName, EncodeX5File(X5KKTParamsLines(rec)));
}

void SaveX5RegReport(const TRegParams& params, const std::string& fileName) {
  WriteFileBytes(fileName, EncodeX5File(X5RegReportLines(params)));
}

void SaveX5CloseReport(const TX5CloseFNRec& rec, const std::string& fileName) {
  WriteFileBytes(fileName, EncodeX5File(X5CloseReportLines(rec)));
}

void ParseX5RegParams(TRegParams& params, const std::vector<std::string>& lines) {
  const TAttributes a(lines);
  TRegParams r = params;
  r.User = a.Text("наименование пользователя");
  r.Address = a.Text("Адрес");
  r.INN = a.Text("ИНН пользователя");
  if (!IsValidINN(Trim(r.INN))) throw EX5File(Tr("Введен некорректный ИНН!"));
  r.RNM = a.Text("рег. номер ККТ");
  const int tax = a.Integer("системы налогообложения");
  if (tax < 0 || tax > 5) throw EX5File(Tr("Некорректная система налогообложения: ") + std::to_string(tax));
  r.TaxSystem = Bit(tax);
  r.Agent = 0;
  for (const auto& b : kAgentAttrs)
    if (a.Boolean(b.Name)) r.Agent |= Bit(b.Bit);
  r.WorkMode = 0;
  for (const auto& b : kWorkModeAttrs)
    if (a.Boolean(b.Name)) r.WorkMode |= Bit(b.Bit);
  r.LotterySign = a.Boolean("признак лотереи");
  r.DeliveryTradeSign = a.Boolean("признак развозной торговли");
  r.ExciseSign = a.Boolean("признак продажи подакцизных товаров");
  r.GameSign = a.Boolean("признак проведения игр");
  r.PayTerminalSign = a.Boolean("признак платежный терминал");
  r.PrinterInAutomat = a.Boolean("признак установки принтера в автомате");
  r.PayPlace = a.Text("место расчетов");
  r.OFDName = a.Text("наименование ОФД");
  r.OFDINN = a.Text("ИНН ОФД");
  r.OFDServer = a.Text("Сервер ОФД");
  r.OFDPort = a.Integer("Порт");
  if (r.OFDPort < 1 || r.OFDPort > 65535)
    throw EX5File(FormatMsg(Tr("Некорректное значение атрибута файла\"%s\": %s"), "Порт", Trim(a.Text("Порт"))));
  // The extended work modes follow from the file's signs; delivery trade and payment
  // terminal have no bit there.
  r.WorkModeEx = 0;
  if (r.ExciseSign) r.WorkModeEx |= Bit(wmxExcise);
  if (r.GameSign) r.WorkModeEx |= Bit(wmxGambling);
  if (r.LotterySign) r.WorkModeEx |= Bit(wmxLottery);
  if (r.PrinterInAutomat) r.WorkModeEx |= Bit(wmxPrinterInAutomat);
  params = r;
}

void LoadX5RegParams(TRegParams& params, const std::string& fileName) {
  ParseX5RegParams(params, SplitLines(DecodeTextFile(ReadFileBytes(fileName))));
}

}  // namespace zel
