#pragma once
// Message ids raised by the protocol engines (translated through zel::Tr).
#include <cstddef>

namespace zel {

inline constexpr const char* kTextBadFrame = "Некорректный формат пакета";
inline constexpr const char* kTextMultichannelUnsupported = "Многоканальный протокол не поддерживается.";
// A command that does not fit the frame's length field (code kOtherFailure, -8).
inline constexpr const char* kTextCommandTooLong = "Команда слишком длинная";

// Raises EDriverError -8 "Команда слишком длинная" when size exceeds maxSize.
void CheckCommandSize(std::size_t size, std::size_t maxSize);

}  // namespace zel
