#include "wizard/flow/registration/GateTexts.h"

#include <cstdlib>

#include "common/Translate.h"

namespace zel {

int CompareVersions(const TVersion& a, const TVersion& b) {
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  return 0;
}

std::string VersionText(const TVersion& v) {
  return std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + "." + std::to_string(v[3]);
}

std::string TimeDiffText(long long seconds) {
  const long long s = std::llabs(seconds);
  if (s == 0) return Tr("время совпадает");
  std::string text;
  if (s >= 60) text = std::to_string(s / 60) + Tr(" мин.") + " ";
  return text + std::to_string(s % 60) + Tr(" сек.");
}

bool FirmwareKnowsFFD12(const std::string& version) {
  return (!version.empty() && version[0] == 'D') || version == "C.3" || version == "E.3" || version == "T.3";
}

}  // namespace zel
