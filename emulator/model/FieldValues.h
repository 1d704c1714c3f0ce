#pragma once
// Named values of one command: request fields in, answer fields out. Names are
// those of the driver properties the fields carry (Password, TableNumber, ...),
// and the values those of the shared command catalogue's codecs.
#include <cstdint>
#include <string>

#include "driver/catalogue/FieldCodec.h"

namespace zel::emu {

class TFieldValues {
 public:
  TFieldValues() = default;
  explicit TFieldValues(zel::TFieldMap values) : values_(std::move(values)) {}

  bool Has(const std::string& name) const { return values_.count(name) != 0; }
  // Integer value (booleans 0/1, decimal text accepted); def when absent or not a number.
  std::int64_t Int(const std::string& name, std::int64_t def = 0) const;
  // Text value: integers in decimal, dates "DD.MM.YYYY", times "HH:MM:SS"; "" when absent.
  std::string Str(const std::string& name) const;
  Bytes Bin(const std::string& name) const;
  const zel::TFieldValue* Find(const std::string& name) const;

  void Set(const std::string& name, std::int64_t v) { values_[name] = v; }
  void Set(const std::string& name, int v) { values_[name] = std::int64_t{v}; }
  void Set(const std::string& name, unsigned v) { values_[name] = std::int64_t{v}; }
  void Set(const std::string& name, bool v) { values_[name] = v; }
  void Set(const std::string& name, double v) { values_[name] = v; }
  void Set(const std::string& name, std::string v) { values_[name] = std::move(v); }
  void Set(const std::string& name, const char* v) { values_[name] = std::string(v); }
  void Set(const std::string& name, Bytes v) { values_[name] = std::move(v); }
  // Date and time parts of a device time (seconds since the epoch).
  void SetDate(const std::string& name, std::int64_t time);
  void SetTime(const std::string& name, std::int64_t time);
  const zel::TFieldMap& All() const { return values_; }

 private:
  zel::TFieldMap values_;
};

}  // namespace zel::emu
