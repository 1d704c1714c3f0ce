// Fiscal storage tags: one record from the Tag* properties, structured tags
// built with FNBeginSTLVTag / FNAddTag, and sending them.
//
// TagType: 0 byte, 1 16-bit, 2 32-bit, 3 VLN, 4 and 11 FVLN, 5 bit field,
// 6 Unix time, 7 string, 8 structure (STLV), 9 byte array.
#include <cmath>

#include "driver/DateTimeConv.h"
#include "driver/HexText.h"
#include "driver/Zelvox.h"
#include "driver/ZelvoxInternal.h"
#include "driver/catalogue/Cp1251.h"

namespace zel {

namespace {

Bytes LittleEndian(std::uint64_t v, std::size_t size) {
  Bytes out;
  for (std::size_t i = 0; i < size; ++i) out.push_back(i < 8 ? static_cast<std::uint8_t>(v >> (8 * i)) : 0);
  return out;
}

std::size_t MinimalSize(std::uint64_t v) {
  std::size_t n = 1;
  while (n < 8 && (v >> (8 * n)) != 0) ++n;
  return n;
}

// v in `length` bytes (0 = as few as hold it); false when it does not fit.
bool Sized(std::uint64_t v, std::int64_t length, Bytes& out) {
  const std::size_t need = MinimalSize(v);
  const std::size_t size = length > 0 ? static_cast<std::size_t>(length) : need;
  if (size < need || size > 64) return false;
  out = LittleEndian(v, size);
  return true;
}

bool ParseUnsigned(const std::string& text, std::uint64_t& v) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  try {
    v = std::stoull(text);
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

}  // namespace

// Record of the current tag; raises -6 for a value its type cannot take.
static Bytes EncodeCurrentTag(const TPropertyStore& p) {
  const std::int64_t number = p.GetInt(TPropId::TagNumber);
  const std::int64_t type = p.GetInt(TPropId::TagType);
  const std::int64_t length = p.GetInt(TPropId::TagValueLength);
  const std::int64_t intValue = p.GetInt(TPropId::TagValueInt);
  const std::string& bin = p.GetText(TPropId::TagValueBin);
  if (number < 0 || number > 0xFFFF) RaiseCode(kBadValue, "TagNumber");
  Bytes value;
  auto fixed = [&](std::size_t size) {
    if (intValue < 0 || (size < 8 && static_cast<std::uint64_t>(intValue) >> (8 * size) != 0))
      RaiseCode(kBadValue, "TagValueInt");
    value = LittleEndian(static_cast<std::uint64_t>(intValue), size);
  };
  switch (type) {
    case 0: fixed(1); break;
    case 1: fixed(2); break;
    case 2: fixed(4); break;
    case 3: {  // VLN: the decimal text, or the binary value when that was set later
      std::uint64_t v = 0;
      if (p.Stamp(TPropId::TagValueBin) > p.Stamp(TPropId::TagValueVLN)) {
        for (std::size_t i = 0; i < bin.size() && i < 8; ++i) v |= std::uint64_t{static_cast<unsigned char>(bin[i])} << (8 * i);
      } else if (!ParseUnsigned(p.GetText(TPropId::TagValueVLN), v)) {
        RaiseCode(kBadValue, "TagValueVLN");
      }
      if (!Sized(v, length, value)) RaiseCode(kBadValue, "TagValueLength");
      break;
    }
    case 4:
    case 11: {  // FVLN: decimal point position, then the mantissa
      const double d = p.GetReal(TPropId::TagValueFVLND);
      if (!(d >= 0) || d > 1e15) RaiseCode(kBadValue, "TagValueFVLND");
      int point = 0;
      while (point < 8 && std::fabs(d * std::pow(10.0, point) - std::round(d * std::pow(10.0, point))) > 1e-6) ++point;
      const auto mantissa = static_cast<std::uint64_t>(std::llround(d * std::pow(10.0, point)));
      Bytes digits;
      if (!Sized(mantissa, length > 0 ? length - 1 : 0, digits)) RaiseCode(kBadValue, "TagValueLength");
      value.push_back(static_cast<std::uint8_t>(point));
      value.insert(value.end(), digits.begin(), digits.end());
      break;
    }
    case 5: {  // bit field
      if (p.Stamp(TPropId::TagValueBin) > p.Stamp(TPropId::TagValueInt)) {
        value.assign(bin.begin(), bin.end());
        if (length > 0) value.resize(static_cast<std::size_t>(length), 0);
      } else if (intValue < 0 || !Sized(static_cast<std::uint64_t>(intValue), length, value)) {
        RaiseCode(kBadValue, "TagValueInt");
      }
      break;
    }
    case 6: {
      const std::int64_t unix = UnixTimeOf(p.GetReal(TPropId::TagValueDateTime));
      if (unix < 0 || unix > 0xFFFFFFFFLL) RaiseCode(kBadValue, "TagValueDateTime");
      value = LittleEndian(static_cast<std::uint64_t>(unix), 4);
      break;
    }
    case 7: {
      const std::string text = Utf8ToCp1251(p.GetText(TPropId::TagValueStr));
      value.assign(text.begin(), text.end());
      break;
    }
    case 9: value.assign(bin.begin(), bin.end()); break;
    default: RaiseCode(kBadValue, "TagType");
  }
  try {
    return EncodeTlv({static_cast<std::uint16_t>(number), value});
  } catch (const ECodecError& e) {
    RaiseCode(kBadValue, e.what());
  }
}

int TZelvox::SendTlv(const char* method, const Bytes& tlv) { return Run(method, {{"TLVData", tlv}}); }

int TZelvox::DoFNAddTag() {
  const Bytes record = EncodeCurrentTag(FProps);
  if (!FTags.Add(static_cast<int>(FProps.GetInt(TPropId::TagID)), record)) RaiseCode(kBadValue, "TagID");
  return 0;
}

int TZelvox::DoFNBeginSTLVTag() {
  const std::int64_t number = FProps.GetInt(TPropId::TagNumber);
  if (number < 0 || number > 0xFFFF) RaiseCode(kBadValue, "TagNumber");
  FProps.SetInt(TPropId::TagID,
                FTags.Begin(static_cast<std::uint16_t>(number), static_cast<int>(FProps.GetInt(TPropId::TagID))));
  return 0;
}

int TZelvox::DoFNSendTag() { return SendTlv("FNSendTLV", EncodeCurrentTag(FProps)); }
int TZelvox::DoFNSendTagOperation() { return SendTlv("FNSendTLVOperation", EncodeCurrentTag(FProps)); }

int TZelvox::DoFNSendSTLVTag() {
  Bytes tlv;
  if (!FTags.Take(static_cast<std::uint16_t>(FProps.GetInt(TPropId::TagNumber)), tlv)) RaiseCode(kBadValue, "TagNumber");
  return SendTlv("FNSendTLV", tlv);
}

int TZelvox::DoFNSendSTLVTagOperation() {
  Bytes tlv;
  if (!FTags.Take(static_cast<std::uint16_t>(FProps.GetInt(TPropId::TagNumber)), tlv)) RaiseCode(kBadValue, "TagNumber");
  return SendTlv("FNSendTLVOperation", tlv);
}

namespace {

Bytes TextTag(std::uint16_t tag, const std::string& utf8) {
  const std::string text = Utf8ToCp1251(utf8);
  try {
    return EncodeTlv({tag, Bytes(text.begin(), text.end())});
  } catch (const ECodecError& e) {
    RaiseCode(kBadValue, e.what());
  }
}

}  // namespace

// Requisites of the open document with tags of their own: the buyer's e-mail
// or phone (1008), the sender's e-mail (1117), and an additional user
// requisite (1084 holding its name 1085 and value 1086).
int TZelvox::DoFNSendCustomerEmail() {
  return SendTlv("FNSendTLV", TextTag(1008, FProps.GetText(TPropId::CustomerEmail)));
}

int TZelvox::DoFNSendSenderEmail() {
  return SendTlv("FNSendTLV", TextTag(1117, FProps.GetText(TPropId::EmailAddress)));
}

int TZelvox::DoFNSendUserAttribute() {
  Bytes inner = TextTag(1085, FProps.GetText(TPropId::UserAttributeName));
  const Bytes value = TextTag(1086, FProps.GetText(TPropId::UserAttributeValue));
  inner.insert(inner.end(), value.begin(), value.end());
  Bytes tlv;
  try {
    tlv = EncodeTlv({1084, inner});
  } catch (const ECodecError& e) {
    RaiseCode(kBadValue, e.what());
  }
  return SendTlv("FNSendTLV", tlv);
}

// The TLV bytes of the current tag (or, for type 8, of the structure built
// under TagNumber) as hex text without blanks; nothing is sent.
int TZelvox::DoGetTagAsTLV() {
  Bytes tlv;
  if (FProps.GetInt(TPropId::TagType) == 8) {
    if (!FTags.Take(static_cast<std::uint16_t>(FProps.GetInt(TPropId::TagNumber)), tlv)) RaiseCode(kBadValue, "TagNumber");
  } else {
    tlv = EncodeCurrentTag(FProps);
  }
  std::string hex = ToHexText(tlv);
  std::erase(hex, ' ');
  FProps.SetText(TPropId::TLVDataHex, hex);
  return 0;
}

}  // namespace zel
