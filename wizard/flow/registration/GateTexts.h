#pragma once
// Pure rules of the gate steps: the minimum driver version and the clock difference.
#include <array>
#include <string>

namespace zel {

using TVersion = std::array<int, 4>;
inline constexpr TVersion kMinDriverVersion = {4, 13, 0, 594};

// The first differing part decides: <0, 0 or >0.
int CompareVersions(const TVersion& a, const TVersion& b);
std::string VersionText(const TVersion& v);  // "4.13.0.594"

// "время совпадает" for 0, else "[M мин. ]S сек." over the absolute difference.
std::string TimeDiffText(long long seconds);

// Firmware that can write FFD 1.2 documents: versions starting with "D", and "C.3", "E.3", "T.3".
bool FirmwareKnowsFFD12(const std::string& version);

}  // namespace zel
