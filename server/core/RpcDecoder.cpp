#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>

#include "server/core/Rpc.h"

namespace zel {

namespace {

enum class TArgType { Int, Text };

struct TParam {
  const char* Name;
  TArgType Type;
};

struct TMethodDef {
  const char* Name;
  TRpcMethod Method;
  std::vector<TParam> Params;
  bool LastOptional = false;  // ProtocolType: no argument reads, one argument writes
};

const std::vector<TMethodDef>& Methods() {
  using T = TArgType;
  static const std::vector<TMethodDef> table = {
      {"OpenPort", TRpcMethod::OpenPort, {{"PortNumber", T::Int}, {"BaudRate", T::Int}, {"Timeout", T::Int}}},
      {"ClosePort", TRpcMethod::ClosePort, {}},
      {"SendData", TRpcMethod::SendData, {{"CmdTimeout", T::Int}, {"TxData", T::Text}}},
      {"FileVersion", TRpcMethod::FileVersion, {}},
      {"ResultDescription", TRpcMethod::ResultDescription, {}},
      {"OpenCheck", TRpcMethod::OpenCheck, {{"PortNumber", T::Int}, {"Password", T::Int}}},
      {"CloseCheck", TRpcMethod::CloseCheck, {{"PortNumber", T::Int}}},
      {"Connect", TRpcMethod::Connect, {{"AAppPID", T::Int}, {"AAppName", T::Text}, {"ACompName", T::Text}}},
      {"GetComputerName", TRpcMethod::GetComputerName, {}},
      {"ResultCode", TRpcMethod::ResultCode, {}},
      {"LockPort", TRpcMethod::LockPort, {{"PortNumber", T::Int}}},
      {"UnlockPort", TRpcMethod::UnlockPort, {}},
      {"AdminUnlockPort", TRpcMethod::AdminUnlockPort, {{"PortNumber", T::Int}}},
      {"AdminUnlockPorts", TRpcMethod::AdminUnlockPorts, {}},
      {"ProtocolType", TRpcMethod::ProtocolType, {{"Value", T::Int}}, true},
      {"RawAnswer", TRpcMethod::RawAnswer, {}},
      {"RawTxData", TRpcMethod::RawTxData, {}},
  };
  return table;
}

bool ToArg(const QJsonValue& value, TArgType type, TRpcArg& arg) {
  if (type == TArgType::Text) {
    if (!value.isString()) return false;
    arg.Text = value.toString().toStdString();
    return true;
  }
  if (!value.isDouble()) return false;
  const double d = value.toDouble();
  if (!std::isfinite(d) || std::floor(d) != d || d < std::numeric_limits<std::int32_t>::min() ||
      d > std::numeric_limits<std::int32_t>::max())
    return false;
  arg.Int = static_cast<int>(d);
  return true;
}

// Fills call.Args from positional or named parameters; false when they do not fit.
bool DecodeParams(const TMethodDef& def, const QJsonValue& params, bool present, TRpcCall& call) {
  const std::size_t count = def.Params.size();
  const std::size_t required = def.LastOptional ? count - 1 : count;
  if (!present) return required == 0;
  if (params.isArray()) {
    const QJsonArray list = params.toArray();
    const auto n = static_cast<std::size_t>(list.size());
    if (n < required || n > count) return false;
    for (std::size_t i = 0; i < n; ++i) {
      TRpcArg arg;
      if (!ToArg(list[static_cast<qsizetype>(i)], def.Params[i].Type, arg)) return false;
      call.Args.push_back(std::move(arg));
    }
    return true;
  }
  if (params.isObject()) {
    const QJsonObject named = params.toObject();
    std::size_t used = 0;
    for (std::size_t i = 0; i < count; ++i) {
      const auto it = named.constFind(QLatin1String(def.Params[i].Name));
      if (it == named.constEnd()) {
        if (i < required) return false;
        break;
      }
      TRpcArg arg;
      if (!ToArg(*it, def.Params[i].Type, arg)) return false;
      call.Args.push_back(std::move(arg));
      ++used;
    }
    return used == static_cast<std::size_t>(named.size());  // no unknown names
  }
  return false;
}

TRpcCall DecodeCall(const QJsonValue& entry) {
  TRpcCall call;
  if (!entry.isObject()) {
    call.Error = RpcErrorResponse(QJsonValue::Null, kRpcInvalidRequest, "Invalid Request");
    return call;
  }
  const QJsonObject request = entry.toObject();
  QJsonValue idForErrors = QJsonValue::Null;
  if (request.contains("id")) {
    const QJsonValue id = request.value("id");
    if (id.isString() || id.isDouble() || id.isNull()) {
      call.Id = id;
      idForErrors = id;
    } else {
      call.Error = RpcErrorResponse(QJsonValue::Null, kRpcInvalidRequest, "Invalid Request");
      return call;
    }
  }
  const QJsonValue version = request.value("jsonrpc");
  const QJsonValue method = request.value("method");
  if (version != QJsonValue(QStringLiteral("2.0")) || !method.isString()) {
    call.Error = RpcErrorResponse(idForErrors, kRpcInvalidRequest, "Invalid Request");
    return call;
  }
  const std::string name = method.toString().toStdString();
  const TMethodDef* def = nullptr;
  for (const TMethodDef& d : Methods())
    if (name == d.Name) def = &d;
  if (!def) {
    call.Error = RpcErrorResponse(idForErrors, kRpcMethodNotFound, "Method not found");
    return call;
  }
  call.Method = def->Method;
  if (!DecodeParams(*def, request.value("params"), request.contains("params"), call)) {
    call.Args.clear();
    call.Error = RpcErrorResponse(idForErrors, kRpcInvalidParams, "Invalid params");
  }
  return call;
}

}  // namespace

QJsonValue RpcErrorResponse(const QJsonValue& id, int code, const char* message) {
  return QJsonObject{{"jsonrpc", "2.0"},
                     {"id", id},
                     {"error", QJsonObject{{"code", code}, {"message", message}}}};
}

TRpcRequest RpcDecode(std::string_view line) {
  TRpcRequest request;
  QJsonParseError parseError{};
  const QJsonDocument doc = QJsonDocument::fromJson(
      QByteArray::fromRawData(line.data(), static_cast<qsizetype>(line.size())), &parseError);
  if (parseError.error != QJsonParseError::NoError) {
    // A lone scalar is valid JSON but no request; the parser only takes it inside an array.
    QByteArray wrapped = "[";
    wrapped.append(line.data(), static_cast<qsizetype>(line.size()));
    wrapped.append(']');
    const bool scalar = QJsonDocument::fromJson(wrapped, &parseError).isArray();
    request.Error = scalar ? RpcErrorResponse(QJsonValue::Null, kRpcInvalidRequest, "Invalid Request")
                           : RpcErrorResponse(QJsonValue::Null, kRpcParseError, "Parse error");
    return request;
  }
  if (doc.isArray()) {
    const QJsonArray entries = doc.array();
    if (entries.isEmpty()) {
      request.Error = RpcErrorResponse(QJsonValue::Null, kRpcInvalidRequest, "Invalid Request");
      return request;
    }
    request.Batch = true;
    for (const QJsonValue& entry : entries) request.Calls.push_back(DecodeCall(entry));
    return request;
  }
  request.Calls.push_back(DecodeCall(doc.isObject() ? QJsonValue(doc.object()) : QJsonValue()));
  return request;
}

}  // namespace zel
