// The driver's link: answers that do not fit, a device that does not answer,
// connection types, raw exchanges, TCP streams and calls from several threads.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "common/DriverError.h"
#include "driver/TcpPort.h"
#include "driver/Zelvox.h"

namespace zel {
namespace {

TEST(Link, BadAnswersGiveDriverCodes) {
  struct Case {
    const char* Name;
    Bytes Answer;
    int Code;
  };
  const Case cases[] = {
      {"silence", {}, -1},
      {"only the code", {0x13}, -5},
      {"another code", {0x14, 0x00, 0x1E}, -4},
      {"device error", {0x13, 0x4F}, 79},
      {"fields cut short", {0x13, 0x00}, -5},
      {"done", {0x13, 0x00, 0x1E}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TZelvox drv;
    drv.SetInProcessDevice([&](const Bytes&) { return c.Answer; });
    EXPECT_EQ(drv.Beep(), c.Code);
    EXPECT_EQ(drv.get_ResultCode(), c.Code);
    EXPECT_FALSE(drv.get_ResultCodeDescription().empty());
  }
}

TEST(Link, LinkOpensOnDemandAndFollowsConnected) {
  int opened = 0;
  TZelvox drv;
  drv.SetInProcessDevice([&](const Bytes& cmd) {
    ++opened;
    return Bytes{cmd[0], 0x00, 0x1E};
  });
  EXPECT_FALSE(drv.get_Connected());
  EXPECT_EQ(drv.Beep(), 0);
  EXPECT_TRUE(drv.get_Connected());
  EXPECT_EQ(drv.Disconnect(), 0);
  EXPECT_FALSE(drv.get_Connected());
  drv.put_Connected(true);
  EXPECT_TRUE(drv.get_Connected());
  drv.put_Connected(false);
  EXPECT_FALSE(drv.get_Connected());
  EXPECT_EQ(opened, 1);
}

TEST(Link, ConnectionTypesWithoutTheirTransportSayWhy) {
  TZelvox drv;
  drv.put_ConnectionType(1);
  drv.put_ComputerName("server-a");
  EXPECT_EQ(drv.GetECRStatus(), -9);
  EXPECT_EQ(drv.get_ResultCodeDescription(), "Нет связи с сервером ККТ: server-a");
  drv.put_ConnectionType(5);
  EXPECT_EQ(drv.Connect(), -10);
  EXPECT_FALSE(drv.get_Connected());
}

TEST(Link, ExchangeBytesTakesHexEitherWayAndReturnsTheErrorByte) {
  Bytes seen;
  TZelvox drv;
  drv.SetInProcessDevice([&](const Bytes& cmd) {
    seen = cmd;
    if (cmd.size() == 1) return Bytes{cmd[0], 55};
    return Bytes{cmd[0], 0x00, 0x1E};
  });
  drv.put_BinaryConversion(1);
  drv.put_TransferBytes("13 1e 00 00 00");
  EXPECT_EQ(drv.ExchangeBytes(), 0);
  EXPECT_EQ(seen, (Bytes{0x13, 0x1E, 0, 0, 0}));
  EXPECT_EQ(drv.get_TransferBytes(), "13 00 1E");
  drv.put_TransferBytes("131E000000");
  EXPECT_EQ(drv.ExchangeBytes(), 0);
  EXPECT_EQ(seen, (Bytes{0x13, 0x1E, 0, 0, 0}));
  drv.put_TransferBytes("0a");
  EXPECT_EQ(drv.ExchangeBytes(), 55);
  EXPECT_EQ(drv.get_TransferBytes(), "0A 37");
  for (const char* bad : {"", "1G", "123"}) {
    drv.put_TransferBytes(bad);
    EXPECT_EQ(drv.ExchangeBytes(), -6) << bad;
  }
}

TEST(Link, OneInstanceServesSeveralThreadsOneCallAtATime) {
  std::atomic<int> inside{0};
  std::atomic<bool> overlapped{false};
  TZelvox drv;
  drv.SetInProcessDevice([&](const Bytes& cmd) {
    if (inside.fetch_add(1) != 0) overlapped = true;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    inside.fetch_sub(1);
    return Bytes{cmd[0], 0x00, cmd.size() > 1 ? cmd[1] : std::uint8_t{0}};
  });
  std::vector<std::thread> threads;
  std::atomic<int> failures{0};
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 50; ++i) {
        // Each call's own request and answer stay together.
        if (drv.Beep() != 0) ++failures;
        if (t == 0) drv.put_Password(30);
      }
    });
  for (auto& th : threads) th.join();
  EXPECT_FALSE(overlapped);
  EXPECT_EQ(failures, 0);
}

// A listening socket on 127.0.0.1 with an ephemeral port.
struct TListener {
  int Fd = -1;
  int Port = 0;
  TListener() {
    Fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(Fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(Fd, 1);
    socklen_t len = sizeof a;
    ::getsockname(Fd, reinterpret_cast<sockaddr*>(&a), &len);
    Port = ntohs(a.sin_port);
  }
  ~TListener() { ::close(Fd); }
};

TEST(TcpPort, CarriesBytesAndReportsAClosedPeerAsNoLink) {
  TListener server;
  TTcpPort port("127.0.0.1", server.Port, 1000);
  port.Open();
  const int peer = ::accept(server.Fd, nullptr, nullptr);
  ASSERT_GE(peer, 0);
  port.Write(Bytes{0x05});
  std::uint8_t c = 0;
  ASSERT_EQ(::read(peer, &c, 1), 1);
  EXPECT_EQ(c, 0x05);
  const std::uint8_t reply[] = {0x06, 0x02, 0x03};
  ASSERT_EQ(::write(peer, reply, 3), 3);
  port.SetCmdTimeout(500);
  ASSERT_TRUE(port.ReadChar(c));
  EXPECT_EQ(c, 0x06);
  EXPECT_EQ(port.ReadEx(2, 500), (Bytes{0x02, 0x03}));
  EXPECT_FALSE(port.ReadChar(c));  // nothing more within the timeout
  ::close(peer);
  try {
    port.ReadEx(1, 500);
    FAIL() << "read from a closed peer succeeded";
  } catch (const EDriverError& e) {
    EXPECT_EQ(e.ErrorCode(), -1);
  }
  EXPECT_FALSE(port.GetOpened());
}

TEST(TcpPort, RefusedOrUnreachableConnectFailsWithinTheTimeout) {
  int freePort = 0;
  {
    TListener probe;
    freePort = probe.Port;
  }
  const auto start = std::chrono::steady_clock::now();
  TTcpPort refused("127.0.0.1", freePort, 2000);
  EXPECT_THROW(refused.Open(), EDriverError);
  TTcpPort badPort("127.0.0.1", 0, 2000);
  EXPECT_THROW(badPort.Open(), EDriverError);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

}  // namespace
}  // namespace zel
