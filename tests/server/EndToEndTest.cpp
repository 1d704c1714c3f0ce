// The whole road over 127.0.0.1 TCP, the real engines and serial ports, and
// the device side of the frame protocols on ptys.
#include <gtest/gtest.h>

#include <QJsonObject>

#include <atomic>
#include <cstdio>
#include <thread>

#include "server/core/PrinterPort.h"
#include "server/core/TcpServer.h"
#include "tests/server/PtyDevice.h"
#include "tests/server/RpcClient.h"
#include "tests/server/TestEnv.h"
#include "tests/support/TempConfig.h"

namespace zel {
namespace {

using test::TPtyDevice;
using test::TRpcClient;
using test::WaitFor;

class EndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FServer.SetBindAddress("127.0.0.1");
    FServer.SetPort(0);
    FServer.SetEnabled(true);
    ASSERT_TRUE(FServer.Update());
    FPort = FServer.BoundPort();
  }
  static QJsonObject Send(TRpcClient& c, const std::string& hex) {
    return c.Result("SendData", "[2000,\"" + hex + "\"]").toObject();
  }
  static int SendCode(TRpcClient& c, const std::string& hex) { return Send(c, hex).value("ResultCode").toInt(); }

  test::ScopedConfigHome FHome;  // COM links of this test only
  TPrinterPortsLink FPorts;
  TTCPServer FServer;
  int FPort = 0;
};

TEST_F(EndToEndTest, TwoClientsShareALockedPortAndAKilledHolderLetsGo) {
  TPtyDevice device(3);
  auto a = std::make_unique<TRpcClient>(FPort);
  TRpcClient b(FPort);
  ASSERT_EQ(a->Code("Connect", R"([11,"till","SHOP"])"), 0);
  ASSERT_EQ(a->Code("OpenPort", "[3,2,100]"), 0);
  ASSERT_EQ(b.Code("OpenPort", "[3,2,100]"), 0);
  ASSERT_EQ(a->Code("LockPort", "[3]"), 0);
  EXPECT_EQ(b.Code("LockPort", "[3]"), -18);
  EXPECT_EQ(b.Result("ResultDescription").toString().toStdString(), "Порт заблокирован SHOP.11.'till'");

  const QJsonObject answer = Send(*a, "111e000000");
  EXPECT_EQ(answer.value("ResultCode").toInt(), 0);
  EXPECT_EQ(answer.value("retval").toString().size(), 2 * 52);
  EXPECT_EQ(Send(b, "10aabb").value("retval").toString(), "1000aabb") << "B still sends";
  EXPECT_FALSE(a->Result("RawTxData").toString().isEmpty());
  EXPECT_EQ(device.TakeCommands(), (std::vector<Bytes>{{0x11, 0x1e, 0, 0, 0}, {0x10, 0xaa, 0xbb}}));

  a->Abort();  // a client killed while it holds the lock
  EXPECT_TRUE(WaitFor([&] { return FServer.ConnectionCount() == 1; }));
  EXPECT_EQ(b.Code("LockPort", "[3]"), 0);
  EXPECT_EQ(SendCode(b, "10"), 0) << "the port closed by A's release opens again";
}

TEST_F(EndToEndTest, AnUnpluggedPortFailsOnlyItsOwnClientsAndRecoversWhenBack) {
  TPtyDevice first(11), second(12);
  TRpcClient a(FPort), b(FPort);
  ASSERT_EQ(a.Code("OpenPort", "[11,2,100]"), 0);
  ASSERT_EQ(b.Code("OpenPort", "[12,2,100]"), 0);
  ASSERT_EQ(SendCode(a, "10"), 0);
  ASSERT_EQ(SendCode(b, "10"), 0);

  first.Unplug();
  // The exchange that meets the hang-up reports no link; once the port has
  // noticed the removal and closed, reopening the vanished line is refused.
  const int code = SendCode(a, "10");
  const std::string text = a.Result("ResultDescription").toString().toStdString();
  EXPECT_TRUE((code == -1 && text == "Нет связи") || (code == -2 && text == "СOM порт недоступен"))
      << code << " " << text;
  EXPECT_EQ(a.Code("ResultCode"), code);
  EXPECT_EQ(SendCode(b, "10"), 0) << "the other port keeps working";

  first.Plug();
  EXPECT_EQ(SendCode(a, "10"), 0) << "the next command after re-plugging";
  EXPECT_EQ(a.Code("ResultCode"), 0);
}

TEST_F(EndToEndTest, SilenceCancelsTheOpenReceiptOnTheDevice) {
  TServerSettings s;
  s.AutoPortClose = true;
  s.AutoRecCancel = true;
  s.CloseTimeout = 300;
  test::TScopedSettings scoped(s);
  TPtyDevice device(4);
  device.SetMode(8);
  TRpcClient c(FPort);
  ASSERT_EQ(c.Code("OpenPort", "[4,2,100]"), 0);
  ASSERT_EQ(c.Code("OpenCheck", "[4,30]"), 0);
  ASSERT_EQ(c.Code("LockPort", "[4]"), 0);
  ASSERT_TRUE(WaitFor([&] { return !FPorts.Owner().ItemByPortNumber(4)->Locked(); }, 10000));
  auto commands = device.TakeCommands();
  ASSERT_GE(commands.size(), 2u);
  EXPECT_EQ(commands[0], (Bytes{0x11, 30, 0, 0, 0}));
  EXPECT_EQ(commands[1], (Bytes{0x88, 30, 0, 0, 0}));
}

TEST_F(EndToEndTest, FiftyClientsOverFourPortsEachGetTheirOwnAnswers) {
  constexpr int kClients = 50, kCommands = 200, kPorts = 4;
  std::vector<std::unique_ptr<TPtyDevice>> devices;
  for (int p = 0; p < kPorts; ++p) devices.push_back(std::make_unique<TPtyDevice>(21 + p, p % 3));
  std::atomic<int> wrong{0}, failures{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < kClients; ++i)
    threads.emplace_back([&, i] {
      try {
        TRpcClient c(FPort, 60000);
        c.Result("ProtocolType", "[" + std::to_string(i % kPorts % 3) + "]");
        if (c.Code("OpenPort", "[" + std::to_string(21 + i % kPorts) + ",6,200]") != 0) ++failures;
        for (int n = 0; n < kCommands; ++n) {
          char tx[16], expected[16];
          std::snprintf(tx, sizeof tx, "30%02x%04x", i, n);
          std::snprintf(expected, sizeof expected, "3000%02x%04x", i, n);
          const QJsonObject r = Send(c, tx);
          if (r.value("retval").toString().toStdString() != expected || r.value("ResultCode").toInt() != 0) ++wrong;
        }
      } catch (const std::exception&) {
        ++failures;
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(wrong, 0);
  std::uint64_t total = 0;
  for (auto& d : devices) total += d->CommandCount();
  EXPECT_EQ(total, static_cast<std::uint64_t>(kClients * kCommands));
}

}  // namespace
}  // namespace zel
