// Table methods with logic: ReadTable and WriteTable learn the field's
// structure first, then carry its value as FieldSize bytes.
#include <algorithm>

#include "driver/Zelvox.h"
#include "driver/ZelvoxInternal.h"
#include "driver/catalogue/Cp1251.h"

namespace zel {

namespace {

std::string Trimmed(const std::string& s) {
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

}  // namespace

int TZelvox::ReadFieldStruct(std::int64_t table, std::int64_t field) {
  return Run("GetFieldStruct", {{"TableNumber", table}, {"FieldNumber", field}});
}

int TZelvox::DoReadTable() {
  int error = ReadFieldStruct(FProps.GetInt(TPropId::TableNumber), FProps.GetInt(TPropId::FieldNumber));
  if (error) return error;
  TFieldMap answer;
  if ((error = Run("ReadTable", {}, &answer)) != 0) return error;
  const Bytes& raw = std::get<Bytes>(answer.at("FieldValue"));
  if (FProps.GetInt(TPropId::FieldType) == 0) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < std::min<std::size_t>(raw.size(), 8); ++i) v |= std::uint64_t{raw[i]} << (8 * i);
    FProps.SetInt(TPropId::ValueOfFieldInteger, static_cast<std::int64_t>(v));
    FProps.SetText(TPropId::ValueOfFieldString, std::to_string(v));
  } else {
    std::string text(raw.begin(), raw.end());
    text = text.substr(0, text.find('\0'));
    FProps.SetText(TPropId::ValueOfFieldString, Cp1251ToUtf8(text));
  }
  return 0;
}

// A number field takes ValueOfFieldInteger, or ValueOfFieldString when that
// was set after it (the table editor writes every value as text).
int TZelvox::DoWriteTable() {
  int error = ReadFieldStruct(FProps.GetInt(TPropId::TableNumber), FProps.GetInt(TPropId::FieldNumber));
  if (error) return error;
  const auto size = static_cast<std::size_t>(FProps.GetInt(TPropId::FieldSize));
  Bytes value;
  if (FProps.GetInt(TPropId::FieldType) == 0) {
    std::int64_t v = FProps.GetInt(TPropId::ValueOfFieldInteger);
    if (FProps.Stamp(TPropId::ValueOfFieldString) > FProps.Stamp(TPropId::ValueOfFieldInteger)) {
      const std::string text = Trimmed(FProps.GetText(TPropId::ValueOfFieldString));
      std::size_t used = 0;
      try {
        v = std::stoll(text, &used);
      } catch (const std::exception&) {
        used = 0;
      }
      if (used == 0 || used != text.size()) RaiseCode(kBadValue, "ValueOfFieldString");
    }
    if (v < 0 || (size < 8 && static_cast<std::uint64_t>(v) >> (8 * size) != 0))
      RaiseCode(kBadValue, "ValueOfFieldInteger");
    for (std::size_t i = 0; i < size; ++i)
      value.push_back(i < 8 ? static_cast<std::uint8_t>(static_cast<std::uint64_t>(v) >> (8 * i)) : 0);
    FProps.SetInt(TPropId::ValueOfFieldInteger, v);
    FProps.SetText(TPropId::ValueOfFieldString, std::to_string(v));
  } else {
    const std::string text = Utf8ToCp1251(FProps.GetText(TPropId::ValueOfFieldString));
    if (text.size() > size) RaiseCode(kBadValue, "ValueOfFieldString");
    value.assign(text.begin(), text.end());
    value.resize(size, 0);
  }
  return Run("WriteTable", {{"FieldValue", value}});
}

}  // namespace zel
