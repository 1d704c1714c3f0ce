#pragma once
// Device dates and times as the command fields carry them:
// "DD.MM.YYYY" and "HH:MM:SS", in the register's own (UTC-free) clock.
#include <cstdint>
#include <optional>
#include <string>

namespace zel::emu {

std::string DateText(std::int64_t time);
std::string TimeText(std::int64_t time);
// Seconds since the epoch of a date at midnight / seconds into the day; nullopt when malformed.
std::optional<std::int64_t> ParseDate(const std::string& text);
std::optional<std::int64_t> ParseTime(const std::string& text);
// Date part (midnight) of a time.
inline std::int64_t DayOf(std::int64_t time) { return time - ((time % 86400) + 86400) % 86400; }

}  // namespace zel::emu
