#include "driver/catalogue/ErrorCodes.h"

namespace zel {

const std::vector<TErrorText>& LinkErrors() {
  static const std::vector<TErrorText> kLink = {
      {-1, "Нет связи", "no link: the device did not answer"},
      {-2, "\u0421OM порт недоступен", "the serial port does not exist or cannot be opened"},
      {-3, "\u0421OM порт занят другим приложением", "the serial port is held by another program"},
      {-4, "Ответ не соответствует команде", "the answer carries another command code"},
      {-5, "Неверная длина ответа", "the answer is shorter than its fields"},
      {-6, "Недопустимое значение параметра", "a property value does not fit the command"},
      {-7, "Функция не поддерживается драйвером", "the method is not implemented by this driver version"},
      {-8, "Ошибка драйвера", "any other failure"},
      {-9, "Нет связи с сервером ККТ", "no device server reachable on ComputerName"},
      {-10, "Неверный тип подключения", "ConnectionType is not 0, 1, 2 or 6"},
      {-11, "Превышено время ожидания окончания печати", "printing did not finish in time"},
      {-12, "Неизвестное свойство", "no property of that name"},
      {-13, "Неизвестный метод", "no method of that name"},
      {-18, "Порт заблокирован", "the port is locked by another client of the device server"},
      {-41, "Документов больше нет", "end of the document walk"},
  };
  return kLink;
}

const std::vector<TErrorText>& FNErrors() {
  static const std::vector<TErrorText> kFN = {
      {1, "Неизвестная команда, неверный формат посылки или неизвестные параметры", "FN: unknown command or format"},
      {2, "Другое состояние ФН", "FN: in another state"},
      {3, "Отказ ФН", "FN: failure"},
      {4, "Отказ КС", "FN: crypto module failure"},
      {5, "Параметры команды не соответствуют сроку жизни ФН", "FN: parameters do not match the life phase"},
      {6, "Архив ФН переполнен", "FN: archive full"},
      {7, "Неверные дата и/или время", "FN: wrong date or time"},
      {8, "Нет запрошенных данных", "FN: no requested data (also: no more data)"},
      {9, "Некорректное значение параметров команды", "FN: bad parameter value"},
      {10, "Некорректная команда", "FN: bad command"},
      {11, "Неразрешенные реквизиты", "FN: requisites not allowed"},
      {12, "Дублирование данных", "FN: duplicate data"},
      {13, "Отсутствуют данные, необходимые для корректного учета в ФН", "FN: missing data"},
      {14, "Количество позиций в документе превысило допустимый предел", "FN: too many items"},
      {16, "Превышение размеров TLV данных", "FN: TLV too large"},
      {17, "Нет транспортного соединения", "FN: no transport connection"},
      {18, "Исчерпан ресурс ФН", "FN: resource exhausted"},
      {20, "Ограничение ресурса ФН", "FN: resource limited"},
      {21, "Исчерпан ресурс Ожидания передачи сообщения", "FN: message-wait resource exhausted"},
      {22, "Продолжительность смены более 24 часов", "FN: shift longer than 24 hours"},
      {23, "Некорректные данные о промежутке времени между фискальными документами",
       "FN: bad time interval between documents"},
      {24, "Некорректный реквизит, переданный ККТ в ФН", "FN: bad requisite"},
      {25, "Реквизит не соответствует установкам при регистрации", "FN: requisite differs from registration"},
      {32, "Ошибка при обработке ответа в ФН", "FN: error processing the answer"},
      {33, "Нет связи с ФН. Фатальная ошибка !!!", "FN: no link, fatal"},
      {35, "Ошибка сервиса обновления ключей проверки кодов маркировки", "FN: key-update service error"},
      {36, "Неизвестный ответ сервиса обновления ключей проверки", "FN: unknown key-update answer"},
      {48, "ФН не отвечает", "FN: does not answer"},
      {121, "Ошибка часов", "FN: clock error"},
      {160, "Запрещена работа с маркированным товарами", "FN: marked goods forbidden"},
      {161, "Неверная последовательность команд группы Bxh", "FN: wrong order of marking commands"},
      {162, "Работа с маркированными товарами временно заблокирована", "FN: marked goods temporarily blocked"},
      {163, "Переполнена таблица хранения КМ", "FN: marking-code table full"},
      {170, "В блоке TLV отсутствуют необходимые реквизиты", "FN: required tags missing"},
      {172, "В реквизите 2007 содержится КМ, который ранее не проверялся в ФН", "FN: unchecked marking code"},
  };
  return kFN;
}

const std::vector<TErrorText>& DeviceErrors() {
  static const std::vector<TErrorText> kDevice = [] {
    std::vector<TErrorText> all = FNErrors();
    const std::vector<TErrorText> own = {
        {51, "Некорректные параметры в команде", "bad parameter, or past the last register or model parameter"},
        {55, "Команда не поддерживается в данной реализации ККТ", "command not supported"},
        {61, "Смена открыта, операция невозможна", "the shift is open"},
        {62, "Смена не открыта", "the shift is not open"},
        {74, "Открыт чек, операция невозможна", "a receipt is open"},
        {75, "Буфер печати переполнен", "print buffer full: call again"},
        {78, "Смена превысила 24 часа", "the shift is longer than 24 hours"},
        {79, "Неверный пароль", "wrong password"},
        {80, "Идет печать предыдущей команды", "busy printing the previous command: call again"},
        {85, "Чек закрыт, операция невозможна", "no receipt is open"},
        {88, "Ожидание команды продолжения печати", "waiting for the continue-printing command"},
        {93, "Таблица или поле не определены", "no such table or field"},
        {107, "Нет чековой ленты", "no receipt paper"},
        {115, "Команда не поддерживается в данном режиме", "command not allowed in this mode"},
    };
    all.insert(all.end(), own.begin(), own.end());
    return all;
  }();
  return kDevice;
}

const char* ErrorText(int code) {
  if (code == 0) return kTextSuccess;
  for (const auto& e : code < 0 ? LinkErrors() : DeviceErrors())
    if (e.Code == code) return e.Text;
  return kTextUnknownError;
}

}  // namespace zel
