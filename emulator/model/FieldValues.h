#pragma once
// Named values of one command: request fields in, answer fields out. Names are
// those of the driver properties the fields carry (Password, TableNumber, ...).
#include <cstdint>
#include <map>
#include <string>
#include <variant>

#include "common/Bytes.h"

namespace zel::emu {

using TFieldValue = std::variant<std::int64_t, std::string, Bytes>;

class TFieldValues {
 public:
  bool Has(const std::string& name) const { return values_.count(name) != 0; }
  // Integer value; text holding a number is accepted; def when absent.
  std::int64_t Int(const std::string& name, std::int64_t def = 0) const;
  // Text value; an integer is given in decimal; "" when absent.
  std::string Str(const std::string& name) const;
  Bytes Bin(const std::string& name) const;
  void Set(const std::string& name, std::int64_t v) { values_[name] = v; }
  void Set(const std::string& name, int v) { values_[name] = std::int64_t{v}; }
  void Set(const std::string& name, unsigned v) { values_[name] = std::int64_t{v}; }
  void Set(const std::string& name, bool v) { values_[name] = std::int64_t{v ? 1 : 0}; }
  void Set(const std::string& name, std::string v) { values_[name] = std::move(v); }
  void Set(const std::string& name, const char* v) { values_[name] = std::string(v); }
  void Set(const std::string& name, Bytes v) { values_[name] = std::move(v); }
  const std::map<std::string, TFieldValue>& All() const { return values_; }

 private:
  std::map<std::string, TFieldValue> values_;
};

}  // namespace zel::emu
