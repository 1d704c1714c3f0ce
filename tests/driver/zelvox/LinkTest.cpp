// The driver's link: answers that do not fit, a device that does not answer,
// connection types, raw exchanges, TCP streams and calls from several threads.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "common/DriverError.h"
#include "driver/HexText.h"
#include "driver/Json.h"
#include "driver/TcpPort.h"
#include "driver/catalogue/Commands.h"
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

// A device made of the catalogue: every command answers the fields given here.
TEST(Link, AnswerFieldsReachTheirPropertiesWithTheirTypes) {
  const TFieldMap fields = {
      {"Summ1", std::int64_t{12345}},   {"Summ4", std::int64_t{1}},          {"FNMarkingFillPercentage", std::int64_t{-1}},
      {"FN5YearResource", std::int64_t{700}}, {"FNImplementation", std::string("ФН-М 1.2")},
      {"DocumentCount", std::int64_t{3}}, {"Date", TDate{5, 3, 2031}}, {"Time", TTime{7, 8, 9}},
      {"ECRAdvancedMode", std::int64_t{9}}};
  TZelvox drv;
  drv.SetInProcessDevice([&](const Bytes& cmd) {
    std::size_t pos = 0;
    const TCommandDef* row = FindCommandByCode(static_cast<std::uint16_t>(ReadCode(cmd, pos)));
    return row ? EncodeAnswer(*row, 0, fields) : Bytes{cmd[0], 55};
  });
  ASSERT_EQ(drv.FNGetNonClearableSumm(), 0);
  EXPECT_DOUBLE_EQ(drv.get_Summ1(), 123.45);  // kopecks on the wire, roubles in Currency
  EXPECT_DOUBLE_EQ(drv.get_Summ4(), 0.01);
  ASSERT_EQ(drv.FNGetFreeMemoryResource(), 0);
  EXPECT_EQ(drv.get_FNMarkingFillPercentage(), -1);
  EXPECT_EQ(drv.get_FN5YearResource(), 700);
  ASSERT_EQ(drv.FNGetImplementation(), 0);
  EXPECT_EQ(drv.get_FNImplementation(), "ФН-М 1.2");
  ASSERT_EQ(drv.FNGetUnconfirmedDocCount(), 0);
  EXPECT_EQ(drv.get_DocumentCount(), 3);
  ASSERT_EQ(drv.FNGetExpirationTime(), 0);
  std::string date;
  drv.GetPropertyText("Date", date);
  EXPECT_EQ(date, "05.03.2031 00:00:00");
  ASSERT_EQ(drv.GetShortECRStatus(), 0);
  EXPECT_EQ(drv.get_ECRMode(), 0);
  EXPECT_EQ(drv.get_ECRModeDescription(), "Рабочий режим");
  EXPECT_EQ(drv.get_ECRAdvancedModeDescription(), "Неизвестный режим");
  ASSERT_EQ(drv.FNGetInfoExchangeStatus(), 0);
  drv.GetPropertyText("Time", date);
  EXPECT_EQ(date, "30.12.1899 07:08:09");
}

TEST(Link, RequisitesWithTagsOfTheirOwnAreSentAsTlv) {
  Bytes sent;
  TZelvox drv;
  drv.SetInProcessDevice([&](const Bytes& cmd) {
    sent = cmd;
    return Bytes{cmd[0], cmd[1], 0};
  });
  drv.put_CustomerEmail("a@b.ru");
  ASSERT_EQ(drv.FNSendCustomerEmail(), 0);
  EXPECT_EQ(ToHexText(sent), "FF 0C 1E 00 00 00 F0 03 06 00 61 40 62 2E 72 75");
  drv.put_UserAttributeName("Код");
  drv.put_UserAttributeValue("7");
  ASSERT_EQ(drv.FNSendUserAttribute(), 0);
  // 1084 { 1085 "Код" (1251), 1086 "7" }
  EXPECT_EQ(ToHexText(sent), "FF 0C 1E 00 00 00 3C 04 0C 00 3D 04 03 00 CA EE E4 3E 04 01 00 37");
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

int FreePort();

TEST(Link, UnreachableServerAndUnknownConnectionTypeSayWhy) {
  TZelvox drv;
  drv.put_ConnectionType(1);
  const std::string name = "127.0.0.1:" + std::to_string(FreePort());
  drv.put_ComputerName(name);
  EXPECT_EQ(drv.GetECRStatus(), -9);
  EXPECT_EQ(drv.get_ResultCodeDescription(), "Нет связи с сервером ККТ: " + name);
  drv.put_ConnectionType(5);
  EXPECT_EQ(drv.Connect(), -10);
  EXPECT_FALSE(drv.get_Connected());
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

int FreePort() {
  TListener probe;
  return probe.Port;
}

// A device server on 127.0.0.1 speaking the line protocol, with a register
// that answers every catalogue command with zeros; it records the calls.
class TFakeServer {
 public:
  TFakeServer() : FThread([this] { Serve(); }) {}
  ~TFakeServer() {
    FThread.join();
  }
  int Port() const { return FListener.Port; }
  std::vector<std::string> Calls() {
    std::lock_guard lock(FMutex);
    return FCalls;
  }

 private:
  void Serve() {
    pollfd p{FListener.Fd, POLLIN, 0};
    if (::poll(&p, 1, 5000) != 1) return;  // no client: end instead of hanging the test
    const int fd = ::accept(FListener.Fd, nullptr, nullptr);
    if (fd < 0) return;
    std::string buffer;
    char chunk[512];
    bool locked = false;
    while (true) {
      const ssize_t n = ::read(fd, chunk, sizeof chunk);
      if (n <= 0) break;
      buffer.append(chunk, static_cast<std::size_t>(n));
      std::size_t nl;
      while ((nl = buffer.find('\n')) != std::string::npos) {
        const TJson request = TJson::Parse(buffer.substr(0, nl));
        buffer.erase(0, nl + 1);
        const std::string method = request.Find("method")->Text();
        {
          std::lock_guard lock(FMutex);
          FCalls.push_back(method);
        }
        TJson result = 0;
        if (method == "SendData") {
          Bytes command;
          ParseHexText(request.Find("params")->Items()[1].Text(), command);
          std::size_t pos = 0;
          const int code = ReadCode(command, pos);
          const TCommandDef* row = FindCommandByCode(static_cast<std::uint16_t>(code));
          const Bytes answer = row ? EncodeAnswer(*row, 0, {}) : Bytes{command[0], 55};
          std::string hex = ToHexText(answer);
          std::erase(hex, ' ');
          result = TJson::Object({{"ResultCode", 0}, {"retval", hex}});
        } else if (method == "LockPort") {
          result = locked ? -18 : 0;
          locked = true;
        } else if (method == "ResultDescription") {
          result = "Порт заблокирован DESK.1.'other'";
        } else if (method == "ProtocolType") {
          result = nullptr;
        }
        const std::string line =
            TJson::Object({{"jsonrpc", "2.0"}, {"id", *request.Find("id")}, {"result", result}}).Dump() + "\n";
        if (::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size())) break;
      }
    }
    ::close(fd);
  }

  TListener FListener;
  std::mutex FMutex;
  std::vector<std::string> FCalls;
  std::thread FThread;
};

TEST(Link, ThroughTheDeviceServer) {
  TFakeServer server;
  {
    TZelvox drv;
    drv.put_ConnectionType(2);
    drv.put_ComputerName("127.0.0.1:" + std::to_string(server.Port()));
    drv.put_ComNumber(5);
    EXPECT_EQ(drv.GetECRStatus(), 0) << drv.get_ResultCodeDescription();
    EXPECT_EQ(drv.get_ECRMode(), 0);
    EXPECT_EQ(drv.LockPort(), 0);
    EXPECT_EQ(drv.LockPort(), -18);
    EXPECT_EQ(drv.get_ResultCodeDescription(), "Порт заблокирован DESK.1.'other'");
    EXPECT_EQ(drv.UnlockPort(), 0);
    EXPECT_EQ(drv.Disconnect(), 0);
  }
  // The status (serial 0 in the record) is followed by the serial-number read.
  const std::vector<std::string> expected = {"Connect", "ProtocolType", "OpenPort", "SendData", "SendData", "LockPort",
                                             "LockPort", "ResultDescription", "UnlockPort", "ClosePort"};
  EXPECT_EQ(server.Calls(), expected);
}

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
  const int freePort = FreePort();
  const auto start = std::chrono::steady_clock::now();
  TTcpPort refused("127.0.0.1", freePort, 2000);
  EXPECT_THROW(refused.Open(), EDriverError);
  TTcpPort badPort("127.0.0.1", 0, 2000);
  EXPECT_THROW(badPort.Open(), EDriverError);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

}  // namespace
}  // namespace zel
