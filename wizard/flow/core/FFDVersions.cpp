#include "wizard/flow/core/FFDVersions.h"

namespace zel {
namespace {

constexpr const char* kVersions[] = {"1.0 beta", "1.0", "1.05", "1.1", "1.2"};
constexpr int kCount = static_cast<int>(sizeof kVersions / sizeof kVersions[0]);
constexpr int kX5LastCode = 3;

}  // namespace

std::string FFDVersionText(int code) { return code >= 0 && code < kCount ? kVersions[code] : ""; }

std::string FFDName(int code) {
  const std::string v = FFDVersionText(code);
  return v.empty() ? v : "ФФД " + v;
}

std::vector<TFFDChoice> X5FFDChoices() {
  std::vector<TFFDChoice> out;
  for (int c = 0; c <= kX5LastCode; ++c) out.push_back({FFDVersionText(c), c});
  return out;
}

}  // namespace zel
