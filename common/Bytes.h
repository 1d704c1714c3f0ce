#pragma once
// Raw device data as it crosses every layer.
#include <cstdint>
#include <vector>

namespace zel {
using Bytes = std::vector<std::uint8_t>;
}
