#pragma once
// Message ids of the device server (Russian; translated through zel::Tr).
namespace zel {

inline constexpr const char* kTextNoErrors = "Ошибок нет";
inline constexpr const char* kTextPortLocked = "Порт заблокирован";
inline constexpr const char* kTextBadDataFormat = "Неверный формат данных";
inline constexpr const char* kTextCloseTimeout = "Истек таймаут. Не удается закрыть COM вызов";
inline constexpr const char* kTextDropClients =
    "К серверу подключены клиенты и они будут отключены.\r\nВы уверены ?";

}  // namespace zel
