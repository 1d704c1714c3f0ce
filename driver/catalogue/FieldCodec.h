#pragma once
// Field codecs of the device command set. Every command and answer is a code
// followed by fields laid out back to back; the device must read and write
// each field exactly as its codec says:
//   UInt(n)      unsigned little-endian integer of n bytes (1..8)
//   Amount       money in kopecks, 5-byte unsigned little-endian
//   Text(n)      n bytes of Windows-1251 text, padded with zero bytes
//   TextToEnd    Windows-1251 text up to the end of the message (trailing zeros dropped)
//   BytesToEnd   raw bytes up to the end of the message
//   Date         3 bytes: day, month, year - 2000
//   Time         3 bytes: hour, minute, second
//   Version      2 bytes: major, minor; read as the text "major.minor"
//   Milli(n)     unsigned little-endian integer of n bytes in thousandths (volts)
//   Variant      1 type byte (0 integer, 1 boolean) and a 4-byte signed LE value
//   Tlv          one tag record: 2-byte LE tag, 2-byte LE length, value
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "common/Bytes.h"

namespace zel {

enum class TCodec : std::uint8_t { UInt, Amount, Text, TextToEnd, BytesToEnd, Date, Time, Version, Milli, Variant, Tlv };

struct TDate {
  int Day = 1, Month = 1, Year = 2000;
  bool operator==(const TDate&) const = default;
};
struct TTime {
  int Hour = 0, Minute = 0, Second = 0;
  bool operator==(const TTime&) const = default;
};
struct TTlv {
  std::uint16_t Tag = 0;
  Bytes Value;
  bool operator==(const TTlv&) const = default;
};

// A decoded field: integers and amounts as int64, texts as UTF-8,
// Milli as double, Variant as int64 or bool.
using TFieldValue = std::variant<std::int64_t, bool, double, std::string, Bytes, TDate, TTime, TTlv>;
using TFieldMap = std::map<std::string, TFieldValue>;

struct TFieldDef {
  const char* Name;    // driver property (or a field name of the command)
  TCodec Codec;
  std::uint8_t Size;   // bytes for UInt, Text and Milli; ignored for the others
};

// A value that does not fit its codec, or a message too short for its fields.
class ECodecError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Fixed size of a field on the wire; 0 for the to-end codecs and Tlv.
std::size_t FieldWireSize(const TFieldDef& field);
// Appends one field; throws ECodecError when the value does not fit.
void EncodeField(const TFieldDef& field, const TFieldValue& value, Bytes& out);
// Reads one field at pos and advances pos; throws ECodecError on short data.
TFieldValue DecodeField(const TFieldDef& field, const Bytes& in, std::size_t& pos);

// Whole field lists (the value of a missing field is its codec's zero).
void EncodeFields(const std::vector<TFieldDef>& fields, const TFieldMap& values, Bytes& out);
TFieldMap DecodeFields(const std::vector<TFieldDef>& fields, const Bytes& in, std::size_t pos);

// A zero value of the codec's kind (0, "", empty bytes, 01.01.2000, 00:00:00).
TFieldValue ZeroValue(TCodec codec);

// Readable name of a codec with its size, as the command reference shows it ("UInt(4)").
std::string CodecName(const TFieldDef& field);

// Every TLV record of a buffer; throws ECodecError on a truncated record.
std::vector<TTlv> DecodeTlvList(const Bytes& in);
Bytes EncodeTlv(const TTlv& tlv);

}  // namespace zel
