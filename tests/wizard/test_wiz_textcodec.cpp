#include <gtest/gtest.h>

#include <iconv.h>

#include "wizard/flow/core/TextCodec.h"

namespace zel {
namespace {

// glibc's own converter, as an independent reference; nullopt when it refuses the input.
std::optional<std::string> Iconv(const char* from, const char* to, const std::string& in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string src = in, out(in.size() * 4 + 16, '\0');
  char* ip = src.data();
  char* op = out.data();
  std::size_t il = src.size(), ol = out.size();
  const std::size_t r = iconv(cd, &ip, &il, &op, &ol);
  iconv_close(cd);
  if (r == static_cast<std::size_t>(-1)) return std::nullopt;
  out.resize(out.size() - ol);
  return out;
}

TEST(Cp1251, AgreesWithGlibcOnEveryByte) {
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const auto expected = Iconv("CP1251", "UTF-8", byte);
    if (!expected) {
      EXPECT_THROW(Cp1251ToUtf8(byte), ETextEncoding) << b;
      continue;
    }
    EXPECT_EQ(Cp1251ToUtf8(byte), *expected) << b;
    EXPECT_EQ(Utf8ToCp1251(*expected), byte) << b;
  }
}

TEST(Cp1251, RefusesCharactersItCannotHoldNamingEachOnce) {
  try {
    Utf8ToCp1251("Кассир ✓ € ✓ 😀");
    FAIL() << "no refusal";
  } catch (const ETextEncoding& e) {
    EXPECT_EQ(std::string(e.what()), "Символы не поддерживаются кодировкой Windows-1251: \"✓\", \"😀\"");
  }
}

TEST(TextFile, RefusesMalformedText) {
  const std::string cases[] = {
      "\xEF\xBB\xBF\xC3",             // UTF-8 cut short
      "\xEF\xBB\xBF\xC0\xAF",         // overlong
      "\xEF\xBB\xBF\xED\xA0\x80",     // surrogate in UTF-8
      std::string("\xFF\xFE\x41", 3),  // odd UTF-16 length
      std::string("\xFF\xFE\x00\xDC", 4),  // lone low surrogate
      std::string("\xFE\xFF\xD8\x00\x00\x41", 6),  // high surrogate without its pair
      "\x98",                         // unassigned in Windows-1251
  };
  for (const auto& c : cases) EXPECT_THROW(DecodeTextFile(c), ETextEncoding) << c.size();
}

TEST(TextFile, SplitsOnEveryLineEnding) {
  const struct {
    const char* Text;
    std::vector<std::string> Lines;
  } cases[] = {
      {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"a\n\nb\r\n", {"a", "", "b"}},
      {"a\r\rb", {"a", "", "b"}},
      {"\r\n", {""}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitLines(c.Text), c.Lines) << c.Text;
}

}  // namespace
}  // namespace zel
