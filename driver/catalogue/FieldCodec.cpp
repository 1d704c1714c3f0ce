#include "driver/catalogue/FieldCodec.h"

#include <cmath>

#include "driver/catalogue/Cp1251.h"

namespace zel {

namespace {

void Need(const Bytes& in, std::size_t pos, std::size_t count, const char* name) {
  if (pos > in.size() || in.size() - pos < count)
    throw ECodecError(std::string("answer too short for field ") + name);
}

void PutUInt(Bytes& out, std::uint64_t v, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::uint64_t GetUInt(const Bytes& in, std::size_t pos, std::size_t size) {
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < size; ++i) v |= static_cast<std::uint64_t>(in[pos + i]) << (8 * i);
  return v;
}

template <class T>
const T& As(const TFieldDef& f, const TFieldValue& v) {
  if (const T* p = std::get_if<T>(&v)) return *p;
  throw ECodecError(std::string("wrong value kind for field ") + f.Name);
}

std::int64_t AsInt(const TFieldDef& f, const TFieldValue& v) {
  if (const auto* b = std::get_if<bool>(&v)) return *b ? 1 : 0;
  return As<std::int64_t>(f, v);
}

void CheckRange(const TFieldDef& f, std::int64_t v, std::size_t size) {
  if (size >= 8) return;
  if (v < 0 || static_cast<std::uint64_t>(v) >> (8 * size) != 0)
    throw ECodecError(std::string("value ") + std::to_string(v) + " does not fit field " + f.Name);
}

std::string TrimZeros(std::string s) {
  const auto zero = s.find('\0');
  if (zero != std::string::npos) s.resize(zero);
  return s;
}

}  // namespace

std::size_t FieldWireSize(const TFieldDef& f) {
  switch (f.Codec) {
    case TCodec::UInt:
    case TCodec::Text:
    case TCodec::Milli: return f.Size;
    case TCodec::Amount: return 5;
    case TCodec::Date:
    case TCodec::Time: return 3;
    case TCodec::Version: return 2;
    case TCodec::Variant: return 5;
    default: return 0;
  }
}

TFieldValue ZeroValue(TCodec codec) {
  switch (codec) {
    case TCodec::Text:
    case TCodec::TextToEnd:
    case TCodec::Version: return std::string();
    case TCodec::BytesToEnd: return Bytes();
    case TCodec::Date: return TDate();
    case TCodec::Time: return TTime();
    case TCodec::Milli: return 0.0;
    case TCodec::Tlv: return TTlv();
    default: return std::int64_t{0};
  }
}

void EncodeField(const TFieldDef& f, const TFieldValue& v, Bytes& out) {
  switch (f.Codec) {
    case TCodec::UInt: {
      if (f.Size < 1 || f.Size > 8) throw ECodecError(std::string("bad size of field ") + f.Name);
      const std::int64_t x = AsInt(f, v);
      CheckRange(f, x, f.Size);
      PutUInt(out, static_cast<std::uint64_t>(x), f.Size);
      return;
    }
    case TCodec::Amount: {
      const std::int64_t x = AsInt(f, v);
      CheckRange(f, x, 5);
      PutUInt(out, static_cast<std::uint64_t>(x), 5);
      return;
    }
    case TCodec::Milli: {
      const double d = std::holds_alternative<double>(v) ? std::get<double>(v) : static_cast<double>(AsInt(f, v));
      const auto x = static_cast<std::int64_t>(std::llround(d * 1000.0));
      CheckRange(f, x, f.Size);
      PutUInt(out, static_cast<std::uint64_t>(x), f.Size);
      return;
    }
    case TCodec::Text: {
      const std::string t = Utf8ToCp1251(As<std::string>(f, v));
      if (t.size() > f.Size)
        throw ECodecError(std::string("text longer than ") + std::to_string(f.Size) + " bytes for field " + f.Name);
      out.insert(out.end(), t.begin(), t.end());
      out.insert(out.end(), f.Size - t.size(), 0);
      return;
    }
    case TCodec::TextToEnd: {
      const std::string t = Utf8ToCp1251(As<std::string>(f, v));
      out.insert(out.end(), t.begin(), t.end());
      return;
    }
    case TCodec::BytesToEnd: {
      const Bytes& b = As<Bytes>(f, v);
      out.insert(out.end(), b.begin(), b.end());
      return;
    }
    case TCodec::Date: {
      const TDate& d = As<TDate>(f, v);
      if (d.Day < 1 || d.Day > 31 || d.Month < 1 || d.Month > 12 || d.Year < 2000 || d.Year > 2255)
        throw ECodecError(std::string("bad date for field ") + f.Name);
      out.push_back(static_cast<std::uint8_t>(d.Day));
      out.push_back(static_cast<std::uint8_t>(d.Month));
      out.push_back(static_cast<std::uint8_t>(d.Year - 2000));
      return;
    }
    case TCodec::Time: {
      const TTime& t = As<TTime>(f, v);
      if (t.Hour < 0 || t.Hour > 23 || t.Minute < 0 || t.Minute > 59 || t.Second < 0 || t.Second > 59)
        throw ECodecError(std::string("bad time for field ") + f.Name);
      out.push_back(static_cast<std::uint8_t>(t.Hour));
      out.push_back(static_cast<std::uint8_t>(t.Minute));
      out.push_back(static_cast<std::uint8_t>(t.Second));
      return;
    }
    case TCodec::Version: {
      const std::string& s = As<std::string>(f, v);
      int major = 0, minor = 0;
      const auto dot = s.find('.');
      try {
        if (!s.empty()) major = std::stoi(s.substr(0, dot));
        if (dot != std::string::npos) minor = std::stoi(s.substr(dot + 1));
      } catch (const std::exception&) {
        throw ECodecError(std::string("bad version text for field ") + f.Name);
      }
      if (major < 0 || major > 255 || minor < 0 || minor > 255)
        throw ECodecError(std::string("bad version text for field ") + f.Name);
      out.push_back(static_cast<std::uint8_t>(major));
      out.push_back(static_cast<std::uint8_t>(minor));
      return;
    }
    case TCodec::Variant: {
      const bool isBool = std::holds_alternative<bool>(v);
      const std::int64_t x = AsInt(f, v);
      if (x < INT32_MIN || x > INT32_MAX) throw ECodecError(std::string("value does not fit field ") + f.Name);
      out.push_back(isBool ? 1 : 0);
      PutUInt(out, static_cast<std::uint32_t>(static_cast<std::int32_t>(x)), 4);
      return;
    }
    case TCodec::Tlv: {
      const Bytes b = EncodeTlv(As<TTlv>(f, v));
      out.insert(out.end(), b.begin(), b.end());
      return;
    }
  }
  throw ECodecError(std::string("unknown codec of field ") + f.Name);
}

TFieldValue DecodeField(const TFieldDef& f, const Bytes& in, std::size_t& pos) {
  const std::size_t size = FieldWireSize(f);
  if (size) Need(in, pos, size, f.Name);
  const std::size_t at = pos;
  pos += size;
  switch (f.Codec) {
    case TCodec::UInt:
    case TCodec::Amount: return static_cast<std::int64_t>(GetUInt(in, at, size));
    case TCodec::Milli: return static_cast<double>(GetUInt(in, at, size)) / 1000.0;
    case TCodec::Text: return Cp1251ToUtf8(TrimZeros(std::string(in.begin() + at, in.begin() + at + size)));
    case TCodec::TextToEnd: {
      Need(in, at, 0, f.Name);
      pos = in.size();
      std::string s(in.begin() + at, in.end());
      while (!s.empty() && s.back() == '\0') s.pop_back();
      return Cp1251ToUtf8(s);
    }
    case TCodec::BytesToEnd:
      Need(in, at, 0, f.Name);
      pos = in.size();
      return Bytes(in.begin() + at, in.end());
    case TCodec::Date: return TDate{in[at], in[at + 1], 2000 + in[at + 2]};
    case TCodec::Time: return TTime{in[at], in[at + 1], in[at + 2]};
    case TCodec::Version: return std::to_string(in[at]) + "." + std::to_string(in[at + 1]);
    case TCodec::Variant: {
      const auto x = static_cast<std::int32_t>(static_cast<std::uint32_t>(GetUInt(in, at + 1, 4)));
      if (in[at] == 1) return x != 0;
      return static_cast<std::int64_t>(x);
    }
    case TCodec::Tlv: {
      Need(in, at, 4, f.Name);
      const auto tag = static_cast<std::uint16_t>(GetUInt(in, at, 2));
      const auto len = static_cast<std::size_t>(GetUInt(in, at + 2, 2));
      Need(in, at + 4, len, f.Name);
      pos = at + 4 + len;
      return TTlv{tag, Bytes(in.begin() + at + 4, in.begin() + at + 4 + len)};
    }
  }
  throw ECodecError(std::string("unknown codec of field ") + f.Name);
}

void EncodeFields(const std::vector<TFieldDef>& fields, const TFieldMap& values, Bytes& out) {
  for (const auto& f : fields) {
    const auto it = values.find(f.Name);
    EncodeField(f, it != values.end() ? it->second : ZeroValue(f.Codec), out);
  }
}

TFieldMap DecodeFields(const std::vector<TFieldDef>& fields, const Bytes& in, std::size_t pos) {
  TFieldMap map;
  for (const auto& f : fields) map[f.Name] = DecodeField(f, in, pos);
  return map;
}

std::string CodecName(const TFieldDef& f) {
  switch (f.Codec) {
    case TCodec::UInt: return "UInt(" + std::to_string(f.Size) + ")";
    case TCodec::Amount: return "Amount";
    case TCodec::Text: return "Text(" + std::to_string(f.Size) + ")";
    case TCodec::TextToEnd: return "TextToEnd";
    case TCodec::BytesToEnd: return "BytesToEnd";
    case TCodec::Date: return "Date";
    case TCodec::Time: return "Time";
    case TCodec::Version: return "Version";
    case TCodec::Milli: return "Milli(" + std::to_string(f.Size) + ")";
    case TCodec::Variant: return "Variant";
    case TCodec::Tlv: return "Tlv";
  }
  return "?";
}

Bytes EncodeTlv(const TTlv& tlv) {
  if (tlv.Value.size() > 0xFFFF) throw ECodecError("TLV value longer than 65535 bytes");
  Bytes out;
  PutUInt(out, tlv.Tag, 2);
  PutUInt(out, tlv.Value.size(), 2);
  out.insert(out.end(), tlv.Value.begin(), tlv.Value.end());
  return out;
}

std::vector<TTlv> DecodeTlvList(const Bytes& in) {
  static const TFieldDef kTlv{"TLV", TCodec::Tlv, 0};
  std::vector<TTlv> list;
  std::size_t pos = 0;
  while (pos < in.size()) list.push_back(std::get<TTlv>(DecodeField(kTlv, in, pos)));
  return list;
}

}  // namespace zel
