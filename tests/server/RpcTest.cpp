// JSON-RPC request decoding and the session's answers.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

#include "server/core/Rpc.h"
#include "server/core/Zelserv.h"
#include "tests/server/FakeDevice.h"

namespace zel {
namespace {

QJsonObject Parse(const std::string& line) {
  return QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
}

int ErrorCode(const std::string& line) {
  return Parse(line).value("error").toObject().value("code").toInt();
}

TEST(RpcTest, DecoderChecksEnvelopeMethodAndParameterTypes) {
  const struct {
    const char* line;
    int error;  // 0: decodes into a call
  } cases[] = {
      {R"({"jsonrpc":"2.0","id":1,"method":"OpenPort","params":[3,2,100]})", 0},
      {R"({"jsonrpc":"2.0","id":"a","method":"OpenPort","params":{"PortNumber":3,"BaudRate":2,"Timeout":100}})", 0},
      {R"({"jsonrpc":"2.0","id":1,"method":"ClosePort"})", 0},
      {R"({"jsonrpc":"2.0","id":1,"method":"ProtocolType","params":[2]})", 0},
      {R"({"jsonrpc":"2.0","id":1,"method":"ProtocolType","params":[]})", 0},
      {R"({"jsonrpc":"2.0","id":1,"method":"SendData","params":[1000,"fc"]})", 0},
      {R"({"jsonrpc":"2.0","id":1,"method":"OpenPort","params":[3,2]})", kRpcInvalidParams},
      {R"({"jsonrpc":"2.0","id":1,"method":"OpenPort","params":[3,2,100,4]})", kRpcInvalidParams},
      {R"({"jsonrpc":"2.0","id":1,"method":"OpenPort","params":["3",2,100]})", kRpcInvalidParams},
      {R"({"jsonrpc":"2.0","id":1,"method":"OpenPort","params":[3.5,2,100]})", kRpcInvalidParams},
      {R"({"jsonrpc":"2.0","id":1,"method":"OpenPort","params":[3e12,2,100]})", kRpcInvalidParams},
      {R"({"jsonrpc":"2.0","id":1,"method":"OpenPort","params":{"PortNumber":3,"BaudRate":2,"Timeout":1,"X":0}})", kRpcInvalidParams},
      {R"({"jsonrpc":"2.0","id":1,"method":"SendData","params":[1000,16]})", kRpcInvalidParams},
      {R"({"jsonrpc":"2.0","id":1,"method":"ClosePort","params":7})", kRpcInvalidParams},
      {R"({"jsonrpc":"2.0","id":1,"method":"Format"})", kRpcMethodNotFound},
      {R"({"jsonrpc":"2.0","id":1,"method":"openport","params":[3,2,100]})", kRpcMethodNotFound},
      {R"({"jsonrpc":"1.0","id":1,"method":"ClosePort"})", kRpcInvalidRequest},
      {R"({"id":1,"method":"ClosePort"})", kRpcInvalidRequest},
      {R"({"jsonrpc":"2.0","id":[1],"method":"ClosePort"})", kRpcInvalidRequest},
      {R"({"jsonrpc":"2.0","id":1,"method":5})", kRpcInvalidRequest},
      {R"("ClosePort")", kRpcInvalidRequest},
      {R"([])", kRpcInvalidRequest},
      {R"({"jsonrpc":"2.0",)", kRpcParseError},
      {"\x01\xff\xfe garbage", kRpcParseError},
  };
  for (const auto& c : cases) {
    const TRpcRequest request = RpcDecode(c.line);
    int error = 0;
    if (request.Error)
      error = request.Error->toObject().value("error").toObject().value("code").toInt();
    else if (request.Calls.at(0).Error)
      error = request.Calls[0].Error->toObject().value("error").toObject().value("code").toInt();
    EXPECT_EQ(error, c.error) << c.line;
  }
}

TEST(RpcTest, SessionAnswersWithResultsOutValuesAndEchoedIds) {
  test::TFakeFactory fakes;
  TZelserv server;
  TRpcSession session(server);
  EXPECT_EQ(session.Handle(R"({"jsonrpc":"2.0","id":"x","method":"Connect","params":[12,"app","pc"]})"),
            R"({"id":"x","jsonrpc":"2.0","result":0})");
  EXPECT_EQ(session.Handle(R"({"jsonrpc":"2.0","id":2,"method":"OpenPort","params":[3,2,100]})"),
            R"({"id":2,"jsonrpc":"2.0","result":0})");
  const QJsonObject send =
      Parse(session.Handle(R"({"jsonrpc":"2.0","id":3,"method":"SendData","params":[1000,"FC01"]})"));
  EXPECT_EQ(send.value("result").toObject().value("retval").toString(), "fc0001");
  EXPECT_EQ(send.value("result").toObject().value("ResultCode").toInt(), 0);
  const QJsonObject bad =
      Parse(session.Handle(R"({"jsonrpc":"2.0","id":4,"method":"SendData","params":[1000,"zz"]})"));
  EXPECT_EQ(bad.value("result").toObject().value("ResultCode").toInt(), -8);
  EXPECT_EQ(Parse(session.Handle(R"({"jsonrpc":"2.0","id":5,"method":"ResultDescription"})"))
                .value("result").toString(), "Неверный формат данных");
  EXPECT_EQ(Parse(session.Handle(R"({"jsonrpc":"2.0","id":6,"method":"FileVersion"})")).value("result").toString(),
            ZEL_VERSION);
  // Notifications run but get no answer; a batch gets one array.
  EXPECT_EQ(session.Handle(R"({"jsonrpc":"2.0","method":"ProtocolType","params":[1]})"), "");
  EXPECT_EQ(server.ProtocolType(), 1);
  EXPECT_EQ(session.Handle(R"({"jsonrpc":"2.0","method":"Nope"})"), "");
  EXPECT_EQ(session.Handle(R"([{"jsonrpc":"2.0","id":7,"method":"ProtocolType"},)"
                           R"({"jsonrpc":"2.0","method":"ClosePort"},)"
                           R"({"jsonrpc":"2.0","id":8,"method":"Nope"}, 5])"),
            R"([{"id":7,"jsonrpc":"2.0","result":1},)"
            R"({"error":{"code":-32601,"message":"Method not found"},"id":8,"jsonrpc":"2.0"},)"
            R"({"error":{"code":-32600,"message":"Invalid Request"},"id":null,"jsonrpc":"2.0"}])");
  EXPECT_EQ(ErrorCode(session.Handle("not json")), kRpcParseError);
}

}  // namespace
}  // namespace zel
