#pragma once
// The IZelserv members over TCP: newline-delimited JSON-RPC 2.0. The decoder
// turns one request line into checked calls (or a ready error response); a
// session runs them on its own TZelserv object.
#include <QJsonValue>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

class TZelserv;

// Members of IZelserv, with their DISPIDs.
enum class TRpcMethod : int {
  OpenPort = 1,
  ClosePort = 2,
  ResultCode = 3,
  LockPort = 4,
  SendData = 5,
  UnlockPort = 6,
  FileVersion = 7,
  ResultDescription = 8,
  AdminUnlockPort = 9,
  AdminUnlockPorts = 10,
  OpenCheck = 13,
  CloseCheck = 14,
  Connect = 15,
  GetComputerName = 21,
  ProtocolType = 201,
  RawAnswer = 202,
  RawTxData = 203,
};

// JSON-RPC error codes used by the server.
enum TRpcError : int {
  kRpcParseError = -32700,
  kRpcInvalidRequest = -32600,
  kRpcMethodNotFound = -32601,
  kRpcInvalidParams = -32602,
  kRpcInternalError = -32603,
};

struct TRpcArg {
  int Int = 0;
  std::string Text;
};

struct TRpcCall {
  std::optional<QJsonValue> Id;  // absent: a notification, answered by nothing
  TRpcMethod Method{};
  std::vector<TRpcArg> Args;     // checked against the member's parameters
  std::optional<QJsonValue> Error;  // a ready error response object for this entry
};

struct TRpcRequest {
  bool Batch = false;
  std::vector<TRpcCall> Calls;
  std::optional<QJsonValue> Error;  // the whole line failed (parse error, empty batch)
};

TRpcRequest RpcDecode(std::string_view line);

// Error response object {"jsonrpc":"2.0","id":...,"error":{code,message}}.
QJsonValue RpcErrorResponse(const QJsonValue& id, int code, const char* message);

class TRpcSession {
 public:
  explicit TRpcSession(TZelserv& server) : FServer(server) {}
  // The response line (no newline) to one request line; empty when the line
  // held only notifications.
  std::string Handle(std::string_view line);
  // Response to a request too long to read.
  static std::string OversizedResponse();

 private:
  QJsonValue Run(const TRpcCall& call);
  QJsonValue Invoke(const TRpcCall& call);
  TZelserv& FServer;
};

}  // namespace zel
