// The TCP listener over 127.0.0.1 with fake devices behind the ports.
#include <gtest/gtest.h>

#include <QJsonObject>

#include <atomic>
#include <cstdio>
#include <thread>

#include "server/core/PrinterPort.h"
#include "server/core/TcpServer.h"
#include "tests/server/FakeDevice.h"
#include "tests/server/RpcClient.h"
#include "tests/server/TestEnv.h"

namespace zel {
namespace {

using test::TRpcClient;
using test::WaitFor;

class TcpServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FServer.SetBindAddress("127.0.0.1");
    FServer.SetPort(0);
    FServer.SetEnabled(true);
    ASSERT_TRUE(FServer.Update());
    FPort = FServer.BoundPort();
    ASSERT_GT(FPort, 0);
  }
  std::string SendResult(TRpcClient& c, const std::string& hex, int* rc = nullptr) {
    const QJsonObject r = c.Result("SendData", "[1000,\"" + hex + "\"]").toObject();
    if (rc) *rc = r.value("ResultCode").toInt();
    return r.value("retval").toString().toStdString();
  }

  test::TFakeFactory FFakes;
  TPrinterPortsLink FPorts;
  TTCPServer FServer;
  int FPort = 0;
};

TEST_F(TcpServerTest, LockContentionAndAKilledHolderReleasesItsLock) {
  auto a = std::make_unique<TRpcClient>(FPort);
  TRpcClient b(FPort);
  EXPECT_EQ(a->Code("Connect", R"([501,"Cash desk","TILL-1"])"), 0);
  EXPECT_EQ(b.Code("Connect", R"([502,"Office","TILL-2"])"), 0);
  EXPECT_EQ(a->Code("OpenPort", "[3,2,100]"), 0);
  EXPECT_EQ(a->Code("LockPort", "[3]"), 0);
  EXPECT_EQ(b.Code("LockPort", "[3]"), -18);
  EXPECT_EQ(b.Result("ResultDescription").toString().toStdString(), "Порт заблокирован TILL-1.501.'Cash desk'");
  int rc = -1;
  EXPECT_EQ(SendResult(b, "1100", &rc), "110000");
  EXPECT_EQ(rc, 0);

  a->Abort();
  EXPECT_TRUE(WaitFor([&] { return FServer.ConnectionCount() == 1; }));
  EXPECT_EQ(b.Code("LockPort", "[3]"), 0);
}

TEST_F(TcpServerTest, MalformedInputGetsErrorsAndTheServerKeepsServing) {
  FServer.SetLimits("", 64, 1024);
  TRpcClient bad(FPort);
  const struct {
    std::string line;
    int code;
  } cases[] = {
      {"hello there", -32700},
      {std::string("\0\x01\x02\xff", 4), -32700},
      {"{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"OpenPort\",\"params\":[\"x\",1,1]}", -32602},
      {"{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"SendData\",\"params\":{\"TxData\":1}}", -32602},
      {"{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"DropTables\"}", -32601},
      {"[1,2]", -32600},
      {"{\"jsonrpc\":\"2.0\",\"id\":{},\"method\":\"ClosePort\"}", -32600},
  };
  for (const auto& c : cases) {
    bad.SendRaw(c.line + "\r\n");
    const std::string reply = bad.ReadLine();
    EXPECT_NE(reply.find("\"code\":" + std::to_string(c.code)), std::string::npos) << reply;
  }
  EXPECT_EQ(bad.Code("OpenPort", "[1,2,100]"), 0) << "the connection still works";

  bad.SendRaw(std::string(5000, 'x') + "\n");
  EXPECT_NE(bad.ReadLine().find("too long"), std::string::npos);
  EXPECT_TRUE(bad.ClosedByServer(5000));

  TRpcClient endless(FPort);
  endless.SendRaw(std::string(3000, '{'));  // no newline, ever
  EXPECT_TRUE(endless.ClosedByServer(5000));

  TRpcClient good(FPort);
  EXPECT_EQ(good.Code("OpenPort", "[1,2,100]"), 0);
  EXPECT_EQ(SendResult(good, "10"), "1000");
}

TEST_F(TcpServerTest, AllowListAndConnectionCapTurnClientsAway) {
  FServer.SetLimits("10.0.0.0/8", 64, 1024);
  TRpcClient outsider(FPort);
  EXPECT_TRUE(outsider.ClosedByServer(5000));

  FServer.SetLimits("192.168.0.0/16 127.0.0.0/8", 2, 1024);
  TRpcClient first(FPort), second(FPort);
  EXPECT_EQ(first.Code("ProtocolType"), 0);
  EXPECT_EQ(second.Code("ProtocolType"), 0);
  TRpcClient third(FPort);
  EXPECT_NE(third.ReadLine().find("Too many connections"), std::string::npos);
  EXPECT_TRUE(third.ClosedByServer(5000));
  EXPECT_EQ(first.Code("ProtocolType"), 0);
}

TEST_F(TcpServerTest, IdleClientIsDisconnectedAndReleased) {
  FServer.SetIdleLimit(std::chrono::milliseconds(200));
  FServer.SetIdleCheck(std::chrono::milliseconds(50));
  TRpcClient idle(FPort);
  ASSERT_EQ(idle.Code("LockPort", "[2]"), 0);
  ASSERT_TRUE(FPorts.Owner().ItemByPortNumber(2)->Locked());
  EXPECT_TRUE(idle.ClosedByServer(5000));
  EXPECT_TRUE(WaitFor([&] { return FPorts.Owner().ItemByPortNumber(2) == nullptr; }));
}

TEST_F(TcpServerTest, UpdateRestartsOnlyWhenPortOrStateChanged) {
  TRpcClient a(FPort), b(FPort);
  ASSERT_EQ(a.Code("LockPort", "[1]"), 0);
  int asked = 0;
  auto decline = [&](int connections) {
    asked = connections;
    return false;
  };
  EXPECT_TRUE(FServer.Update(decline)) << "unchanged settings";
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(a.Code("UnlockPort"), 0) << "clients kept their connection and lock";

  FServer.SetPort(FPort == 65000 ? 65001 : 65000);
  EXPECT_FALSE(FServer.Update(decline));
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(FServer.BoundPort(), FPort);
  EXPECT_EQ(b.Code("ProtocolType"), 0);

  FServer.SetPort(0);
  FServer.SetEnabled(false);
  EXPECT_TRUE(FServer.Update([](int) { return true; }));
  EXPECT_FALSE(FServer.Active());
  EXPECT_TRUE(a.ClosedByServer(5000));
  EXPECT_TRUE(b.ClosedByServer(5000));
}

TEST_F(TcpServerTest, StopReportsConnectionsStillBusyAndSucceedsLater) {
  FFakes.Device(1).DelayMs = 1500;
  FServer.SetStopTimeout(std::chrono::milliseconds(100));
  TRpcClient c(FPort);
  ASSERT_EQ(c.Code("OpenPort", "[1,2,100]"), 0);
  std::thread slow([&] {
    try {
      c.Call("SendData", "[1000,\"10\"]");
    } catch (...) {
    }
  });
  ASSERT_TRUE(WaitFor([&] { return FFakes.Device(1).InFlight == 1; }));
  try {
    FServer.Stop();
    ADD_FAILURE() << "Stop returned while an exchange was running";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Истек таймаут. Не удается закрыть COM вызов");
  }
  EXPECT_TRUE(FServer.Active());
  slow.join();
  EXPECT_TRUE(WaitFor([&] {
    try {
      FServer.Stop();
      return true;
    } catch (...) {
      return false;
    }
  }));
  EXPECT_FALSE(FServer.Active());
}

TEST_F(TcpServerTest, FiftyClientsOverFourPortsEachGetTheirOwnAnswers) {
  constexpr int kClients = 50, kCommands = 200, kPorts = 4;
  std::atomic<int> wrong{0}, failures{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < kClients; ++i)
    threads.emplace_back([&, i] {
      try {
        TRpcClient c(FPort, 30000);
        if (c.Code("OpenPort", "[" + std::to_string(1 + i % kPorts) + ",2,100]") != 0) ++failures;
        for (int n = 0; n < kCommands; ++n) {
          char tx[16];
          std::snprintf(tx, sizeof tx, "30%02x%04x", i, n);
          char expected[16];
          std::snprintf(expected, sizeof expected, "3000%02x%04x", i, n);
          int rc = -1;
          if (SendResult(c, tx, &rc) != expected || rc != 0) ++wrong;
        }
      } catch (const std::exception&) {
        ++failures;
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(wrong, 0);
  int sends = 0;
  for (int p = 1; p <= kPorts; ++p) {
    sends += FFakes.Device(p).Sends;
    EXPECT_EQ(FFakes.Device(p).MaxInFlight, 1) << "port " << p;
  }
  EXPECT_EQ(sends, kClients * kCommands);
}

}  // namespace
}  // namespace zel

namespace zel {
namespace {

TEST(NetFilterTest, ParsesCidrListsAndMatchesMappedAddresses) {
  const TNetFilter filter = TNetFilter::Parse("192.168.10.0/24, 10.1.2.3 ; fd00::/8\t::1");
  const struct {
    const char* address;
    bool allowed;
  } cases[] = {
      {"192.168.10.200", true}, {"192.168.11.1", false}, {"10.1.2.3", true},   {"10.1.2.4", false},
      {"fd12::5", true},        {"fe80::1", false},      {"::1", true},        {"::ffff:192.168.10.7", true},
      {"::ffff:10.1.2.4", false}, {"not an address", false},
  };
  for (const auto& c : cases) EXPECT_EQ(filter.Allows(c.address), c.allowed) << c.address;
  EXPECT_TRUE(TNetFilter::Parse(" , ").Allows("8.8.8.8")) << "an empty list lets everyone in";
  for (const char* bad : {"10.0.0.0/33", "::/129", "10.0.0.0/", "10.0.0.0/8x", "host.example", "300.1.1.1"})
    EXPECT_THROW(TNetFilter::Parse(bad), std::invalid_argument) << bad;
}

TEST(TcpListenerTest, EveryAddressListenerTakesIpv4ClientsThroughTheAllowList) {
  test::TFakeFactory fakes;
  TTCPServer server;
  server.SetPort(0);
  server.SetEnabled(true);
  server.SetLimits("127.0.0.0/8", 8, 1024);
  ASSERT_TRUE(server.Update());
  test::TRpcClient client(server.BoundPort());
  EXPECT_EQ(client.Code("AdminUnlockPorts"), 0);
  EXPECT_THROW(server.SetLimits("127.0.0.0/99", 8, 1024), std::invalid_argument);
}

}  // namespace
}  // namespace zel
