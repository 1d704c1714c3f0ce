// Hex text, little-endian integers, rounding, amounts and the TCP port code.
#include <gtest/gtest.h>

#include <stdexcept>

#include "testbench/core/util/Amount.h"
#include "testbench/core/util/BinUtils.h"
#include "testbench/core/util/TcpPortCode.h"

namespace zel {
namespace {

TEST(HexText, BytesToHexIsUpperCaseWithSingleBlanks) {
  EXPECT_EQ(BytesToHex({0x01, 0xAB, 0xFF}), "01 AB FF");
  EXPECT_EQ(BytesToHex({}), "");
  EXPECT_EQ(StrToHex(std::string("\x0a\xfe", 2)), "0A FE");
  EXPECT_EQ(StrToHex(std::string("\x0a\xfe", 2), true), "0A FE ");
  EXPECT_EQ(StrToHex(std::string("\x0a\xfe", 2), false), "0AFE");
}

TEST(HexText, HexToBytesReadsTypedText) {
  const struct {
    const char* text;
    Bytes bytes;
  } cases[] = {
      {"01 2 ff", {0x01, 0x02, 0xFF}},
      {"0102", {0x01, 0x02}},
      {"1 G2 33", {0x01}},       // stops at the first bad token, keeps what came before
      {"1G", {}},
      {"  01   02  ", {0x01, 0x02}},
      {"1\r\n2\t3", {0x01, 0x02, 0x03}},  // line breaks and tabs separate like blanks
      {"abc", {0xAB, 0x0C}},
      {"", {}},
      {"fe ED 0", {0xFE, 0xED, 0x00}},
  };
  for (const auto& c : cases) EXPECT_EQ(HexToBytes(c.text), c.bytes) << '"' << c.text << '"';
  EXPECT_EQ(HexToStr("41 42"), "AB");
}

TEST(HexText, RoundTripsEveryByte) {
  Bytes all;
  for (int i = 0; i < 256; ++i) all.push_back(static_cast<std::uint8_t>(i));
  EXPECT_EQ(HexToBytes(BytesToHex(all)), all);
}

TEST(LittleEndian, BinToIntChecksTheRange) {
  const Bytes data{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09};
  EXPECT_EQ(BinToInt(data, 1, 2), 0x0201);
  EXPECT_EQ(BinToInt(data, 2, 8), 0x0908070605040302);
  EXPECT_EQ(BinToInt(data, 9, 1), 0x09);
  EXPECT_EQ(BinToInt(Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 1, 8), -1);
  for (auto [index, count] : {std::pair{0, 1}, {10, 1}, {9, 2}, {1, 9}, {1, 0}, {-3, 2}})
    EXPECT_EQ(BinToInt(data, index, count), 0) << index << "," << count;
  EXPECT_EQ(BinToInt(std::string("\x34\x12", 2), 1, 2), 0x1234);
}

TEST(LittleEndian, IntToBinTakesLowBytes) {
  EXPECT_EQ(IntToBin(0x0102030405, 3), (Bytes{0x05, 0x04, 0x03}));
  EXPECT_EQ(IntToBin(-2, 8), (Bytes{0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_TRUE(IntToBin(1, 0).empty());
  EXPECT_TRUE(IntToBin(1, 9).empty());
  for (int count = 1; count <= 8; ++count)
    EXPECT_EQ(BinToInt(IntToBin(0x1122334455667788, count), 1, count),
              count == 8 ? 0x1122334455667788 : (0x1122334455667788 & ((1LL << (8 * count)) - 1)));
}

TEST(Bits, SetAndTest) {
  std::uint8_t b = 0;
  SetBit(b, 0);
  SetBit(b, 7);
  SetBit(b, 8);  // outside the byte: ignored
  EXPECT_EQ(b, 0x81);
  EXPECT_TRUE(TestBit(0x80000000LL, 31));
  EXPECT_FALSE(TestBit(5, 1));
  EXPECT_FALSE(TestBit(-1, 64));
  EXPECT_FALSE(TestBit(-1, -1));
}

TEST(Rounding, ExRoundHalvesAwayFromZero) {
  const struct {
    double value, step, expected;
  } cases[] = {
      {1234.567, 0.01, 1234.57}, {0.125, 0.01, 0.13},  {-0.125, 0.01, -0.13}, {0.124, 0.01, 0.12},
      {2.5, 1, 3},               {-2.5, 1, -3},        {2.4999, 1, 2},        {7, 5, 5},
      {7.5, 5, 10},              {0, 0.01, 0},         {1.005, 0.01, 1.01},   {12.3, 0, 12.3},
  };
  for (const auto& c : cases) EXPECT_NEAR(ExRound(c.value, c.step), c.expected, 1e-9) << c.value << " / " << c.step;
}

TEST(Amounts, GetSummReadsAndRounds) {
  const struct {
    const char* text;
    double expected;
  } cases[] = {
      {"1 234,567", 1234.57}, {"12.5", 12.5},   {"+3", 3},         {"-1,004", -1.0},
      {"0", 0},               {"1e2", 100},     {"10995116277", 10995116277.0},
  };
  for (const auto& c : cases) EXPECT_NEAR(GetSumm(c.text, "Сумма"), c.expected, 1e-6) << c.text;
}

TEST(Amounts, GetSummRefusesWithTheFieldName) {
  for (const char* text : {"", " ", "abc", "1.2.3", "12р", "10995116277.01", "1e20", "inf", "nan", "++1", "0x10"}) {
    try {
      GetSumm(text, "Сумма 1");
      ADD_FAILURE() << "accepted " << text;
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), "Некорректное значение в поле\n\"Сумма 1\"") << text;
    }
  }
}

TEST(Amounts, CheckIntStrLimitsTheLength) {
  EXPECT_NO_THROW(CheckIntStr(std::string(1024, '9'), "Пароль"));
  EXPECT_NO_THROW(CheckIntStr("не число", "Пароль"));  // only the length is checked
  try {
    CheckIntStr(std::string(1025, '9'), "Пароль");
    ADD_FAILURE();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Некорректное значение в поле \"Пароль\"");
  }
  // Characters, not bytes: 1024 Cyrillic letters are 2048 bytes and still fit.
  std::string cyrillic;
  for (int i = 0; i < 1024; ++i) cyrillic += "я";
  EXPECT_NO_THROW(CheckIntStr(cyrillic, "Пароль"));
}

TEST(Amounts, AmountToStrFollowsPointPosition) {
  EXPECT_EQ(AmountToStr(12.5, true), "12.50");
  EXPECT_EQ(AmountToStr(12.5, true, ','), "12,50");
  EXPECT_EQ(AmountToStr(12.5, false), "12");
  EXPECT_EQ(AmountToStr(13.99, false), "13");
  EXPECT_EQ(AmountToStr(-13.99, false), "-13");
  EXPECT_EQ(AmountToStr(-0.5, false), "0");
  EXPECT_EQ(AmountToStr(10995116277.0, true), "10995116277.00");
}

TEST(TcpPortCode, EncodesTheRepresentablePorts) {
  EXPECT_EQ(DecodeTCPPort(0), 48);
  EXPECT_EQ(EncodeTCPPort(7778), 18);
  EXPECT_EQ(DecodeTCPPort(18), 4146);
  EXPECT_EQ(DecodeTCPPort(0xFF), 0xF03F);
  for (int code = 0; code < 256; ++code)
    EXPECT_EQ(EncodeTCPPort(DecodeTCPPort(static_cast<std::uint8_t>(code))), code);
  EXPECT_TRUE(IsTCPPortEncodable(4146));
  EXPECT_FALSE(IsTCPPortEncodable(7778));
  EXPECT_FALSE(IsTCPPortEncodable(0));
}

}  // namespace
}  // namespace zel
