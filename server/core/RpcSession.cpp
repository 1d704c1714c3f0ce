#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <exception>

#include "server/core/Rpc.h"
#include "server/core/Zelserv.h"

namespace zel {

namespace {

QString Text(const std::string& s) { return QString::fromStdString(s); }

std::string ToLine(const QJsonValue& value) {
  const QJsonDocument doc = value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
  return doc.toJson(QJsonDocument::Compact).toStdString();
}

bool Answered(const TRpcCall& call) {
  if (call.Id) return true;
  // An entry too broken to tell whether it was a notification is answered.
  return call.Error && call.Error->toObject().value("error").toObject().value("code").toInt() ==
                           kRpcInvalidRequest;
}

}  // namespace

std::string TRpcSession::OversizedResponse() {
  return ToLine(RpcErrorResponse(QJsonValue::Null, kRpcInvalidRequest, "Request line too long"));
}

QJsonValue TRpcSession::Invoke(const TRpcCall& call) {
  const auto& a = call.Args;
  switch (call.Method) {
    case TRpcMethod::OpenPort:
      return FServer.OpenPort(a[0].Int, a[1].Int, a[2].Int);
    case TRpcMethod::ClosePort:
      return FServer.ClosePort();
    case TRpcMethod::ResultCode:
      return FServer.ResultCode();
    case TRpcMethod::LockPort:
      return FServer.LockPort(a[0].Int);
    case TRpcMethod::SendData: {
      int resultCode = 0;
      const std::string answer = FServer.SendData(a[0].Int, a[1].Text, resultCode);
      return QJsonObject{{"retval", Text(answer)}, {"ResultCode", resultCode}};
    }
    case TRpcMethod::UnlockPort:
      return FServer.UnlockPort();
    case TRpcMethod::FileVersion:
      return Text(FServer.FileVersion());
    case TRpcMethod::ResultDescription:
      return Text(FServer.ResultDescription());
    case TRpcMethod::AdminUnlockPort:
      return FServer.AdminUnlockPort(a[0].Int);
    case TRpcMethod::AdminUnlockPorts:
      return FServer.AdminUnlockPorts();
    case TRpcMethod::OpenCheck:
      return FServer.OpenCheck(a[0].Int, a[1].Int);
    case TRpcMethod::CloseCheck:
      return FServer.CloseCheck(a[0].Int);
    case TRpcMethod::Connect:
      return FServer.Connect(a[0].Int, a[1].Text, a[2].Text);
    case TRpcMethod::GetComputerName:
      return Text(FServer.GetComputerName());
    case TRpcMethod::ProtocolType:
      if (a.empty()) return FServer.ProtocolType();
      FServer.SetProtocolType(a[0].Int);
      return QJsonValue::Null;
    case TRpcMethod::RawAnswer:
      return Text(FServer.RawAnswer());
    case TRpcMethod::RawTxData:
      return Text(FServer.RawTxData());
  }
  return QJsonValue::Null;
}

QJsonValue TRpcSession::Run(const TRpcCall& call) {
  if (call.Error) return *call.Error;
  const QJsonValue id = call.Id ? *call.Id : QJsonValue::Null;
  try {
    return QJsonObject{{"jsonrpc", "2.0"}, {"id", id}, {"result", Invoke(call)}};
  } catch (const std::exception& e) {
    return RpcErrorResponse(id, kRpcInternalError, e.what());
  }
}

std::string TRpcSession::Handle(std::string_view line) {
  const TRpcRequest request = RpcDecode(line);
  if (request.Error) return ToLine(*request.Error);
  QJsonArray responses;
  for (const TRpcCall& call : request.Calls) {
    const QJsonValue response = Run(call);
    if (Answered(call)) responses.append(response);
  }
  if (responses.isEmpty()) return {};
  return request.Batch ? ToLine(responses) : ToLine(responses.first());
}

}  // namespace zel
