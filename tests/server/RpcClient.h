#pragma once
// A blocking JSON-RPC client for tests: one TCP connection to 127.0.0.1,
// every receive bounded by a timeout.
#include <QJsonObject>
#include <QJsonValue>

#include <string>

namespace zel::test {

class TRpcClient {
 public:
  explicit TRpcClient(int port, int timeoutMs = 10000);  // throws when it cannot connect
  ~TRpcClient();
  TRpcClient(const TRpcClient&) = delete;
  TRpcClient& operator=(const TRpcClient&) = delete;

  // Sends {"jsonrpc":"2.0","id":N,"method":method,"params":params} and returns the response.
  QJsonObject Call(const std::string& method, const std::string& params = "[]");
  // The "result" of Call (throws on an error response).
  QJsonValue Result(const std::string& method, const std::string& params = "[]");
  int Code(const std::string& method, const std::string& params = "[]") { return Result(method, params).toInt(); }

  void SendRaw(const std::string& bytes);
  std::string ReadLine();  // throws on timeout or when the server closed
  bool ClosedByServer(int timeoutMs);  // true when the server ends the connection in time
  void Abort();                        // close at once (RST), as a killed client would

 private:
  int FFd = -1;
  int FNextID = 1;
  std::string FBuffer;
};

}  // namespace zel::test
