#pragma once
// Texts of the driver's windows (Russian message ids).
namespace zel::dlg {

inline constexpr const char* kPropertiesTitle = "Свойства драйвера";
inline constexpr const char* kConnectionType = "Тип подключения:";
inline constexpr const char* kLocalPort = "Локальный COM порт";
inline constexpr const char* kServerLocal = "Сервер ККТ (локальный)";
inline constexpr const char* kServerRemote = "Сервер ККТ (сетевой)";
inline constexpr const char* kTcpSocket = "TCP сокет";
inline constexpr const char* kComNumber = "COM порт:";
inline constexpr const char* kBaudRate = "Скорость:";
inline constexpr const char* kTimeout = "Таймаут, мс:";
inline constexpr const char* kProtocolType = "Протокол:";
inline constexpr const char* kProtocolStandard = "Стандартный";
inline constexpr const char* kProtocolNumbered = "Нумерованные кадры";
inline constexpr const char* kProtocolMultichannel = "Многоканальный";
inline constexpr const char* kComputerName = "Имя компьютера:";
inline constexpr const char* kIPAddress = "IP адрес:";
inline constexpr const char* kTCPPort = "TCP порт:";
inline constexpr const char* kCheck = "Проверка связи";
inline constexpr const char* kTablesTitle = "Таблицы";
inline constexpr const char* kRow = "Ряд:";
inline constexpr const char* kRead = "Прочитать";
inline constexpr const char* kWrite = "Записать";
inline constexpr const char* kField = "Поле";
inline constexpr const char* kName = "Название";
inline constexpr const char* kType = "Тип";
inline constexpr const char* kMin = "Мин.";
inline constexpr const char* kMax = "Макс.";
inline constexpr const char* kValue = "Значение";
inline constexpr const char* kNumber = "число";
inline constexpr const char* kText = "строка";

// All of them, for the catalogue checks.
inline constexpr const char* kAll[] = {kPropertiesTitle, kConnectionType, kLocalPort, kServerLocal, kServerRemote, kTcpSocket, kComNumber, kBaudRate, kTimeout, kProtocolType, kProtocolStandard, kProtocolNumbered, kProtocolMultichannel, kComputerName, kIPAddress, kTCPPort, kCheck, kTablesTitle, kRow, kRead, kWrite, kField, kName, kType, kMin, kMax, kValue, kNumber, kText};

}  // namespace zel::dlg
