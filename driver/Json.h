#pragma once
// The small part of JSON the device server's protocol needs: values with
// numbers, texts, arrays and objects; a writer and a strict parser.
#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace zel {

class TJson {
 public:
  enum class TKind { Null, Bool, Number, String, Array, Object };

  TJson() = default;
  TJson(std::nullptr_t) {}
  TJson(bool b) : FKind(TKind::Bool), FNumber(b ? 1 : 0) {}
  TJson(int v) : FKind(TKind::Number), FNumber(v) {}
  TJson(std::int64_t v) : FKind(TKind::Number), FNumber(static_cast<double>(v)) {}
  TJson(double v) : FKind(TKind::Number), FNumber(v) {}
  TJson(const char* s) : FKind(TKind::String), FText(s) {}
  TJson(std::string s) : FKind(TKind::String), FText(std::move(s)) {}
  static TJson Array(std::vector<TJson> items);
  static TJson Object(std::map<std::string, TJson> members);

  TKind Kind() const { return FKind; }
  bool IsNumber() const { return FKind == TKind::Number; }
  bool IsString() const { return FKind == TKind::String; }
  bool IsObject() const { return FKind == TKind::Object; }
  double Number() const { return FNumber; }
  const std::string& Text() const { return FText; }
  const std::vector<TJson>& Items() const { return FItems; }
  // Member of an object, nullptr when absent (or not an object).
  const TJson* Find(const std::string& key) const;

  std::string Dump() const;
  // Throws std::runtime_error on anything that is not one complete JSON value.
  static TJson Parse(const std::string& text);

 private:
  TKind FKind = TKind::Null;
  double FNumber = 0;
  std::string FText;
  std::vector<TJson> FItems;                   // arrays
  std::vector<std::pair<std::string, TJson>> FMembers;  // objects, in order
};

}  // namespace zel
