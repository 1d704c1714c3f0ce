#pragma once
// Text on the wire is Windows-1251: the register prints and stores Cyrillic
// as one byte per character. Programs hold UTF-8; these convert at the edge.
// A character 1251 cannot hold becomes '?', and so does a malformed UTF-8 byte;
// the one unassigned 1251 byte (0x98) reads back as '?'.
#include <string>

namespace zel {

std::string Utf8ToCp1251(const std::string& utf8);
std::string Cp1251ToUtf8(const std::string& cp1251);

}  // namespace zel
