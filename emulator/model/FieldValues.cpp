#include "emulator/model/FieldValues.h"

#include <charconv>

namespace zel::emu {

std::int64_t TFieldValues::Int(const std::string& name, std::int64_t def) const {
  auto it = values_.find(name);
  if (it == values_.end()) return def;
  if (auto* i = std::get_if<std::int64_t>(&it->second)) return *i;
  if (auto* s = std::get_if<std::string>(&it->second)) {
    std::int64_t v = def;
    auto [p, ec] = std::from_chars(s->data(), s->data() + s->size(), v);
    return ec == std::errc() && p == s->data() + s->size() ? v : def;
  }
  return def;
}

std::string TFieldValues::Str(const std::string& name) const {
  auto it = values_.find(name);
  if (it == values_.end()) return {};
  if (auto* s = std::get_if<std::string>(&it->second)) return *s;
  if (auto* i = std::get_if<std::int64_t>(&it->second)) return std::to_string(*i);
  const auto& b = std::get<Bytes>(it->second);
  return std::string(b.begin(), b.end());
}

Bytes TFieldValues::Bin(const std::string& name) const {
  auto it = values_.find(name);
  if (it == values_.end()) return {};
  if (auto* b = std::get_if<Bytes>(&it->second)) return *b;
  std::string s = Str(name);
  return Bytes(s.begin(), s.end());
}

}  // namespace zel::emu
