#pragma once
// TStatusRec: the 50-byte record the device answers to the full status command
// (0x11, request: 4-byte LE password) right after the code and error bytes, so
// at answer offset 2. The device must fill every field; the mode byte sits at
// record offset 15 and mode 8 means a receipt is open.
#include <cstddef>
#include <vector>

#include "driver/catalogue/FieldCodec.h"

namespace zel {

inline constexpr std::size_t kStatusRecSize = 50;
inline constexpr std::size_t kStatusRecOffset = 2;     // in the 0x11 answer
inline constexpr std::size_t kStatusModeOffset = 15;   // ECRMode within the record
inline constexpr int kModeShiftOpen = 2;
inline constexpr int kModeShiftExpired = 3;
inline constexpr int kModeShiftClosed = 4;
inline constexpr int kModeReceiptOpen = 8;

// Fields of the record in order; their sizes add up to kStatusRecSize.
const std::vector<TFieldDef>& StatusRecFields();
// Offset of a field within the record (throws std::out_of_range for an unknown name).
std::size_t StatusRecOffset(const char* field);

}  // namespace zel
