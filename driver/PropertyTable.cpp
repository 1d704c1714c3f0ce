#include "driver/PropertyTable.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <strings.h>

#include "driver/DateTimeConv.h"
#include "driver/HexText.h"

namespace zel {

namespace {

struct TDefault {
  std::int64_t Int = 0;
  const char* Text = "";
  TDefault(int v) : Int(v) {}  // NOLINT: integers and booleans of the table
  TDefault(long long v) : Int(v) {}  // NOLINT
  TDefault(const char* t) : Text(t) {}  // NOLINT: texts of the table
};

TPropDef Make(const char* name, TPropType type, TDefault def) { return {name, type, def.Int, def.Text}; }

std::vector<TPropDef> BuildDefs() {
  return {
#define ZEL_PROPERTY(type, name, def) Make(#name, TPropType::type, def),
#include "driver/Properties.def"
#undef ZEL_PROPERTY
  };
}

bool ParseInt(const std::string& text, std::int64_t& v) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long long x = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0') return false;
  v = x;
  return true;
}

bool ParseReal(const std::string& text, double& v) {
  if (text.empty()) return false;
  std::string t = text;
  for (char& c : t)
    if (c == ',') c = '.';
  char* end = nullptr;
  const double x = std::strtod(t.c_str(), &end);
  if (*end != '\0' || !std::isfinite(x)) return false;
  v = x;
  return true;
}

std::string RealText(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.10g", v);
  return buf;
}

}  // namespace

const std::vector<TPropDef>& PropertyDefs() {
  static const std::vector<TPropDef> kDefs = BuildDefs();
  return kDefs;
}

const TPropDef& PropertyDef(TPropId id) { return PropertyDefs()[static_cast<int>(id)]; }

bool FindProperty(const std::string& name, TPropId& id) {
  const auto& defs = PropertyDefs();
  for (std::size_t i = 0; i < defs.size(); ++i)
    if (strcasecmp(defs[i].Name, name.c_str()) == 0) {
      id = static_cast<TPropId>(i);
      return true;
    }
  return false;
}

const char* PropTypeName(TPropType type) {
  switch (type) {
    case TPropType::Int: return "Integer";
    case TPropType::Bool: return "WordBool";
    case TPropType::Currency: return "Currency";
    case TPropType::Double: return "Double";
    case TPropType::DateTime: return "TDateTime";
    case TPropType::String: return "WideString";
    case TPropType::Bytes: return "ByteString";
    case TPropType::Variant: return "OleVariant";
  }
  return "?";
}

bool IsReadOnly(TPropId id) {
  return id == TPropId::DriverMajorVersion || id == TPropId::DriverMinorVersion || id == TPropId::DriverRelease ||
         id == TPropId::DriverBuild || id == TPropId::DriverVersion;
}

TPropertyStore::TPropertyStore() : FStamps(static_cast<int>(TPropId::Count), 0) {
  for (const auto& def : PropertyDefs()) {
    TPropValue v;
    v.Kind = def.Type == TPropType::Variant ? TPropType::Int : def.Type;
    v.Int = def.DefaultInt;
    v.Real = static_cast<double>(def.DefaultInt);
    v.Text = def.DefaultText;
    FValues.push_back(std::move(v));
  }
}

std::int64_t TPropertyStore::GetInt(TPropId id) const {
  const TPropValue& v = Get(id);
  switch (v.Kind) {
    case TPropType::Currency:
    case TPropType::Double:
    case TPropType::DateTime: return static_cast<std::int64_t>(v.Real);
    case TPropType::String: {
      std::int64_t x = 0;
      return ParseInt(v.Text, x) ? x : 0;
    }
    default: return v.Int;
  }
}

double TPropertyStore::GetReal(TPropId id) const {
  const TPropValue& v = Get(id);
  switch (v.Kind) {
    case TPropType::Currency:
    case TPropType::Double:
    case TPropType::DateTime: return v.Real;
    default: return static_cast<double>(v.Int);
  }
}

void TPropertyStore::SetInt(TPropId id, std::int64_t x) {
  TPropValue& v = FValues[static_cast<int>(id)];
  switch (PropertyDef(id).Type) {
    case TPropType::Currency:
    case TPropType::Double:
    case TPropType::DateTime: v.Real = static_cast<double>(x); break;
    case TPropType::String: v.Text = std::to_string(x); break;
    case TPropType::Bytes: break;
    case TPropType::Bool: v.Int = x != 0; break;
    case TPropType::Variant: v.Kind = TPropType::Int; v.Int = x; break;
    default: v.Int = x;
  }
  Touch(id);
}

void TPropertyStore::SetBool(TPropId id, bool b) {
  if (PropertyDef(id).Type == TPropType::Variant) {
    TPropValue& v = FValues[static_cast<int>(id)];
    v.Kind = TPropType::Bool;
    v.Int = b;
    Touch(id);
    return;
  }
  SetInt(id, b ? 1 : 0);
}

void TPropertyStore::SetReal(TPropId id, double x) {
  TPropValue& v = FValues[static_cast<int>(id)];
  switch (PropertyDef(id).Type) {
    case TPropType::Currency: v.Real = std::round(x * 10000.0) / 10000.0; break;
    case TPropType::Double:
    case TPropType::DateTime: v.Real = x; break;
    case TPropType::String: v.Text = RealText(x); break;
    case TPropType::Bytes: break;
    default: SetInt(id, static_cast<std::int64_t>(x)); return;
  }
  Touch(id);
}

void TPropertyStore::SetText(TPropId id, const std::string& text) {
  TPropValue& v = FValues[static_cast<int>(id)];
  if (PropertyDef(id).Type == TPropType::String || PropertyDef(id).Type == TPropType::Bytes) {
    v.Text = text;
    Touch(id);
    return;
  }
  FromText(id, text);
}

std::string TPropertyStore::ToText(TPropId id) const {
  const TPropValue& v = Get(id);
  switch (v.Kind) {
    case TPropType::Currency:
    case TPropType::Double: return RealText(v.Real);
    case TPropType::DateTime: return DateTimeToText(v.Real);
    case TPropType::String: return v.Text;
    case TPropType::Bytes: return BytesToHex(v.Text);
    default: return std::to_string(v.Int);
  }
}

bool TPropertyStore::FromText(TPropId id, const std::string& text) {
  switch (PropertyDef(id).Type) {
    case TPropType::Int: {
      std::int64_t x = 0;
      if (!ParseInt(text, x)) return false;
      SetInt(id, x);
      return true;
    }
    case TPropType::Bool:
    case TPropType::Variant: {
      if (strcasecmp(text.c_str(), "true") == 0) return SetBool(id, true), true;
      if (strcasecmp(text.c_str(), "false") == 0) return SetBool(id, false), true;
      std::int64_t x = 0;
      if (!ParseInt(text, x)) return false;
      SetInt(id, x);
      return true;
    }
    case TPropType::Currency:
    case TPropType::Double: {
      double x = 0;
      if (!ParseReal(text, x)) return false;
      SetReal(id, x);
      return true;
    }
    case TPropType::DateTime: {
      double x = 0;
      if (!ParseDateTime(text, x) && !ParseReal(text, x)) return false;
      SetReal(id, x);
      return true;
    }
    case TPropType::String: SetText(id, text); return true;
    case TPropType::Bytes: {
      Bytes b;
      if (!HexToBytes(text, b)) return false;
      SetText(id, std::string(b.begin(), b.end()));
      return true;
    }
  }
  return false;
}

}  // namespace zel
