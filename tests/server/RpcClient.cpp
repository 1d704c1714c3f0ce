#include "tests/server/RpcClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <QJsonDocument>

#include <cerrno>
#include <stdexcept>

namespace zel::test {

TRpcClient::TRpcClient(int port, int timeoutMs) {
  FFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (FFd < 0) throw std::runtime_error("socket failed");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  setsockopt(FFd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  setsockopt(FFd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
  int one = 1;
  setsockopt(FFd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  if (connect(FFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(FFd);
    throw std::runtime_error("connect failed");
  }
}

TRpcClient::~TRpcClient() {
  if (FFd >= 0) close(FFd);
}

void TRpcClient::SendRaw(const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = send(FFd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) throw std::runtime_error("send failed");
    sent += static_cast<std::size_t>(n);
  }
}

std::string TRpcClient::ReadLine() {
  for (;;) {
    if (auto nl = FBuffer.find('\n'); nl != std::string::npos) {
      std::string line = FBuffer.substr(0, nl);
      FBuffer.erase(0, nl + 1);
      return line;
    }
    char chunk[4096];
    const ssize_t n = recv(FFd, chunk, sizeof chunk, 0);
    if (n <= 0) throw std::runtime_error(n == 0 ? "server closed the connection" : "receive timed out");
    FBuffer.append(chunk, static_cast<std::size_t>(n));
  }
}

QJsonObject TRpcClient::Call(const std::string& method, const std::string& params) {
  const int id = FNextID++;
  SendRaw("{\"jsonrpc\":\"2.0\",\"id\":" + std::to_string(id) + ",\"method\":\"" + method +
          "\",\"params\":" + params + "}\n");
  const std::string line = ReadLine();
  const QJsonObject response = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
  if (response.value("id").toInt() != id) throw std::runtime_error("response to another request: " + line);
  return response;
}

QJsonValue TRpcClient::Result(const std::string& method, const std::string& params) {
  const QJsonObject response = Call(method, params);
  if (!response.contains("result"))
    throw std::runtime_error(method + " failed: " +
                             QJsonDocument(response).toJson(QJsonDocument::Compact).toStdString());
  return response.value("result");
}

bool TRpcClient::ClosedByServer(int timeoutMs) {
  pollfd p{FFd, POLLIN, 0};
  for (;;) {
    if (poll(&p, 1, timeoutMs) <= 0) return false;
    char chunk[4096];
    const ssize_t n = recv(FFd, chunk, sizeof chunk, MSG_DONTWAIT);
    if (n == 0) return true;
    if (n < 0) return errno == ECONNRESET;
    FBuffer.append(chunk, static_cast<std::size_t>(n));
  }
}

void TRpcClient::Abort() {
  linger l{1, 0};
  setsockopt(FFd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
  close(FFd);
  FFd = -1;
}

}  // namespace zel::test
