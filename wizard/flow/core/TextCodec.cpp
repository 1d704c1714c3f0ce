#include "wizard/flow/core/TextCodec.h"

#include <algorithm>

#include "common/Translate.h"

namespace zel {

namespace {
// Code points of the bytes 0x80..0xBF; 0 marks the unassigned 0x98. 0xC0..0xFF are U+0410..U+044F.
constexpr char32_t kCp1251High[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C,
    0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0,      0x2122, 0x0459, 0x203A,
    0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9,
    0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

[[noreturn]] void BadText() { throw ETextEncoding(Tr("Некорректная кодировка текста файла")); }

// Byte of a code point in Windows-1251, -1 when it has none.
int Cp1251Byte(char32_t c) {
  if (c < 0x80) return static_cast<int>(c);
  if (c >= 0x0410 && c <= 0x044F) return static_cast<int>(c - 0x0410 + 0xC0);
  for (int i = 0; i < 64; ++i)
    if (kCp1251High[i] == c) return 0x80 + i;
  return -1;
}

std::string DecodeUtf16(const std::string& bytes, std::size_t start, bool bigEndian) {
  if ((bytes.size() - start) % 2) BadText();
  std::u32string out;
  auto unit = [&](std::size_t i) {
    const unsigned a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<char32_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
  };
  for (std::size_t i = start; i < bytes.size(); i += 2) {
    const char32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (i + 3 >= bytes.size()) BadText();
      const char32_t low = unit(i + 2);
      if (low < 0xDC00 || low > 0xDFFF) BadText();
      out.push_back(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
      i += 2;
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
      BadText();
    } else {
      out.push_back(u);
    }
  }
  return Utf32ToUtf8(out);
}
}  // namespace

std::u32string Utf8ToUtf32(const std::string& utf8) {
  std::u32string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    int extra = 0;
    char32_t cp = 0;
    if (c < 0x80) { cp = c; }
    else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; extra = 1; }
    else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; extra = 2; }
    else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; extra = 3; }
    else BadText();
    if (extra && i + static_cast<std::size_t>(extra) >= utf8.size()) BadText();
    for (int k = 1; k <= extra; ++k) {
      const unsigned char n = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
      if ((n & 0xC0) != 0x80) BadText();
      cp = cp << 6 | (n & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) BadText();
    out.push_back(cp);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

std::string Utf32ToUtf8(const std::u32string& text) {
  std::string out;
  for (char32_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string Utf8ToCp1251(const std::string& utf8) {
  std::string out;
  std::u32string refused;
  for (char32_t c : Utf8ToUtf32(utf8)) {
    const int b = Cp1251Byte(c);
    if (b >= 0)
      out += static_cast<char>(b);
    else if (refused.find(c) == std::u32string::npos)
      refused += c;
  }
  if (!refused.empty()) {
    std::string names;
    for (char32_t c : refused) {
      if (!names.empty()) names += ", ";
      names += "\"" + Utf32ToUtf8(std::u32string(1, c)) + "\"";
    }
    throw ETextEncoding(Tr("Символы не поддерживаются кодировкой Windows-1251: ") + names);
  }
  return out;
}

std::string Cp1251ToUtf8(const std::string& bytes) {
  std::u32string out;
  for (char ch : bytes) {
    const unsigned char b = static_cast<unsigned char>(ch);
    if (b < 0x80) out += static_cast<char32_t>(b);
    else if (b >= 0xC0) out += static_cast<char32_t>(0x0410 + (b - 0xC0));
    else if (kCp1251High[b - 0x80]) out += kCp1251High[b - 0x80];
    else BadText();
  }
  return Utf32ToUtf8(out);
}

std::string DecodeTextFile(const std::string& bytes) {
  auto starts = [&](const char* bom, std::size_t n) { return bytes.size() >= n && bytes.compare(0, n, bom, n) == 0; };
  if (starts("\xEF\xBB\xBF", 3)) {
    std::string text = bytes.substr(3);
    Utf8ToUtf32(text);  // validates
    return text;
  }
  if (starts("\xFF\xFE", 2)) return DecodeUtf16(bytes, 2, false);
  if (starts("\xFE\xFF", 2)) return DecodeUtf16(bytes, 2, true);
  return Cp1251ToUtf8(bytes);
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::u32string UpperCase(std::u32string text) {
  for (char32_t& c : text) {
    if (c >= U'a' && c <= U'z') c -= 0x20;
    else if (c >= 0x0430 && c <= 0x044F) c -= 0x20;
    else if (c >= 0x0450 && c <= 0x045F) c -= 0x50;
  }
  return text;
}

}  // namespace zel
