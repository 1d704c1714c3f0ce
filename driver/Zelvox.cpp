#include "driver/Zelvox.h"

#include <cmath>
#include <cstring>

#include "common/DriverError.h"
#include "common/Translate.h"
#include "driver/DateTimeConv.h"
#include "driver/HexText.h"
#include "driver/ProtocolTransport.h"
#include "driver/ServerTransport.h"
#include "driver/ZelvoxInternal.h"
#include "driver/catalogue/ErrorCodes.h"

namespace zel {

namespace {

const char* ModeText(const std::vector<TModeText>& table, std::int64_t mode) {
  for (const auto& m : table)
    if (m.Mode == mode) return m.Text;
  return kTextUnknownMode;
}

}  // namespace

TZelvox::TZelvox() = default;

TZelvox::~TZelvox() {
  std::lock_guard lock(FLock);
  CloseLink();
}

// ---- properties -------------------------------------------------------------

std::int64_t TZelvox::GetI(TPropId id) const {
  std::lock_guard lock(FLock);
  return FProps.GetInt(id);
}

double TZelvox::GetR(TPropId id) const {
  std::lock_guard lock(FLock);
  return FProps.GetReal(id);
}

std::string TZelvox::GetS(TPropId id) const {
  std::lock_guard lock(FLock);
  return FProps.GetText(id);
}

TPropValue TZelvox::GetV(TPropId id) const {
  std::lock_guard lock(FLock);
  return FProps.Get(id);
}

void TZelvox::PutI(TPropId id, std::int64_t v) {
  std::lock_guard lock(FLock);
  if (IsReadOnly(id)) return;
  if (id == TPropId::Connected) {
    // Connecting or disconnecting is a call of its own, with its result.
    Invoke(v ? TMethodId::Connect : TMethodId::Disconnect);
    return;
  }
  FProps.SetInt(id, v);
}

void TZelvox::PutR(TPropId id, double v) {
  std::lock_guard lock(FLock);
  if (id == TPropId::Connected) return PutI(id, v != 0);
  if (!IsReadOnly(id)) FProps.SetReal(id, v);
}

void TZelvox::PutS(TPropId id, const std::string& v) {
  std::lock_guard lock(FLock);
  if (!IsReadOnly(id)) FProps.SetText(id, v);
}

bool TZelvox::GetProperty(const std::string& name, TPropValue& value) const {
  TPropId id;
  if (!FindProperty(name, id)) return false;
  value = GetV(id);
  return true;
}

bool TZelvox::GetPropertyText(const std::string& name, std::string& text) const {
  TPropId id;
  if (!FindProperty(name, id)) return false;
  std::lock_guard lock(FLock);
  text = FProps.ToText(id);
  return true;
}

bool TZelvox::SetPropertyText(const std::string& name, const std::string& text) {
  TPropId id;
  if (!FindProperty(name, id) || IsReadOnly(id)) return false;
  std::lock_guard lock(FLock);
  if (id == TPropId::Connected) {
    TPropertyStore probe;
    if (!probe.FromText(id, text)) return false;
    PutI(id, probe.GetInt(id));
    return true;
  }
  return FProps.FromText(id, text);
}

bool TZelvox::SetProperty(const std::string& name, const TPropValue& value) {
  TPropId id;
  if (!FindProperty(name, id) || IsReadOnly(id)) return false;
  std::lock_guard lock(FLock);
  const TPropType target = PropertyDef(id).Type;
  switch (value.Kind) {
    case TPropType::Int:
    case TPropType::Bool:
    case TPropType::Variant:
      if (target == TPropType::Bytes) return false;
      if (value.Kind == TPropType::Bool && id != TPropId::Connected)
        FProps.SetBool(id, value.Int != 0);  // a Variant keeps it as a boolean
      else
        PutI(id, value.Int);
      return true;
    case TPropType::Currency:
    case TPropType::Double:
    case TPropType::DateTime:
      if (target == TPropType::Bytes) return false;
      PutR(id, value.Real);
      return true;
    case TPropType::String:
    case TPropType::Bytes:
      if (target == TPropType::String || target == TPropType::Bytes) {
        FProps.SetText(id, value.Text);
        return true;
      }
      return SetPropertyText(name, value.Text);
  }
  return false;
}

// ---- calls ------------------------------------------------------------------

int TZelvox::Call(const std::string& method) {
  TMethodId id;
  if (!FindMethod(method, id)) {
    std::lock_guard lock(FLock);
    SetResult(kNoSuchMethod, Tr(ErrorText(kNoSuchMethod)) + ": " + method);
    return kNoSuchMethod;
  }
  return Invoke(id);
}

int TZelvox::Invoke(TMethodId id) {
  std::lock_guard lock(FLock);
  FCallText.clear();
  FProps.SetText(TPropId::ECRInput, "");
  FProps.SetText(TPropId::ECROutput, "");
  int code = 0;
  std::string text;
  try {
    if (const THandler handler = HandlerOf(id)) {
      code = (this->*handler)();
    } else if (const TCommandDef* cmd = FindCommand(MethodDef(id).Name)) {
      code = Run(*cmd);
    } else {
      code = kNotSupported;
      text = Tr(ErrorText(kNotSupported)) + ": " + MethodDef(id).Name;
    }
  } catch (const EDriverError& e) {
    code = e.ErrorCode();
    text = e.what();
  } catch (const std::exception& e) {
    code = kOtherFailure;
    text = Tr(ErrorText(kOtherFailure)) + ": " + e.what();
  }
  if (text.empty()) text = FCallText.empty() ? Tr(ErrorText(code)) : FCallText;
  SetResult(code, text);
  return code;
}

void TZelvox::SetResult(int code, const std::string& text) {
  FProps.SetInt(TPropId::ResultCode, code);
  FProps.SetText(TPropId::ResultCodeDescription, text);
}

// ---- link -------------------------------------------------------------------

void TZelvox::SetInProcessDevice(TCallbackTransport::TDevice device) {
  std::lock_guard lock(FLock);
  CloseLink();
  FInProcess = std::move(device);
}

void TZelvox::OpenLink() {
  if (FTransport && FTransport->IsOpen()) return;
  if (!FTransport) {
    TLinkSettings s;
    s.ComNumber = static_cast<int>(FProps.GetInt(TPropId::ComNumber));
    s.BaudRate = static_cast<int>(FProps.GetInt(TPropId::BaudRate));
    s.Timeout = static_cast<int>(FProps.GetInt(TPropId::Timeout));
    s.ProtocolType = static_cast<int>(FProps.GetInt(TPropId::ProtocolType));
    s.MaxCommandSendCount = static_cast<int>(FProps.GetInt(TPropId::MaxCommandSendCount));
    s.MaxAnswerReadCount = static_cast<int>(FProps.GetInt(TPropId::MaxAnswerReadCount));
    s.Host = FProps.GetBool(TPropId::UseIPAddress) ? FProps.GetText(TPropId::IPAddress)
                                                   : FProps.GetText(TPropId::ComputerName);
    s.TcpPort = static_cast<int>(FProps.GetInt(TPropId::TCPPort));
    s.TcpConnectTimeout = static_cast<int>(FProps.GetInt(TPropId::TCPConnectionTimeout));
    const std::int64_t type = FProps.GetInt(TPropId::ConnectionType);
    if (FInProcess) {
      FTransport = std::make_unique<TCallbackTransport>(FInProcess);
    } else if (type == 0) {
      FTransport = MakeSerialTransport(s);
    } else if (type == 6) {
      FTransport = MakeTcpTransport(s);
    } else if (type == 1 || type == 2) {
      TServerSettings server;
      server.ComputerName = FProps.GetText(TPropId::ComputerName);
      server.ComNumber = s.ComNumber;
      server.BaudRate = s.BaudRate;
      server.Timeout = s.Timeout;
      server.ProtocolType = s.ProtocolType;
      server.ConnectTimeout = s.TcpConnectTimeout;
      FTransport = std::make_unique<TServerTransport>(server);
    } else {
      RaiseCode(kBadConnectionType, std::to_string(type));
    }
  }
  try {
    FTransport->Open();
  } catch (...) {
    CloseLink();
    throw;
  }
  FProps.SetInt(TPropId::Connected, 1);
}

void TZelvox::CloseLink() {
  if (FTransport) FTransport->Close();
  FTransport.reset();
  FProps.SetInt(TPropId::Connected, 0);
}

Bytes TZelvox::Exchange(const Bytes& command) {
  OpenLink();
  FProps.SetText(TPropId::ECRInput, ToHexText(command));
  Bytes answer;
  try {
    answer = FTransport->Send(command, static_cast<int>(FProps.GetInt(TPropId::Timeout)));
  } catch (const EDriverError& e) {
    if (e.ErrorCode() < 0 || !FTransport->IsOpen()) CloseLink();  // the next call links afresh
    throw;
  }
  FProps.SetText(TPropId::ECROutput, ToHexText(answer));
  return answer;
}

// ---- catalogue commands -----------------------------------------------------

TFieldValue TZelvox::RequestValue(const TFieldDef& field) const {
  std::int64_t bits = 0;
  bool isBitField = false;
  for (const auto& b : BitFields())
    if (std::strcmp(b.Field, field.Name) == 0) {
      isBitField = true;
      TPropId p;
      if (FindProperty(b.Property, p) && FProps.GetBool(p)) bits |= std::int64_t{1} << b.Bit;
    }
  if (isBitField) return bits;

  TPropId id;
  if (!FindProperty(field.Name, id)) return ZeroValue(field.Codec);
  const TPropType type = PropertyDef(id).Type;
  switch (field.Codec) {
    case TCodec::UInt:
    case TCodec::Amount:
      if (type == TPropType::Currency) return static_cast<std::int64_t>(std::llround(FProps.GetReal(id) * 100.0));
      if (type == TPropType::String) {
        const std::string& s = FProps.GetText(id);
        std::size_t used = 0;
        std::int64_t v = 0;
        try {
          v = std::stoll(s, &used);
        } catch (const std::exception&) {
          used = 0;
        }
        if (used == 0 || used != s.size()) throw ECodecError(std::string(field.Name) + " is not a number");
        return v;
      }
      return FProps.GetInt(id);
    case TCodec::Text:
    case TCodec::TextToEnd:
    case TCodec::Version: return FProps.ToText(id);
    case TCodec::BytesToEnd: {
      const std::string& s = FProps.GetText(id);
      return Bytes(s.begin(), s.end());
    }
    case TCodec::Date: return DateOf(FProps.GetReal(id));
    case TCodec::Time: return TimeOf(FProps.GetReal(id));
    case TCodec::Milli: return FProps.GetReal(id);
    case TCodec::Variant:
      if (FProps.Get(id).Kind == TPropType::Bool) return FProps.GetBool(id);
      return FProps.GetInt(id);
    case TCodec::Tlv: break;
  }
  return ZeroValue(field.Codec);
}

void TZelvox::ApplyAnswer(const TCommandDef& cmd, const TFieldMap& answer) {
  for (const auto& f : cmd.Answer) {
    const TFieldValue& value = answer.at(f.Name);
    for (const auto& b : BitFields()) {
      TPropId p;
      if (std::strcmp(b.Field, f.Name) == 0 && FindProperty(b.Property, p) && std::holds_alternative<std::int64_t>(value))
        FProps.SetInt(p, (std::get<std::int64_t>(value) >> b.Bit) & 1);
    }
    TPropId id;
    if (!FindProperty(f.Name, id)) continue;
    const TPropType type = PropertyDef(id).Type;
    if (const auto* i = std::get_if<std::int64_t>(&value)) {
      if (type == TPropType::Currency)
        FProps.SetReal(id, static_cast<double>(*i) / 100.0);
      else
        FProps.SetInt(id, *i);
    } else if (const auto* b = std::get_if<bool>(&value)) {
      FProps.SetBool(id, *b);
    } else if (const auto* d = std::get_if<double>(&value)) {
      FProps.SetReal(id, *d);
    } else if (const auto* s = std::get_if<std::string>(&value)) {
      FProps.SetText(id, *s);
    } else if (const auto* raw = std::get_if<Bytes>(&value)) {
      FProps.SetText(id, std::string(raw->begin(), raw->end()));
    } else if (const auto* date = std::get_if<TDate>(&value)) {
      FProps.SetReal(id, EncodeDateTime(*date));
    } else if (const auto* time = std::get_if<TTime>(&value)) {
      FProps.SetReal(id, EncodeDateTime({30, 12, 1899}, *time));
    }
    if (id == TPropId::ECRMode)
      FProps.SetText(TPropId::ECRModeDescription, Tr(ModeText(ModeTexts(), FProps.GetInt(id))));
    else if (id == TPropId::ECRAdvancedMode)
      FProps.SetText(TPropId::ECRAdvancedModeDescription, Tr(ModeText(AdvancedModeTexts(), FProps.GetInt(id))));
    else if (id == TPropId::FiscalSign)
      FProps.SetText(TPropId::FiscalSignAsString, std::to_string(FProps.GetInt(id)));
    else if (id == TPropId::UCodePage)
      FProps.SetText(TPropId::UCodePageText, FProps.GetInt(id) == 0 ? "Windows-1251" : std::to_string(FProps.GetInt(id)));
  }
}

int TZelvox::Run(const char* method, const TFieldMap& overrides, TFieldMap* answer) {
  const TCommandDef* cmd = FindCommand(method);
  if (!cmd) RaiseCode(kNotSupported, method);
  return Run(*cmd, overrides, answer);
}

int TZelvox::Run(const TCommandDef& cmd, const TFieldMap& overrides, TFieldMap* answerOut) {
  TFieldMap request;
  Bytes command;
  try {
    for (const auto& f : cmd.Request) {
      const auto it = overrides.find(f.Name);
      request[f.Name] = it != overrides.end() ? it->second : RequestValue(f);
    }
    command = EncodeRequest(cmd, request);
  } catch (const ECodecError& e) {
    RaiseCode(kBadValue, e.what());
  }
  const Bytes answer = Exchange(command);
  const std::size_t codeSize = cmd.Code > 0xFF ? 2 : 1;
  if (answer.size() < codeSize + 1) RaiseCode(kAnswerTooShort, "");
  const int error = AnswerError(cmd.Code, answer);
  if (error < 0) RaiseCode(kAnswerMismatch, "");
  if (error != 0) return error;
  TFieldMap fields;
  try {
    fields = DecodeAnswer(cmd, answer);
  } catch (const ECodecError& e) {
    RaiseCode(kAnswerTooShort, e.what());
  }
  ApplyAnswer(cmd, fields);
  if (answerOut) *answerOut = std::move(fields);
  return 0;
}

// ---- methods that need logic ------------------------------------------------

bool TZelvox::IsReal(TMethodId id) { return HandlerOf(id) || FindCommand(MethodDef(id).Name); }

TZelvox::THandler TZelvox::HandlerOf(TMethodId id) {
  switch (id) {
    case TMethodId::Connect: return &TZelvox::DoConnect;
    case TMethodId::Disconnect: return &TZelvox::DoDisconnect;
    case TMethodId::LockPort: return &TZelvox::DoLockPort;
    case TMethodId::Ping: return &TZelvox::DoPing;
    case TMethodId::FindDevice: return &TZelvox::DoFindDevice;
    case TMethodId::WaitConnection: return &TZelvox::DoWaitConnection;
    case TMethodId::WaitForCheckClose: return &TZelvox::DoWaitForCheckClose;
    case TMethodId::AddLD: return &TZelvox::DoAddLD;
    case TMethodId::DeleteLD: return &TZelvox::DoDeleteLD;
    case TMethodId::EnumLD: return &TZelvox::DoEnumLD;
    case TMethodId::GetActiveLD: return &TZelvox::DoGetActiveLD;
    case TMethodId::GetCountLD: return &TZelvox::DoGetCountLD;
    case TMethodId::GetParamLD: return &TZelvox::DoGetParamLD;
    case TMethodId::SetActiveLD: return &TZelvox::DoSetActiveLD;
    case TMethodId::SetParamLD: return &TZelvox::DoSetParamLD;
    case TMethodId::UnlockPort: return &TZelvox::DoUnlockPort;
    case TMethodId::ExchangeBytes: return &TZelvox::DoExchangeBytes;
    case TMethodId::GetECRStatus: return &TZelvox::DoGetECRStatus;
    case TMethodId::ShowProperties: return &TZelvox::DoShowProperties;
    case TMethodId::ShowTablesDlg: return &TZelvox::DoShowTablesDlg;
    case TMethodId::ReadErrorDescription: return &TZelvox::DoReadErrorDescription;
    case TMethodId::ResetECR: return &TZelvox::DoResetECR;
    case TMethodId::ClearResult: return &TZelvox::DoClearResult;
    case TMethodId::ReadTable: return &TZelvox::DoReadTable;
    case TMethodId::WriteTable: return &TZelvox::DoWriteTable;
    case TMethodId::ExportTables: return &TZelvox::DoExportTables;
    case TMethodId::ImportTables: return &TZelvox::DoImportTables;
    case TMethodId::PrintStringWithWrap: return &TZelvox::DoPrintStringWithWrap;
    case TMethodId::WaitForPrinting: return &TZelvox::DoWaitForPrinting;
    case TMethodId::FNAddTag: return &TZelvox::DoFNAddTag;
    case TMethodId::FNBeginSTLVTag: return &TZelvox::DoFNBeginSTLVTag;
    case TMethodId::FNSendTag: return &TZelvox::DoFNSendTag;
    case TMethodId::FNSendTagOperation: return &TZelvox::DoFNSendTagOperation;
    case TMethodId::FNSendSTLVTag: return &TZelvox::DoFNSendSTLVTag;
    case TMethodId::FNSendSTLVTagOperation: return &TZelvox::DoFNSendSTLVTagOperation;
    case TMethodId::GetTagAsTLV: return &TZelvox::DoGetTagAsTLV;
    case TMethodId::FNSendCustomerEmail: return &TZelvox::DoFNSendCustomerEmail;
    case TMethodId::FNSendSenderEmail: return &TZelvox::DoFNSendSenderEmail;
    case TMethodId::FNSendUserAttribute: return &TZelvox::DoFNSendUserAttribute;
    default: return nullptr;
  }
}

}  // namespace zel
