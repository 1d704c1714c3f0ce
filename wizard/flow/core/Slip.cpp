#include "wizard/flow/core/Slip.h"

#include <algorithm>

#include "wizard/flow/core/TextCodec.h"

namespace zel {
namespace {

constexpr int kFallbackWidth = 40;

int Length(const std::string& utf8) { return static_cast<int>(Utf8ToUtf32(utf8).size()); }
std::string Spaces(int n) { return n > 0 ? std::string(static_cast<std::size_t>(n), ' ') : std::string(); }

}  // namespace

TSlip::TSlip(int width) { SetWidth(width); }

void TSlip::SetWidth(int width) { FWidth = width < 1 ? kFallbackWidth : width; }

void TSlip::AddStr(const std::string& text, bool centered) {
  if (centered) {
    FLines.push_back(Spaces((FWidth - Length(text)) / 2) + text);
    return;
  }
  const std::u32string chars = Utf8ToUtf32(text);
  for (std::size_t i = 0; i < chars.size(); i += static_cast<std::size_t>(FWidth))
    FLines.push_back(Utf32ToUtf8(chars.substr(i, static_cast<std::size_t>(FWidth))));
}

void TSlip::AddPair(const std::string& label, const std::string& value) {
  if (!FRightAligned) {
    AddPair2(label, value);
    return;
  }
  const int gap = std::max(1, FWidth - Length(label) - Length(value));
  AddStr(label + Spaces(gap) + value);
}

void TSlip::AddPair2(const std::string& label, const std::string& value) {
  FLines.push_back(label + Spaces(FWidth2 - Length(label)) + ": " + value);
}

}  // namespace zel
