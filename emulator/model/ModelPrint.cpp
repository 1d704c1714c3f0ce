// Text printing on the receipt tape.
#include "emulator/model/DeviceModel.h"
#include "emulator/model/DeviceResult.h"

namespace zel::emu {
namespace {

struct TFont {
  int charWidth, charHeight;
};
// Fonts 1..7 on a 576-dot head.
constexpr TFont kFonts[] = {{12, 24}, {16, 32}, {9, 17}, {12, 24}, {12, 24}, {8, 12}, {24, 48}};
constexpr int kPrintWidth = 576;
constexpr int kFontCount = static_cast<int>(sizeof kFonts / sizeof kFonts[0]);

// The part of UTF-8 text that fits `columns` characters.
std::string Fit(const std::string& text, int columns) {
  std::size_t i = 0;
  for (int c = 0; i < text.size() && c < columns; ++c) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
  }
  return text.substr(0, i);
}

}  // namespace

std::uint8_t TDeviceModel::PrintString(const TFieldValues& in, TFieldValues& out) {
  TFieldValues withFont = in;
  withFont.Set("FontType", 1);
  return PrintStringWithFont(withFont, out);
}

std::uint8_t TDeviceModel::PrintStringWithFont(const TFieldValues& in, TFieldValues&) {
  if (OperatorOf(in.Int("Password", -1)) == 0) return kWrongPassword;
  const std::int64_t font = in.Int("FontType", 1);
  if (font < 1 || font > kFontCount) return kBadParameter;
  const TFont& f = kFonts[font - 1];
  std::string text = in.Str("StringForPrinting");
  if (auto nl = text.find_first_of("\r\n"); nl != std::string::npos) text.resize(nl);
  PrintLine(Fit(text, kPrintWidth / f.charWidth), static_cast<int>(font));
  return kOk;
}

std::uint8_t TDeviceModel::FeedDocument(const TFieldValues& in, TFieldValues&) {
  if (OperatorOf(in.Int("Password", -1)) == 0) return kWrongPassword;
  const std::int64_t lines = in.Int("StringQuantity", 1);
  if (lines < 1 || lines > 255) return kBadParameter;
  tape_.Feed(static_cast<int>(lines));
  return kOk;
}

std::uint8_t TDeviceModel::CutCheck(const TFieldValues& in, TFieldValues&) {
  if (OperatorOf(in.Int("Password", -1)) == 0) return kWrongPassword;
  if (!s_.identity.cutter) return kNotSupported;
  tape_.Cut();
  return kOk;
}

std::uint8_t TDeviceModel::GetFontMetrics(const TFieldValues& in, TFieldValues& out) {
  if (OperatorOf(in.Int("Password", -1)) == 0) return kWrongPassword;
  const std::int64_t font = in.Int("FontType", 1);
  if (font < 1 || font > kFontCount) return kBadParameter;
  out.Set("PrintWidth", kPrintWidth);
  out.Set("CharWidth", kFonts[font - 1].charWidth);
  out.Set("CharHeight", kFonts[font - 1].charHeight);
  out.Set("FontCount", kFontCount);
  return kOk;
}

}  // namespace zel::emu
