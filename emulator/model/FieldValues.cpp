#include "emulator/model/FieldValues.h"

#include <charconv>
#include <chrono>
#include <cstdio>

namespace zel::emu {

const zel::TFieldValue* TFieldValues::Find(const std::string& name) const {
  auto it = values_.find(name);
  return it == values_.end() ? nullptr : &it->second;
}

std::int64_t TFieldValues::Int(const std::string& name, std::int64_t def) const {
  const zel::TFieldValue* v = Find(name);
  if (!v) return def;
  if (auto* i = std::get_if<std::int64_t>(v)) return *i;
  if (auto* b = std::get_if<bool>(v)) return *b ? 1 : 0;
  if (auto* s = std::get_if<std::string>(v)) {
    std::int64_t x = def;
    auto [p, ec] = std::from_chars(s->data(), s->data() + s->size(), x);
    return ec == std::errc() && p == s->data() + s->size() ? x : def;
  }
  return def;
}

std::string TFieldValues::Str(const std::string& name) const {
  const zel::TFieldValue* v = Find(name);
  if (!v) return {};
  char buf[32];
  if (auto* s = std::get_if<std::string>(v)) return *s;
  if (auto* i = std::get_if<std::int64_t>(v)) return std::to_string(*i);
  if (auto* b = std::get_if<bool>(v)) return *b ? "1" : "0";
  if (auto* d = std::get_if<zel::TDate>(v)) {
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", d->Day, d->Month, d->Year);
    return buf;
  }
  if (auto* t = std::get_if<zel::TTime>(v)) {
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t->Hour, t->Minute, t->Second);
    return buf;
  }
  if (auto* b = std::get_if<Bytes>(v)) return std::string(b->begin(), b->end());
  return {};
}

Bytes TFieldValues::Bin(const std::string& name) const {
  const zel::TFieldValue* v = Find(name);
  if (!v) return {};
  if (auto* b = std::get_if<Bytes>(v)) return *b;
  std::string s = Str(name);
  return Bytes(s.begin(), s.end());
}

void TFieldValues::SetDate(const std::string& name, std::int64_t time) {
  using namespace std::chrono;
  year_month_day ymd{floor<days>(sys_seconds{seconds{time}})};
  values_[name] = zel::TDate{static_cast<int>(static_cast<unsigned>(ymd.day())),
                             static_cast<int>(static_cast<unsigned>(ymd.month())), static_cast<int>(ymd.year())};
}

void TFieldValues::SetTime(const std::string& name, std::int64_t time) {
  const std::int64_t s = ((time % 86400) + 86400) % 86400;
  values_[name] = zel::TTime{static_cast<int>(s / 3600), static_cast<int>(s / 60 % 60), static_cast<int>(s % 60)};
}

}  // namespace zel::emu
