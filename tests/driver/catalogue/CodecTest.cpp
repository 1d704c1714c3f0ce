#include <gtest/gtest.h>

#include "driver/catalogue/Cp1251.h"
#include "driver/catalogue/FieldCodec.h"

namespace zel {
namespace {

struct RoundTrip {
  TFieldDef Field;
  TFieldValue Value;
  Bytes Wire;
};

TEST(FieldCodec, EncodesAndDecodesEveryCodec) {
  const std::vector<RoundTrip> cases = {
      {{"a", TCodec::UInt, 1}, std::int64_t{0xAB}, {0xAB}},
      {{"a", TCodec::UInt, 2}, std::int64_t{0x1234}, {0x34, 0x12}},
      {{"a", TCodec::UInt, 4}, std::int64_t{0x01020304}, {4, 3, 2, 1}},
      {{"a", TCodec::UInt, 6}, std::int64_t{0x060504030201}, {1, 2, 3, 4, 5, 6}},
      {{"a", TCodec::UInt, 8}, std::int64_t{-1}, Bytes(8, 0xFF)},
      {{"a", TCodec::Amount, 0}, std::int64_t{123456789012}, {0x14, 0x1A, 0x99, 0xBE, 0x1C}},
      {{"a", TCodec::Text, 6}, std::string("Ёж"), {0xA8, 0xE6, 0, 0, 0, 0}},
      {{"a", TCodec::TextToEnd, 0}, std::string("Чек №1"), {0xD7, 0xE5, 0xEA, 0x20, 0xB9, 0x31}},
      {{"a", TCodec::BytesToEnd, 0}, Bytes{0, 1, 0xFF}, {0, 1, 0xFF}},
      {{"a", TCodec::Date, 0}, TDate{31, 12, 2024}, {31, 12, 24}},
      {{"a", TCodec::Time, 0}, TTime{23, 59, 58}, {23, 59, 58}},
      {{"a", TCodec::Version, 0}, std::string("3.12"), {3, 12}},
      {{"a", TCodec::Milli, 2}, 12.345, {0x39, 0x30}},
      {{"a", TCodec::Variant, 0}, true, {1, 1, 0, 0, 0}},
      {{"a", TCodec::Variant, 0}, std::int64_t{-2}, {0, 0xFE, 0xFF, 0xFF, 0xFF}},
      {{"a", TCodec::Tlv, 0}, TTlv{1008, {'a', 'b'}}, {0xF0, 0x03, 2, 0, 'a', 'b'}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(CodecName(c.Field));
    Bytes wire;
    EncodeField(c.Field, c.Value, wire);
    EXPECT_EQ(wire, c.Wire);
    std::size_t pos = 0;
    EXPECT_EQ(DecodeField(c.Field, wire, pos), c.Value);
    EXPECT_EQ(pos, wire.size());
  }
}

TEST(FieldCodec, RefusesValuesThatDoNotFit) {
  const std::vector<std::pair<TFieldDef, TFieldValue>> bad = {
      {{"a", TCodec::UInt, 1}, std::int64_t{256}},
      {{"a", TCodec::UInt, 2}, std::int64_t{-1}},
      {{"a", TCodec::Amount, 0}, std::int64_t{1LL << 40}},
      {{"a", TCodec::Text, 2}, std::string("абв")},
      {{"a", TCodec::Date, 0}, TDate{32, 1, 2020}},
      {{"a", TCodec::Date, 0}, TDate{1, 1, 1999}},
      {{"a", TCodec::Time, 0}, TTime{24, 0, 0}},
      {{"a", TCodec::Version, 0}, std::string("x.1")},
      {{"a", TCodec::UInt, 1}, std::string("1")},
  };
  for (const auto& [field, value] : bad) {
    SCOPED_TRACE(CodecName(field));
    Bytes out;
    EXPECT_THROW(EncodeField(field, value, out), ECodecError);
  }
}

TEST(FieldCodec, ShortInputThrowsInsteadOfReadingPastTheEnd) {
  const std::vector<TFieldDef> fields = {{"a", TCodec::UInt, 4}, {"b", TCodec::Date, 0}};
  EXPECT_THROW(DecodeFields(fields, Bytes{1, 2, 3, 4, 5}, 0), ECodecError);
  EXPECT_THROW(DecodeTlvList(Bytes{1, 0, 5, 0, 'x'}), ECodecError);
  const auto list = DecodeTlvList(Bytes{1, 0, 1, 0, 'x', 2, 0, 0, 0});
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].Tag, 2);
  EXPECT_TRUE(list[1].Value.empty());
}

TEST(FieldCodec, TextStopsAtTheFirstZero) {
  std::size_t pos = 0;
  EXPECT_EQ(DecodeField({"a", TCodec::Text, 5}, Bytes{'a', 0, 'b', 0, 0}, pos), TFieldValue(std::string("a")));
  EXPECT_EQ(pos, 5u);
}

TEST(Cp1251, ConvertsCyrillicBothWaysAndMarksWhatItCannotHold) {
  const std::string all = "АБВ абв ЁёЇї№€ test";
  EXPECT_EQ(Cp1251ToUtf8(Utf8ToCp1251(all)), all);
  EXPECT_EQ(Utf8ToCp1251("Я"), "\xDF");
  EXPECT_EQ(Utf8ToCp1251("日"), "?");        // not in the code page
  EXPECT_EQ(Utf8ToCp1251("a\xC3"), "a?");    // cut sequence
  EXPECT_EQ(Utf8ToCp1251("\xFF"), "?");      // not UTF-8 at all
  EXPECT_EQ(Cp1251ToUtf8(std::string("\x98\0x", 3)), std::string("?\0x", 3));
}

}  // namespace
}  // namespace zel
