#include "emulator/model/TableDefs.h"

namespace zel::emu {
namespace {

TTableField Int(const char* name, int size, std::int64_t min, std::int64_t max, std::int64_t def = 0) {
  return {name, false, size, min, max, std::to_string(def), false};
}
TTableField Str(const char* name, int size, const char* def = "") { return {name, true, size, 0, 0, def, false}; }
TTableField Ro(TTableField f) {
  f.readOnly = true;
  return f;
}
TTableField Flag(const char* name, std::int64_t def = 0) { return Int(name, 1, 0, 1, def); }
TTableField Octet(const char* name, std::int64_t def = 0) { return Int(name, 1, 0, 255, def); }

// Fields named by position; the rest of the row are reserved bytes.
std::vector<TTableField> Sparse(int count, std::vector<std::pair<int, TTableField>> named) {
  std::vector<TTableField> out;
  for (int i = 1; i <= count; ++i) out.push_back(Int(("Резерв " + std::to_string(i)).c_str(), 1, 0, 255));
  for (auto& [n, f] : named) out[n - 1] = f;
  return out;
}

std::vector<TTableDef> Build() {
  std::vector<TTableDef> t;
  t.push_back({1, "Тип и режим кассы", 1,
               {Flag("Автоматическое обнуление денежной наличности", 1), Flag("Открывать ящик"),
                Flag("Отрезка чека", 1), Int("Количество строк рекламного текста", 1, 0, 10, 4),
                Flag("Печать заголовка чека", 1), Int("Яркость печати", 1, 1, 15, 8)}});
  t.push_back({cell::kPasswords, "Пароли кассиров и администраторов", 30,
               {Int("Пароль", 4, 0, 99999999), Str("Имя", 64)}});
  t.push_back({3, "Перевод времени", 1, {Flag("Автоматический перевод времени")}});
  t.push_back({4, "Текст в чеке", 14, {Str("Строка", 48)}});
  t.push_back({5, "Наименования типов оплаты", 16, {Str("Наименование", 64)}});
  t.push_back({6, "Налоговые ставки", 6, {Int("Ставка", 2, 0, 9999), Str("Наименование налога", 64)}});
  t.push_back({7, "Наименования отделов", 16, {Str("Наименование", 64)}});
  t.push_back({8, "Настройки шрифтов", 1,
               {Int("Шрифт строки", 1, 1, 7, 1), Int("Шрифт итога", 1, 1, 7, 2), Int("Межстрочный интервал", 1, 0, 10, 2)}});
  t.push_back({9, "Формат чека", 1, {Flag("Печать номера чека", 1), Flag("Печать кассира", 1)}});
  t.push_back({cell::kService, "Служебная", 1,
               Sparse(32, {{4, Int("Версия ФФД (CashCore)", 1, 0, 4, 4)},
                           {7, Flag("Узкая лента")},
                           {10, Int("Таймаут ФН", 1, 2, 30, 2)},
                           {11, Int("Чувствительность датчика ленты", 1, 0, 255, 130)},
                           {14, Flag("Обход ошибки ФН")},
                           {15, Int("Логирование", 1, 0, 3, 0)},
                           {29, Int("Версия ФФД", 1, 0, 4, 4)},
                           {32, Flag("Подготовка к регистрации")}})});
  t.push_back({11, "Параметры весов", 1, {Int("Порт весов", 1, 0, 3, 0), Int("Скорость", 1, 0, 9, 2)}});
  t.push_back({12, "Параметры обмена", 1, {Int("Скорость обмена", 1, 0, 9, 6), Int("Таймаут", 2, 0, 5000, 150)}});
  t.push_back({13, "Расширенные параметры", 1,
               Sparse(22, {{1, Int("Режим работы", 1, 0, 255, 0)},
                           {21, Int("Расширенные режимы работы", 1, 0, 255, 0)},
                           {22, Int("Расширенные признаки изменения", 4, 0, 0xFFFFFFFF, 0)}})});
  t.push_back({14, "Параметры интерфейса I2C", 1, {Int("Режим I2C", 1, 0, 1, 1), Int("Адрес", 1, 0, 127, 16)}});
  t.push_back({15, "Параметры SD карты", 1, {Flag("Запись на SD карту", 0), Int("Размер журнала", 2, 0, 4096, 512)}});
  {
    std::vector<TTableField> net = {Int("Режим адреса (0 DHCP, 1 статический)", 1, 0, 1, 0),
                                  Ro(Int("Состояние DHCP", 1, 0, 255, 0))};
    const char* groups[] = {"IP адрес", "Шлюз", "Маска", "DNS"};
    const int defs[4][4] = {{192, 168, 137, 111}, {192, 168, 137, 1}, {255, 255, 255, 0}, {192, 168, 137, 1}};
    for (int g = 0; g < 4; ++g)
      for (int o = 0; o < 4; ++o)
        net.push_back(Octet((std::string(groups[g]) + " " + std::to_string(o + 1)).c_str(), defs[g][o]));
    net.push_back(Flag("Socks5"));
    for (int o = 0; o < 4; ++o) net.push_back(Octet(("IP Socks5 " + std::to_string(o + 1)).c_str()));
    net.push_back(Int("Порт Socks5", 2, 0, 65535, 1080));
    t.push_back({cell::kNetwork, "Сетевые параметры", 1, net});
  }
  t.push_back({17, "Региональные настройки", 1,
               Sparse(28, {{3, Int("Режим ФФД", 1, 0, 2, 0)},
                           {12, Int("Печать реквизитов", 4, 0, 0x7FFFF, 0)},
                           {17, Int("Версия ФФД", 1, 0, 4, 4)},
                           {28, Int("Минимизация формы", 2, 0, 0xFFFF, 0)}})});
  t.push_back({cell::kFiscal, "Фискальный накопитель", 1,
               {Ro(Str("Заводской номер ККТ", 20)), Str("ИНН", 12), Str("РНМ", 20), Ro(Str("Заводской номер ФН", 16)),
                Int("Система налогообложения", 1, 0, 63, 0), Int("Режим работы", 1, 0, 255, 0),
                Str("Пользователь", 128), Str("Кассир", 64), Str("Адрес расчетов", 128), Str("Наименование ОФД", 64),
                Str("Адрес сайта ОФД", 64), Str("ИНН ОФД", 12), Str("Адрес сайта ФНС", 64, "www.nalog.gov.ru"),
                Str("Место расчетов", 128), Str("Адрес электронной почты отправителя", 64),
                Int("Признак агента", 1, 0, 127, 0), Str("Номер автомата", 20), Int("Версия ФФД ККТ", 1, 0, 4, 4),
                Int("Признак ФФД", 1, 0, 4, 4), Int("Признак расчетов в интернет", 1, 0, 1, 0),
                Int("Расширенные режимы работы", 1, 0, 255, 0),
                Int("Расширенные признаки изменения", 4, 0, 0xFFFFFFFF, 0)}});
  t.push_back({cell::kOfd, "Параметры ОФД", 1,
               {Str("Сервер ОФД", 64), Int("Порт ОФД", 2, 0, 65535, 0), Int("Таймаут чтения ответа", 2, 0, 60000, 1000),
                Int("Таймер ФН", 2, 0, 3600, 60), Str("Сервер ОИСМ", 64), Int("Порт ОИСМ", 2, 0, 65535, 0)}});
  {
    std::vector<TTableField> ex = {Ro(Int("Состояние обмена", 1, 0, 255)), Ro(Int("Документов в очереди", 4, 0, 0xFFFFFFFF)),
                                 Ro(Int("Первый документ в очереди", 4, 0, 0xFFFFFFFF)),
                                 Ro(Int("Попыток соединения", 2, 0, 65535)), Ro(Int("Соединение установлено", 1, 0, 1)),
                                 Ro(Int("Ответ ОФД получен", 1, 0, 1)), Ro(Int("Код ошибки ОФД", 1, 0, 255))};
    for (int i = 1; i <= 10; ++i) ex.push_back(Ro(Str(("Журнал " + std::to_string(i)).c_str(), 64)));
    t.push_back({cell::kExchange, "Статус обмена с ОФД", 1, ex});
  }
  t.push_back({21, "Параметры сетевых интерфейсов", 1,
               {Flag("Ethernet"), Flag("WiFi"), Flag("Сетевой интерфейс включен", 1), Int("TCP порт ККТ", 2, 1, 65535, 7778),
                Int("Таймаут TCP", 2, 0, 60000, 10000), Int("Интерфейс (0 Ethernet/RNDIS, 1 WiFi)", 1, 0, 1, 0),
                Str("SSID WiFi", 32), Str("Пароль WiFi", 64), Flag("RNDIS")}});
  t.push_back({22, "Параметры WiFi", 1,
               {Int("Режим адреса WiFi (0 DHCP, 1 статический)", 1, 0, 1, 0), Str("IP адрес WiFi", 15), Str("Маска WiFi", 15),
                Str("Шлюз WiFi", 15), Str("DNS WiFi", 15)}});
  t.push_back({23, "Параметры сервера ключей", 1, {Str("Сервер ОКП", 64, "okp.example.invalid"), Int("Порт ОКП", 2, 0, 65535, 443)}});
  t.push_back({cell::kVending, "Встраиваемая техника", 1, {Str("Номер автомата", 20)}});
  return t;
}

}  // namespace

const std::vector<TTableDef>& TableDefs() {
  static const std::vector<TTableDef> defs = Build();
  return defs;
}

const TTableDef* FindTable(int number) {
  const auto& d = TableDefs();
  if (number < 1 || number > static_cast<int>(d.size())) return nullptr;
  return &d[number - 1];
}

const TTableField* FindField(int table, int field) {
  const TTableDef* t = FindTable(table);
  if (!t || field < 1 || field > static_cast<int>(t->fields.size())) return nullptr;
  return &t->fields[field - 1];
}

std::string DefaultCell(int table, int row, int field) {
  if (table == cell::kPasswords) {
    if (field == 1) return std::to_string(row);  // operator N has password N; the administrator (30) has 30
    return row == 30 ? "СИС. АДМИНИСТРАТОР" : "Кассир " + std::to_string(row);
  }
  if (table == 5 && field == 1) return row == 1 ? "НАЛИЧНЫМИ" : row == 2 ? "БЕЗНАЛИЧНЫМИ" : "";
  if (table == 7 && field == 1) return "Отдел " + std::to_string(row);
  if (table == 6) {
    static const char* names[] = {"НДС 20%", "НДС 10%", "НДС 0%", "БЕЗ НДС", "НДС 20/120", "НДС 10/110"};
    static const int rates[] = {2000, 1000, 0, 0, 2000, 1000};
    return field == 1 ? std::to_string(rates[row - 1]) : names[row - 1];
  }
  const TTableField* f = FindField(table, field);
  return f ? f->def : std::string();
}

}  // namespace zel::emu
