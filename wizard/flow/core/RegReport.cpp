#include "wizard/flow/core/RegReport.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "common/Translate.h"
#include "testbench/fiscal/tables/FNCodeTables.h"
#include "wizard/flow/core/FFDVersions.h"

namespace zel {
namespace {

constexpr const char* kReasons[] = {"Замена ФН", "Замена ОФД", "Изменение реквизитов", "Изменение настроек ККТ"};
constexpr const char* kTaxSystems[] = {" [ОСН]", " [УСН доход]", " [УСН доход минус расход]",
                                       " [ЕНВД]", " [ЕСХН]", " [ПСН]"};
constexpr const char* kWorkModes[] = {" [Шифрование]", " [Автономный режим]", " [Автоматический режим]",
                                      " [Примен. в сф. услуг]", " [Режим БСО]", " [Примен. в Интернет]",
                                      " [ККТ в общественном питании]", " [Оптовая торговля с организациями и ИП]"};
constexpr const char* kWorkModesEx[] = {" [Продажа подакцизного товара]", " [Проведение азартных игр]",
                                        " [Проведение лотереи]", " [Установка принтера в автомате]",
                                        " [Торговля маркированными товарами]", " [Ломбардная деятельность]",
                                        " [Страховая деятельность]", " [ККТ с торговым автоматом]"};
constexpr const char* kAgents[] = {" [Банк. плат. агент]", " [Банк. плат. субагент]", " [Плат. агент]",
                                   " [Плат. субагент]", " [Поверенный]", " [Комиссионер]", " [Агент]"};

template <std::size_t N>
void AddBits(TSlip& slip, std::uint32_t bits, const char* const (&names)[N]) {
  for (std::size_t b = 0; b < N; ++b)
    if (TestBit(bits, static_cast<int>(b))) slip.AddStr(Tr(names[b]));
}

}  // namespace

std::string ReregistrationReasonName(int code) { return code >= 1 && code <= 4 ? Tr(kReasons[code - 1]) : ""; }

int CharsPerLine(int printWidth, int charWidth) {
  if (charWidth <= 0) return 40;
  const long width = std::lround(static_cast<double>(printWidth) / charWidth);
  return width < 1 ? 40 : static_cast<int>(width);  // a register without a usable width
}

void BuildRegReport(TSlip& slip, const TRegParams& p, bool withHeader) {
  auto pair = [&](const char* label, const std::string& value) { slip.AddPair(Tr(label), value); };
  if (withHeader) {
    slip.AddStr(Tr("ОТЧЕТ О РЕГИСТРАЦИИ"), true);
    pair("Дата, Время:", FormatDateTime(p.DateTime));
    pair("Номер ФД:", std::to_string(p.DocNumber));
    pair("ФПД:", p.FiscalSign);
  }
  pair("РНМ ККТ:", p.RNM);
  pair("ЗН ККТ:", p.KKTSerial);
  pair("ЗН ФН:", p.FNSerial);
  pair("Пользователь:", p.User);
  pair("ИНН пользователя:", p.INN);
  pair("Кассир:", p.Cashier);
  if (!p.CashierINN.empty()) pair("ИНН кассира:", p.CashierINN);
  pair("Адрес расчета:", p.Address);
  pair("Место расчета:", p.PayPlace);
  pair("E-mail отправит.:", p.SenderEmail);
  pair("Сайт налог. органа:", p.TaxOfficeURL);
  pair("Версия ФФД:", FFDName(p.FFD));
  const bool reregistration = !p.FirstTime;
  if (reregistration && !p.NewFN) pair("Причина перерегистр.:", ReregistrationReasonName(p.ReasonCode));
  if (reregistration && p.FFD >= 3 && p.FFD != kNotChosen) {
    slip.AddStr(Tr("Расширенные коды причин изменения сведений о ККТ:"));
    for (const TBitLabel& r : kRegistrationReasonBits)
      if (TestBit(p.ReasonCodesEx, r.Bit)) slip.AddStr("  " + std::to_string(r.Bit) + " [" + Tr(r.Text) + "]");
  }
  pair("Имя ОФД:", p.OFDName);
  pair("ИНН ОФД:", p.OFDINN);
  if (!p.OFDUrl.empty()) pair("Сайт ОФД:", p.OFDUrl);
  pair("Сервер ОФД:", p.OFDServer);
  pair("Порт ОФД:", std::to_string(p.OFDPort));
  if (p.FFD == kFFD12) {
    pair("Сервер КМ:", p.ServerKM);
    pair("Порт КМ:", std::to_string(p.PortKM));
  }
  slip.AddStr(Tr("Системы налогообложения"));
  AddBits(slip, p.TaxSystem, kTaxSystems);
  slip.AddStr(Tr("Режим работы"));
  for (int b = 0; b < 8; ++b) {
    if (!TestBit(p.WorkMode, b)) continue;
    slip.AddStr(Tr(kWorkModes[b]));
    if (b == wmAutomatic) slip.AddPair(Tr(" Номер автомата"), p.AutomatNumber);
  }
  AddBits(slip, p.WorkModeEx, kWorkModesEx);
  slip.AddStr(Tr("Признак агента"));
  if (p.Agent == 0)
    slip.AddStr(Tr(" Нет"));
  else
    AddBits(slip, p.Agent, kAgents);
}

std::vector<std::string> RegPreviewLines(const TRegParams& p) {
  TSlip slip(80);
  slip.SetWidth2(24);
  BuildRegReport(slip, p, false);
  return slip.Lines();
}

std::vector<std::string> RegResultLines(const TRegParams& p, int width) {
  TSlip slip(width);
  slip.SetRightAligned(true);
  BuildRegReport(slip, p, true);
  return slip.Lines();
}

}  // namespace zel

namespace zel {
void SaveReportText(const std::string& path, const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) text += l + "\n";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  const bool ok = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
  const bool closed = f && std::fclose(f) == 0;
  if (!ok || !closed) throw std::runtime_error(Tr("Не удается записать файл ") + path);
}
}  // namespace zel
