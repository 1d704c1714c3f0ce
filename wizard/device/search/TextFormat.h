#pragma once
// Fills the %s and %d places of a (translated) message in order.
#include <initializer_list>
#include <string>

namespace zel {

// Each "%s" or "%d" takes the next argument; places without one stay as they are.
std::string FormatText(const std::string& format, std::initializer_list<std::string> args);

}  // namespace zel
