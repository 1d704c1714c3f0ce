#include "emulator/model/CommandHandler.h"

#include "driver/catalogue/Commands.h"
#include "emulator/model/DeviceResult.h"
#include "emulator/model/TableDefs.h"

namespace zel::emu {
namespace {

Bytes ErrorAnswer(std::uint16_t code, std::uint8_t error) {
  Bytes out = zel::CodeBytes(code);
  out.push_back(error);
  return out;
}

// The first `chars` characters of UTF-8 text (the wire carries one byte per character).
std::string Clip(const std::string& text, std::size_t chars) {
  std::size_t i = 0;
  for (std::size_t c = 0; i < text.size() && c < chars; ++c) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
  }
  return text.substr(0, i);
}

// An answer field's value in the kind its codec takes. Numbers that do not
// fit a narrow field (a long serial in the status record) are sent as 0.
zel::TFieldValue AnswerValue(const zel::TFieldDef& f, const TFieldValues& out) {
  const zel::TFieldValue* v = out.Find(f.Name);
  if (!v) return zel::ZeroValue(f.Codec);
  switch (f.Codec) {
    case zel::TCodec::UInt:
    case zel::TCodec::Amount: {
      const std::int64_t x = out.Int(f.Name);
      const std::size_t size = f.Codec == zel::TCodec::Amount ? 5 : f.Size;
      const bool fits = x >= 0 && (size >= 8 || (static_cast<std::uint64_t>(x) >> (8 * size)) == 0);
      return fits ? x : 0;
    }
    case zel::TCodec::Variant:
      if (std::holds_alternative<bool>(*v)) return *v;
      return out.Int(f.Name);
    case zel::TCodec::Milli:
      if (std::holds_alternative<double>(*v)) return *v;
      return static_cast<double>(out.Int(f.Name));
    case zel::TCodec::Text: return Clip(out.Str(f.Name), f.Size);
    case zel::TCodec::TextToEnd:
    case zel::TCodec::Version: return out.Str(f.Name);
    case zel::TCodec::BytesToEnd: return out.Bin(f.Name);
    case zel::TCodec::Date:
      return std::holds_alternative<zel::TDate>(*v) ? *v : zel::ZeroValue(f.Codec);
    case zel::TCodec::Time:
      return std::holds_alternative<zel::TTime>(*v) ? *v : zel::ZeroValue(f.Codec);
    case zel::TCodec::Tlv:
      return std::holds_alternative<zel::TTlv>(*v) ? *v : zel::ZeroValue(f.Codec);
  }
  return zel::ZeroValue(f.Codec);
}

// The wire form of a table cell: FieldSize bytes, a little-endian integer or zero-padded text.
zel::TFieldDef CellCodec(const TTableField& f) {
  return {"FieldValue", f.text ? zel::TCodec::Text : zel::TCodec::UInt, static_cast<std::uint8_t>(f.size)};
}

// WriteTable carries the value as raw bytes; the model takes it typed.
bool TypeCellValue(TFieldValues& in) {
  const TTableDef* t = FindTable(static_cast<int>(in.Int("TableNumber")));
  const TTableField* f = FindField(static_cast<int>(in.Int("TableNumber")), static_cast<int>(in.Int("FieldNumber")));
  const std::int64_t row = in.Int("RowNumber");
  if (!t || !f || row < 1 || row > t->rows) return true;  // the model answers 93
  Bytes raw = in.Bin("FieldValue");
  if (f->text) {
    if (raw.size() > static_cast<std::size_t>(f->size)) return false;
    raw.resize(static_cast<std::size_t>(f->size), 0);
  } else if (raw.size() != static_cast<std::size_t>(f->size)) {
    return false;
  }
  std::size_t pos = 0;
  const zel::TFieldValue v = zel::DecodeField(CellCodec(*f), raw, pos);
  if (f->text)
    in.Set("ValueOfFieldString", std::get<std::string>(v));
  else
    in.Set("ValueOfFieldInteger", std::get<std::int64_t>(v));
  return true;
}

// ReadTable answers the value in its wire form.
void UntypeCellValue(const TFieldValues& in, TFieldValues& out) {
  const TTableField* f = FindField(static_cast<int>(in.Int("TableNumber")), static_cast<int>(in.Int("FieldNumber")));
  if (!f) return;
  Bytes raw;
  zel::EncodeField(CellCodec(*f),
                   f->text ? zel::TFieldValue{Clip(out.Str("ValueOfFieldString"), f->size)}
                           : zel::TFieldValue{out.Int("ValueOfFieldInteger")},
                   raw);
  out.Set("FieldValue", raw);
}

}  // namespace

Bytes TCommandHandler::Handle(const Bytes& command) {
  if (command.empty()) return {};
  std::size_t pos = 0;
  const int code = zel::ReadCode(command, pos);
  if (code < 0) return ErrorAnswer(0xFF, kBadParameter);  // 0xFF without its second byte
  if (code == zel::kServiceCommand) return HandleService(command);
  const zel::TCommandDef* cmd = zel::FindCommandByCode(static_cast<std::uint16_t>(code));
  if (!cmd || !TDeviceModel::Knows(cmd->Method)) return ErrorAnswer(static_cast<std::uint16_t>(code), kNotSupported);
  try {
    TFieldValues in(zel::DecodeRequest(*cmd, command));
    const std::string method = cmd->Method;
    if (method == "WriteTable" && !TypeCellValue(in)) return ErrorAnswer(cmd->Code, kBadParameter);
    TFieldValues out;
    const std::uint8_t rc = model_.Execute(method, in, out);
    if (rc == kOk && method == "ReadTable") UntypeCellValue(in, out);
    zel::TFieldMap answer;
    if (rc == kOk)
      for (const auto& f : cmd->Answer) answer[f.Name] = AnswerValue(f, out);
    return zel::EncodeAnswer(*cmd, rc, answer);
  } catch (const zel::ECodecError&) {
    // Too short for its fields, or a value the answer cannot carry.
    return ErrorAnswer(cmd->Code, kBadParameter);
  }
}

Bytes TCommandHandler::HandleService(const Bytes& command) {
  // FE, sub-code, 4 parameter bytes; the answer is FE, the result byte and a payload.
  if (command.size() != 6) return ErrorAnswer(zel::kServiceCommand, kBadParameter);
  TFieldValues in, out;
  in.Set("SubCode", int{command[1]});
  in.Set("Parameter", static_cast<std::int64_t>(command[2] | command[3] << 8 | command[4] << 16 |
                                                static_cast<std::uint32_t>(command[5]) << 24));
  const std::uint8_t rc = model_.Execute("ServiceCommand", in, out);
  Bytes answer = ErrorAnswer(zel::kServiceCommand, rc);
  if (rc == kOk) {
    const Bytes payload = out.Bin("Payload");
    answer.insert(answer.end(), payload.begin(), payload.end());
  }
  return answer;
}

}  // namespace zel::emu
