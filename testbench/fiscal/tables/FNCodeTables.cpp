#include "testbench/fiscal/tables/FNCodeTables.h"

#include <algorithm>
#include <cstdio>

#include "common/Translate.h"
#include "testbench/core/util/BinUtils.h"

namespace zel {

namespace {
constexpr TBitLabel kLifePhaseBitsData[] = {
    {0, "Проведена настройка ФН"},
    {1, "Открыт фискальный режим"},
    {2, "Закрыт фискальный режим"},
    {3, "Закончена передача фискальных данных в ОФД"},
};

constexpr TCodeText kStatusDocumentTypesData[] = {
    {0, "Нет открытого документа"},
    {1, "Отчет о регистрации"},
    {2, "Отчет об открытии смены"},
    {4, "Кассовый чек"},
    {8, "Отчет о закрытии смены"},
    {16, "Отчет о закрытии фискального накопителя"},
    {17, "Бланк строгой отчетности"},
    {18, "Отчет об изменении параметров регистрации в связи с заменой ФН"},
    {19, "Отчет об изменении параметров регистрации"},
    {20, "Кассовый чек коррекции"},
    {21, "Бланк строгой отчетности коррекции"},
    {23, "Отчет о текущем состоянии расчетов"},
};

constexpr TCodeText kFindDocumentTypesData[] = {
    {0, "Нет открытого документа"},
    {1, "Отчет о регистрации"},
    {2, "Отчет об открытии смены"},
    {3, "Кассовый чек"},
    {4, "Бланк строгой отчетности"},
    {41, "Бланк строгой отчетности"},
    {5, "Отчет о закрытии смены"},
    {6, "Отчет о закрытии фискального накопителя"},
    {7, "Подтверждение оператора"},
    {11, "Отчет об изменении параметров регистрации"},
    {21, "Отчет о текущем состоянии расчетов"},
    {31, "Кассовый чек коррекции"},
};

constexpr TCodeText kDocumentDataData[] = {
    {0, "Нет данных документа"},
    {1, "Получены данные документа"},
};

constexpr TCodeText kSessionStatesData[] = {
    {0, "Смена закрыта"},
    {1, "Смена открыта"},
};

constexpr TCodeText kVersionTypesData[] = {
    {0, "Отладочная версия"},
    {1, "Серийная версия"},
};

constexpr TCodeText kOSUSupportStatusesData[] = {
    {0, "ФН поддерживает ОСУ, функция не активна"},
    {1, "ФН поддерживает ОСУ, функция активна"},
    {255, "ФН не поддерживает ОСУ"},
};

constexpr TCodeText kFNErrorsData[] = {
    {1, "Неизвестная команда, неверный формат посылки или неизвестные параметры"},
    {2, "Другое состояние ФН"},
    {3, "Отказ ФН"},
    {4, "Отказ КС"},
    {5, "Параметры команды не соответствуют сроку жизни ФН"},
    {6, "Архив ФН переполнен"},
    {7, "Неверные дата и/или время"},
    {8, "Нет запрошенных данных"},
    {9, "Некорректное значение параметров команды"},
    {10, "Некорректная команда"},
    {11, "Неразрешенные реквизиты"},
    {12, "Дублирование данных"},
    {13, "Отсутствуют данные, необходимые для корректного учета в ФН"},
    {14, "Количество позиций в документе превысило допустимый предел"},
    {16, "Превышение размеров TLV данных"},
    {17, "Нет транспортного соединения"},
    {18, "Исчерпан ресурс ФН"},
    {20, "Ограничение ресурса ФН"},
    {21, "Исчерпан ресурс Ожидания передачи сообщения"},
    {22, "Продолжительность смены более 24 часов"},
    {23, "Некорректные данные о промежутке времени между фискальными документами"},
    {24, "Некорректный реквизит, переданный ККТ в ФН"},
    {25, "Реквизит не соответствует установкам при регистрации"},
    {32, "Ошибка при обработке ответа в ФН"},
    {33, "Нет связи с ФН. Фатальная ошибка !!!"},
    {35, "Ошибка сервиса обновления ключей проверки кодов маркировки"},
    {36, "Неизвестный ответ сервиса обновления ключей проверки"},
    {48, "ФН не отвечает"},
    {121, "Ошибка часов"},
    {160, "Запрещена работа с маркированным товарами"},
    {161, "Неверная последовательность команд группы Bxh"},
    {162, "Работа с маркированными товарами временно заблокирована"},
    {163, "Переполнена таблица хранения КМ"},
    {170, "В блоке TLV отсутствуют необходимые реквизиты"},
    {172, "В реквизите 2007 содержится КМ, который ранее не проверялся в ФН"},
};

// Bit labels carry no indent; the report indents them.
constexpr TBitLabel kTaxSystemBitsData[] = {
    {0, "ОСН"}, {1, "УСН доход"}, {2, "УСН доход минус расход"},
    {3, "ЕНВД"}, {4, "ЕСХН"},     {5, "Патент"},
};

constexpr TBitLabel kWorkModeBitsData[] = {
    {0, "Шифрование"},
    {1, "Автономный режим"},
    {2, "Автоматический режим"},
    {3, "Применение в сфере услуг"},
    {4, "Режим БСО"},
    {5, "Применение в Интернет"},
};

constexpr TBitLabel kWorkModeExBitsData[] = {
    {0, "Продажа подакцизного товара"},
    {1, "Признак проведения азартных игр"},
    {2, "Признак проведения лотереи"},
    {3, "Признак установки принтера в автомате"},
};

constexpr TBitLabel kRegistrationReasonBitsData[] = {
    {0, "Замена фискального накопителя"},
    {1, "Замена оператора фискальных данных"},
    {2, "Изменение наименования пользователя контрольно-кассовой техники"},
    {3, "Изменение адреса и (или) места установки (применения) контрольно-кассовой техники"},
    {4, "Перевод ККТ из автономного режима в режим передачи данных"},
    {5, "Перевод ККТ из режима передачи данных в автономный режим"},
    {6, "Изменение версии модели ККТ"},
    {7, "Изменение перечня систем налогообложения, применяемых при осуществлении расчетов"},
    {8, "Изменение номера автоматического устройства для расчетов, в составе которого применяется ККТ"},
    {9, "Перевод ККТ из автоматического режима в неавтоматический режим (осуществление расчетов кассиром)"},
    {10, "Перевод ККТ из неавтоматического режима (осуществление расчетов кассиром) в автоматический режим"},
    {11, "Перевод ККТ из режима, не позволяющего формировать БСО, в режим, позволяющий формировать БСО"},
    {12, "Перевод ККТ из режима, позволяющего формировать БСО, в режим, не позволяющий формировать БСО"},
    {13, "Перевод ККТ из режима расчетов в сети Интернет (позволяющего не печатать кассовый чек и БСО) в режим, позволяющий печатать кассовый чек и БСО"},
    {14, "Перевод ККТ из режима, позволяющего печатать кассовый чек и БСО, в режим расчетов в сети Интернет (позволяющего не печатать кассовый чек и БСО)"},
    {15, "Перевод ККТ из режима, позволяющего оказывать услуги платежного агента (субагента) или банковского платежного агента, в режим, не позволяющий оказывать услуги платежного агента (субагента) или банковского платежного агента"},
    {16, "Перевод ККТ из режима, не позволяющего оказывать услуги платежного агента (субагента) или банковского платежного агента в режим, позволяющий оказывать услуги платежного агента (субагента) или банковского платежного агента"},
    {17, "Перевод ККТ из режима, позволяющего применять ККТ при приеме ставок и выплате денежных средств в виде выигрыша при осуществлении деятельности по проведению азартных игр, в режим, не позволяющий применять ККТ при приеме ставок и выплате денежных средств в виде выигрыша при осуществлении деятельности по проведению азартных игр"},
    {18, "Перевод ККТ из режима, не позволяющего применять ККТ при приеме ставок и выплате денежных средств в виде выигрыша при осуществлении деятельности по проведению азартных игр, в режим, позволяющий применять ККТ при приеме ставок и выплате денежных средств в виде выигрыша при осуществлении деятельности по проведению азартных игр"},
    {19, "Перевод ККТ из режима, позволяющего применять ККТ при приеме денежных средств при реализации лотерейных билетов, электронных лотерейных билетов, приеме лотерейных ставок и выплате денежных средств в виде выигрыша при осуществлении деятельности по проведению лотерей, в режим, не позволяющий применять ККТ при приеме денежных средств при реализации лотерейных билетов, электронных лотерейных билетов, приеме лотерейных ставок и выплате денежных средств в виде выигрыша при осуществлении деятельности по проведению лотерей"},
    {20, "Перевод ККТ из режима, не позволяющего применять ККТ при приеме денежных средств при реализации лотерейных билетов, электронных лотерейных билетов, приеме лотерейных ставок и выплате денежных средств в виде выигрыша при осуществлении деятельности по проведению лотерей, в режим, позволяющий применять ККТ при приеме денежных средств при реализации лотерейных билетов, электронных лотерейных билетов, приеме лотерейных ставок и выплате денежных средств в виде выигрыша при осуществлении деятельности по проведению лотерей"},
    {21, "Изменение версии ФФД"},
    {31, "Иные причины"},
};

constexpr TCodeText kOKPKeyUpdateAnswersData[] = {
    {0, "Успешно. 0 ключей обновлено"},
    {1, "Успешно. 1 ключ обновлен"},
    {2, "Успешно. 2 ключа обновлено"},
    {254, "Ошибка. См. напечатанное.\n Либо не поддерживается данной прошивкой,\n либо ключи уже обновлены"},
    {255, "Нет связи с сервером ОКП"},
};

constexpr TCodeText kConnectionInterfacesData[] = {
    {0, "RS-232"},
    {1, "USB vCOM"},
    {2, "TCP сокет (RNDIS, Ethernet, WI-FI, ppp)"},
    {3, "I2C (Основная плата)"},
};

constexpr TBitLabel kSKNOStatusBitsData[] = {
    {0, "Занят"},
    {1, "СКЗИ"},
    {2, "Соединение с сервером"},
    {3, "Запрет обслуживания по окончанию сертификата СКЗИ"},
    {4, "Запрет обслуживания по не переданным суточным (сменным) отчетам (Z-отчетам)"},
    {5, "Запрет обслуживания по переполнению памяти СКНО"},
    {6, "Идентификация прошла успешно"},
    {7, "Смена открыта"},
    {8, "Не завершена процедура по переданному документу"},
    {9, "Наличие в памяти СКНО не переданных документов"},
    {10, "Превышен максимальный размер электронного кассового документа"},
    {11, "СКНО исправно"},
};

constexpr TCodeText kOSUSupportAnswersData[] = {
    {0, "ФН поддерживает ОСУ, режим ОСУ не активен"},
    {1, "ФН поддерживает ОСУ и ОСУ активна"},
    {255, "ФН не поддерживает ОСУ"},
};

constexpr const char* kUnknownDocumentType = "Неизвестный тип документа";
constexpr const char* kUnknownValue = "Неизвестное значение";
}  // namespace

const std::span<const TBitLabel> kFNLifePhaseBits{kLifePhaseBitsData};
const std::span<const TCodeText> kFNStatusDocumentTypes{kStatusDocumentTypesData};
const std::span<const TCodeText> kFNFindDocumentTypes{kFindDocumentTypesData};
const std::span<const TCodeText> kFNDocumentData{kDocumentDataData};
const std::span<const TCodeText> kFNSessionStates{kSessionStatesData};
const std::span<const TCodeText> kFNVersionTypes{kVersionTypesData};
const std::span<const TCodeText> kOSUSupportStatuses{kOSUSupportStatusesData};
const std::span<const TCodeText> kFNErrors{kFNErrorsData};
const std::span<const TBitLabel> kTaxSystemBits{kTaxSystemBitsData};
const std::span<const TBitLabel> kWorkModeBits{kWorkModeBitsData};
const std::span<const TBitLabel> kWorkModeExBits{kWorkModeExBitsData};
const std::span<const TBitLabel> kRegistrationReasonBits{kRegistrationReasonBitsData};
const std::span<const TCodeText> kOKPKeyUpdateAnswers{kOKPKeyUpdateAnswersData};
const std::span<const TCodeText> kConnectionInterfaces{kConnectionInterfacesData};
const std::span<const TBitLabel> kSKNOStatusBits{kSKNOStatusBitsData};
const std::span<const TCodeText> kOSUSupportAnswers{kOSUSupportAnswersData};

std::string CodeToText(std::span<const TCodeText> table, std::int64_t code, const char* unknown) {
  const auto it = std::find_if(table.begin(), table.end(), [code](const TCodeText& e) { return e.Code == code; });
  return Tr(it != table.end() ? it->Text : unknown);
}

std::string FNStatusDocumentTypeToStr(std::int64_t code) {
  return CodeToText(kFNStatusDocumentTypes, code, kUnknownDocumentType);
}
std::string FNFindDocumentTypeToStr(std::int64_t code) {
  return CodeToText(kFNFindDocumentTypes, code, kUnknownDocumentType);
}
std::string FNDocumentDataToStr(std::int64_t code) { return CodeToText(kFNDocumentData, code, kUnknownValue); }
std::string FNSessionStateToStr(std::int64_t code) { return CodeToText(kFNSessionStates, code, kUnknownValue); }
std::string FNVersionTypeToStr(std::int64_t code) { return CodeToText(kFNVersionTypes, code, kUnknownValue); }

std::string OSUSupportStatusToStr(std::int64_t code) {
  return std::to_string(code) + ", " + CodeToText(kOSUSupportStatuses, code, "Неизвестный код ответа");
}

std::string GetFNErrorDescription(std::int64_t code) {
  return CodeToText(kFNErrors, code, "Неизвестный код ошибки");
}

std::int64_t UpdatedKeyCount(std::int64_t status) { return status >> 2; }

namespace {
std::string UpdatedKeysText(std::int64_t status) {
  std::string format = Tr("ОБНОВЛЕНО КЛЮЧЕЙ: %d, ОШИБОК НЕТ");
  const std::string count = std::to_string(UpdatedKeyCount(status));
  if (const auto at = format.find("%d"); at != std::string::npos) format.replace(at, 2, count);
  return format;
}
}  // namespace

std::string GetUpdateKeysResult(std::int64_t resultCode, std::int64_t status) {
  std::string text;
  switch (resultCode) {
    case 0: text = UpdatedKeysText(status); break;
    case 254: text = Tr("Обновление не требуется"); break;
    case 255: text = Tr("НЕТ СВЯЗИ"); break;
    default: text = GetFNErrorDescription(resultCode); break;
  }
  if (TestBit(status, 1))
    text += "\n" + Tr("Обновление ключей проверки не выполнено. Обратитесь в службу технической поддержки");
  else if (TestBit(status, 0))
    text += "\n" + Tr("Обновление ключей проверки не выполнено.");
  return text;
}

std::string KeyUpdateResultToStr(std::int64_t resultCode, std::int64_t status) {
  switch (resultCode) {
    case 0: return UpdatedKeysText(status);
    case 254: return Tr("Обновление не производилось, потому что не требуется");
    case 255: return Tr("Нет связи с сервером АС ОКП");
    default: return GetFNErrorDescription(resultCode);
  }
}

std::string KeyUpdateStatusToStr(std::int64_t status) {
  if (TestBit(status, 1)) return Tr("Требуется срочное обновление");
  if (TestBit(status, 0)) return Tr("Требуется обновление");
  return {};
}

std::string OKPKeyUpdateAnswerToStr(const Bytes& answer) {
  if (answer.empty()) return {};
  return Tr("Результат обновления ключей ОКП: ") + CodeToText(kOKPKeyUpdateAnswers, answer[0], "Неизвестный ответ");
}

std::string ConnectionInterfaceToStr(std::int64_t portNumber) {
  return std::to_string(portNumber) + ", " + CodeToText(kConnectionInterfaces, portNumber, "неизвестный тип");
}

std::string LastFMRecordTypeToStr(std::int64_t type) {
  return Tr(type == 0 ? "Фиск./активиз. ЭКЛЗ" : "Сменный итог");
}

std::string KeyInfrastructureToStr(std::string_view fmSoftVersion) {
  // Later matches win.
  static constexpr std::pair<char, const char*> kMarks[] = {
      {'W', "инфраструктура zedur work"},
      {'T', "инфраструктура zedur test"},
      {'N', "инфраструктура kordel"},
      {'P', "инфраструктура kordel промежуточная "},
  };
  const char* text = "неизвестная инфраструктура";
  for (const auto& [mark, name] : kMarks)
    if (fmSoftVersion.find(mark) != std::string_view::npos) text = name;
  return Tr(text);
}

std::string OSUSupportAnswerToStr(std::int64_t value) {
  const auto it = std::find_if(kOSUSupportAnswers.begin(), kOSUSupportAnswers.end(),
                               [value](const TCodeText& e) { return e.Code == value; });
  if (it != kOSUSupportAnswers.end()) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "0x%02X, ", static_cast<unsigned>(value));
    return prefix + Tr(it->Text);
  }
  return std::to_string(value) + ", " + Tr("Неизвестное значение");
}

}  // namespace zel
