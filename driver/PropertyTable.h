#pragma once
// The driver's properties, declared once in Properties.def: their ids, types,
// defaults, and a store holding one value of each with by-name text access.
#include <cstdint>
#include <string>
#include <vector>

namespace zel {

enum class TPropType : std::uint8_t { Int, Bool, Currency, Double, DateTime, String, Bytes, Variant };

enum class TPropId : int {
#define ZEL_PROPERTY(type, name, def) name,
#include "driver/Properties.def"
#undef ZEL_PROPERTY
  Count
};

struct TPropDef {
  const char* Name;
  TPropType Type;
  std::int64_t DefaultInt;   // Int, Bool, Variant (an integer at start)
  const char* DefaultText;   // String, Bytes
};

// One value. Numbers in Int (Bool as 0/1), Currency, Double and TDateTime
// (days since 30.12.1899) in Real, texts in Text (UTF-8), byte strings in Text
// one byte per char. Kind tells what a Variant holds now (Int or Bool).
struct TPropValue {
  TPropType Kind = TPropType::Int;
  std::int64_t Int = 0;
  double Real = 0;
  std::string Text;
};

const std::vector<TPropDef>& PropertyDefs();
const TPropDef& PropertyDef(TPropId id);
// Case-insensitive, as automation clients expect; false when unknown.
bool FindProperty(const std::string& name, TPropId& id);
const char* PropTypeName(TPropType type);
// Read-only properties (the driver version).
bool IsReadOnly(TPropId id);

// Not thread-safe: the driver guards it with its own lock.
class TPropertyStore {
 public:
  TPropertyStore();

  const TPropValue& Get(TPropId id) const { return FValues[static_cast<int>(id)]; }
  std::int64_t GetInt(TPropId id) const;   // Int, Bool, Variant; Real types truncated
  bool GetBool(TPropId id) const { return GetInt(id) != 0; }
  double GetReal(TPropId id) const;        // Currency, Double, DateTime; integers widened
  const std::string& GetText(TPropId id) const { return Get(id).Text; }

  void SetInt(TPropId id, std::int64_t v);
  void SetBool(TPropId id, bool v);
  void SetReal(TPropId id, double v);
  void SetText(TPropId id, const std::string& v);

  // Order of the last assignment (0 = never assigned since start): the driver
  // uses it where two properties can carry the same input.
  std::uint64_t Stamp(TPropId id) const { return FStamps[static_cast<int>(id)]; }

  // Text forms for the CLI and the GUI binding: numbers in decimal ("." as the
  // separator), Bool as 0/1, TDateTime as "dd.mm.yyyy hh:mm:ss", Bytes as hex.
  std::string ToText(TPropId id) const;
  // Parses the text form (Bool also takes true/false); false on a bad value.
  bool FromText(TPropId id, const std::string& text);

 private:
  void Touch(TPropId id) { FStamps[static_cast<int>(id)] = ++FClock; }
  std::vector<TPropValue> FValues;
  std::vector<std::uint64_t> FStamps;
  std::uint64_t FClock = 0;
};

}  // namespace zel
