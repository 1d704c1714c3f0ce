#include "driver/Json.h"

#include <cmath>
#include <cstdio>

namespace zel {

namespace {

void DumpString(const std::string& s, std::string& out) {
  out += '"';
  for (unsigned char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

class TParser {
 public:
  explicit TParser(const std::string& s) : FS(s) {}

  TJson Document() {
    TJson v = Value(0);
    Blank();
    if (FPos != FS.size()) Fail("trailing characters");
    return v;
  }

 private:
  [[noreturn]] void Fail(const char* what) const {
    throw std::runtime_error(std::string("bad JSON: ") + what + " at " + std::to_string(FPos));
  }
  void Blank() {
    while (FPos < FS.size() && (FS[FPos] == ' ' || FS[FPos] == '\t' || FS[FPos] == '\r' || FS[FPos] == '\n')) ++FPos;
  }
  bool Take(char c) {
    Blank();
    if (FPos < FS.size() && FS[FPos] == c) {
      ++FPos;
      return true;
    }
    return false;
  }
  bool Word(const char* w) {
    const std::string word(w);
    if (FS.compare(FPos, word.size(), word) != 0) return false;
    FPos += word.size();
    return true;
  }
  std::uint32_t Hex4() {
    if (FPos + 4 > FS.size()) Fail("short \\u escape");
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = FS[FPos++];
      v <<= 4;
      if (c >= '0' && c <= '9') v |= c - '0';
      else if (c >= 'a' && c <= 'f') v |= c - 'a' + 10;
      else if (c >= 'A' && c <= 'F') v |= c - 'A' + 10;
      else Fail("bad \\u escape");
    }
    return v;
  }
  std::string String() {
    if (!Take('"')) Fail("text expected");
    std::string out;
    while (true) {
      if (FPos >= FS.size()) Fail("unterminated text");
      const char c = FS[FPos++];
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) Fail("control character in text");
      if (c != '\\') {
        out += c;
        continue;
      }
      if (FPos >= FS.size()) Fail("unterminated escape");
      switch (const char e = FS[FPos++]) {
        case '"': case '\\': case '/': out += e; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          std::uint32_t cp = Hex4();
          if (cp >= 0xD800 && cp < 0xDC00 && Word("\\u")) {
            const std::uint32_t low = Hex4();
            if (low < 0xDC00 || low > 0xDFFF) Fail("bad surrogate pair");
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          }
          AppendUtf8(out, cp);
          break;
        }
        default: Fail("bad escape");
      }
    }
  }
  TJson Value(int depth) {
    if (depth > 64) Fail("nested too deep");
    Blank();
    if (FPos >= FS.size()) Fail("value expected");
    const char c = FS[FPos];
    if (c == '"') return TJson(String());
    if (c == '{') {
      ++FPos;
      std::map<std::string, TJson> members;
      if (Take('}')) return TJson::Object(std::move(members));
      do {
        Blank();
        std::string key = String();
        if (!Take(':')) Fail("':' expected");
        members[key] = Value(depth + 1);
      } while (Take(','));
      if (!Take('}')) Fail("'}' expected");
      return TJson::Object(std::move(members));
    }
    if (c == '[') {
      ++FPos;
      std::vector<TJson> items;
      if (Take(']')) return TJson::Array(std::move(items));
      do items.push_back(Value(depth + 1));
      while (Take(','));
      if (!Take(']')) Fail("']' expected");
      return TJson::Array(std::move(items));
    }
    if (Word("true")) return TJson(true);
    if (Word("false")) return TJson(false);
    if (Word("null")) return TJson();
    const std::size_t start = FPos;
    if (FPos < FS.size() && FS[FPos] == '-') ++FPos;
    while (FPos < FS.size() && std::string_view("0123456789.eE+-").find(FS[FPos]) != std::string_view::npos) ++FPos;
    if (start == FPos) Fail("value expected");
    const std::string number = FS.substr(start, FPos - start);
    char* end = nullptr;
    const double v = std::strtod(number.c_str(), &end);
    if (*end != '\0' || !std::isfinite(v)) Fail("bad number");
    return TJson(v);
  }

  const std::string& FS;
  std::size_t FPos = 0;
};

}  // namespace

TJson TJson::Array(std::vector<TJson> items) {
  TJson v;
  v.FKind = TKind::Array;
  v.FItems = std::move(items);
  return v;
}

TJson TJson::Object(std::map<std::string, TJson> members) {
  TJson v;
  v.FKind = TKind::Object;
  for (auto& [k, m] : members) v.FMembers.emplace_back(k, std::move(m));
  return v;
}

const TJson* TJson::Find(const std::string& key) const {
  for (const auto& [k, v] : FMembers)
    if (k == key) return &v;
  return nullptr;
}

std::string TJson::Dump() const {
  std::string out;
  switch (FKind) {
    case TKind::Null: return "null";
    case TKind::Bool: return FNumber != 0 ? "true" : "false";
    case TKind::Number: {
      char buf[32];
      if (std::fabs(FNumber) < 9e15 && FNumber == std::floor(FNumber))
        std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(FNumber));
      else
        std::snprintf(buf, sizeof buf, "%.17g", FNumber);
      return buf;
    }
    case TKind::String: DumpString(FText, out); return out;
    case TKind::Array:
      out = "[";
      for (std::size_t i = 0; i < FItems.size(); ++i) out += (i ? "," : "") + FItems[i].Dump();
      return out + "]";
    case TKind::Object:
      out = "{";
      for (std::size_t i = 0; i < FMembers.size(); ++i) {
        if (i) out += ",";
        DumpString(FMembers[i].first, out);
        out += ":" + FMembers[i].second.Dump();
      }
      return out + "}";
  }
  return "null";
}

TJson TJson::Parse(const std::string& text) { return TParser(text).Document(); }

}  // namespace zel
