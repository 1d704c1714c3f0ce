#pragma once
// Text encodings of the files exchanged with a retail chain's systems: they are
// written in Windows-1251 and read in UTF-8, UTF-16 (by byte-order mark) or Windows-1251.
// Inside the program every text is UTF-8.
#include <stdexcept>
#include <string>
#include <vector>

namespace zel {

class ETextEncoding : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Strict UTF-8 to code points and back; throws ETextEncoding on a malformed sequence.
std::u32string Utf8ToUtf32(const std::string& utf8);
std::string Utf32ToUtf8(const std::u32string& text);

// Windows-1251 bytes of a UTF-8 text. Characters the code page cannot hold are refused:
// ETextEncoding names each of them once instead of silently writing "?".
std::string Utf8ToCp1251(const std::string& utf8);
// UTF-8 text of Windows-1251 bytes (0x98, unassigned, is refused).
std::string Cp1251ToUtf8(const std::string& bytes);

// UTF-8 text of a file's bytes: a byte-order mark selects UTF-8, UTF-16 LE or UTF-16 BE,
// anything else is Windows-1251.
std::string DecodeTextFile(const std::string& bytes);

// Lines of a text; CR, LF and CR LF each end a line, a final line needs no ending.
std::vector<std::string> SplitLines(const std::string& text);

// Upper case of Latin and Cyrillic letters, other characters unchanged.
std::u32string UpperCase(std::u32string text);

}  // namespace zel
