// What every device session shares: fault switches on the byte stream, delay,
// silence, unplugging, the host going away, sockets and wire pacing.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <gtest/gtest.h>

#include "tests/emulator/link/TestLink.h"

namespace zel::test {
namespace {

using namespace std::chrono;
using namespace std::chrono_literals;

constexpr std::uint8_t ENQ = 0x05, ACK = 0x06, NAK = 0x15;
const Bytes kCommandFC{0x02, 0x01, 0xFC, 0xFD};
const Bytes kReplyFC{ACK, 0x02, 0x02, 0xFC, 0x00, 0xFE};  // ACK, then the answer frame

template <class F>
bool WaitFor(F cond, milliseconds limit = 2000ms) {
  const auto deadline = steady_clock::now() + limit;
  while (!cond()) {
    if (steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

struct ByteFaultCase {
  const char* Name;
  EByteFault Kind;
  std::size_t Offset;
  std::uint8_t Value;
  Bytes Expected;
};

TEST(DeviceSession, OutgoingByteFaultsHitTheChosenByte) {
  const ByteFaultCase cases[] = {
      {"drop ACK", EByteFault::Drop, 0, 0, {0x02, 0x02, 0xFC, 0x00, 0xFE}},
      {"corrupt LRC", EByteFault::Corrupt, 5, 0x01, {ACK, 0x02, 0x02, 0xFC, 0x00, 0xFF}},
      {"duplicate STX", EByteFault::Duplicate, 1, 0, {ACK, 0x02, 0x02, 0x02, 0xFC, 0x00, 0xFE}},
      {"noise before STX", EByteFault::Insert, 1, 0xAA, {ACK, 0xAA, 0x02, 0x02, 0xFC, 0x00, 0xFE}},
  };
  for (const auto& c : cases) {
    TLinkFixture f(0);
    f.Session->Faults().AddByteFault(EFaultDirection::Out, c.Kind, c.Offset, c.Value);
    f.Host.Write(kCommandFC);
    EXPECT_EQ(f.Host.ReadQuiet(), c.Expected) << c.Name;
    f.Host.Write({ENQ});  // one-shot: the resend on ENQ is clean
    EXPECT_EQ(f.Host.ReadQuiet(), kReplyFC) << c.Name;
  }
}

TEST(DeviceSession, OffsetsCountFromWhenTheFaultIsSet) {
  TLinkFixture f(0);
  f.Host.Write({ENQ});
  EXPECT_EQ(f.Host.Read(1), Bytes{NAK});
  f.Session->Faults().AddByteFault(EFaultDirection::Out, EByteFault::Drop, 0);
  f.Host.Write({ENQ});
  EXPECT_TRUE(f.Host.ReadQuiet().empty());
  f.Host.Write({ENQ});
  EXPECT_EQ(f.Host.Read(1), Bytes{NAK});
}

TEST(DeviceSession, IncomingByteFaults) {
  {
    TLinkFixture f(0);  // a corrupted data byte fails the LRC
    f.Session->Faults().AddByteFault(EFaultDirection::In, EByteFault::Corrupt, 2, 0x40);
    f.Host.Write(kCommandFC);
    EXPECT_EQ(f.Host.ReadQuiet(), Bytes{NAK});
    EXPECT_TRUE(f.Device.Commands().empty());
  }
  {
    TLinkFixture f(0);  // a lost LRC leaves the frame short: NAK once the gap is too long
    f.Session->Faults().AddByteFault(EFaultDirection::In, EByteFault::Drop, 3);
    f.Host.Write(kCommandFC);
    EXPECT_EQ(f.Host.Read(1, 2000), Bytes{NAK});
    EXPECT_TRUE(f.Device.Commands().empty());
  }
  {
    TLinkFixture f(0);  // noise before the frame is skipped
    f.Session->Faults().AddByteFault(EFaultDirection::In, EByteFault::Insert, 0, 0x33);
    f.Host.Write(kCommandFC);
    EXPECT_EQ(f.Host.Read(6), kReplyFC);
  }
}

TEST(DeviceSession, DelayAndTimedSilence) {
  TLinkFixture f(0);
  f.Session->Faults().SetDelay(300, 1);
  f.Host.Write({ENQ});
  EXPECT_TRUE(f.Host.Read(1, 150).empty());
  EXPECT_EQ(f.Host.Read(1, 2000), Bytes{NAK});
  f.Host.Write({ENQ});  // only one write was delayed
  EXPECT_EQ(f.Host.Read(1, 100), Bytes{NAK});

  f.Session->Faults().SilenceFor(300);
  f.Host.Write(kCommandFC);
  EXPECT_TRUE(f.Host.ReadQuiet().empty());
  std::this_thread::sleep_for(300ms);
  f.Host.Write({ENQ});
  EXPECT_EQ(f.Host.Read(1), Bytes{NAK});
  EXPECT_TRUE(f.Device.Commands().empty());
}

TEST(DeviceSession, HangUpUnplugsTheLine) {
  TLinkFixture f(0);
  f.Host.Write({ENQ});
  EXPECT_EQ(f.Host.Read(1), Bytes{NAK});
  f.Session->HangUp();
  EXPECT_EQ(f.Session->State(), ESessionState::HungUp);
  pollfd p{f.Host.Slave(), POLLIN, 0};
  ASSERT_EQ(poll(&p, 1, 1000), 1);
  EXPECT_TRUE(p.revents & POLLHUP);
}

TEST(DeviceSession, HangUpOnCommandUnplugsBeforeAnswering) {
  TLinkFixture f(0);
  f.Session->Faults().HangUpOnCommand();
  f.Host.Write(kCommandFC);
  // The frame was taken (its ACK may be lost with the line), then the line went dead.
  const Bytes got = f.Host.Read(6);
  EXPECT_TRUE(got.empty() || got == Bytes{ACK});
  EXPECT_TRUE(WaitFor([&] { return f.Session->State() == ESessionState::HungUp; }));
  EXPECT_TRUE(f.Device.Commands().empty());
}

TEST(DeviceSession, SurvivesTheHostReopeningItsPort) {
  TLinkFixture f(0);
  f.Host.CloseSlave();
  std::this_thread::sleep_for(100ms);
  EXPECT_TRUE(f.Session->Running());
  f.Host.OpenSlave();
  f.Host.Write(kCommandFC);
  EXPECT_EQ(f.Host.Read(6), kReplyFC);
}

TEST(DeviceSession, FailingHandlerLeavesTheDeviceSilentButAlive) {
  THostEnd host;
  int calls = 0;
  auto session = CreateDeviceSession(0, host.TakeMaster(), [&](const Bytes&) -> Bytes {
    if (++calls == 1) throw std::runtime_error("model failure");
    return {0xFC, 0x00};
  });
  session->Start();
  host.Write(kCommandFC);
  EXPECT_EQ(host.ReadQuiet(), Bytes{ACK});
  host.Write(kCommandFC);
  EXPECT_EQ(host.Read(6), kReplyFC);
}

TEST(DeviceSession, ServesAConnectedSocketUntilThePeerCloses) {
  const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(listen(listener, 1), 0);
  getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len);
  const int client = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_EQ(connect(client, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  const int served = accept(listener, nullptr, nullptr);
  close(listener);
  ASSERT_GE(served, 0);

  TEchoDevice device;
  auto session = CreateDeviceSession(0, served, device.Handler());
  session->Start();
  ASSERT_EQ(write(client, kCommandFC.data(), kCommandFC.size()), 4);
  Bytes got(6);
  std::size_t have = 0;
  while (have < got.size()) {
    pollfd p{client, POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 1000), 1);
    const ssize_t n = read(client, got.data() + have, got.size() - have);
    ASSERT_GT(n, 0);
    have += static_cast<std::size_t>(n);
  }
  EXPECT_EQ(got, kReplyFC);
  close(client);
  EXPECT_TRUE(WaitFor([&] { return session->State() == ESessionState::PeerClosed; }));
}

TEST(DeviceSession, PacingTakesAtLeastTheWireTime) {
  TSessionOptions options;
  options.BaudRate = 1200;  // 8.33 ms a byte
  TLinkFixture f(0, options);
  const auto start = steady_clock::now();
  f.Host.Write(kCommandFC);
  EXPECT_EQ(f.Host.Read(6, 3000), kReplyFC);
  EXPECT_GE(steady_clock::now() - start, 10 * 8333us);
  EXPECT_EQ(f.Session->BytesIn(), 4u);
  EXPECT_TRUE(WaitFor([&] { return f.Session->BytesOut() == 6u; }));
}

TEST(DeviceSession, StopEndsANeverStartedOrBusySession) {
  THostEnd host;
  auto idle = CreateDeviceSession(0, host.TakeMaster(), [](const Bytes&) { return Bytes{}; });
  idle->Stop();
  EXPECT_EQ(idle->State(), ESessionState::Stopped);

  TSessionOptions slow;
  slow.BaudRate = 300;
  TLinkFixture f(0, slow);
  f.Device.SetAnswer(Bytes(200, 0x01));  // about 7 s of wire time
  f.Host.Write(kCommandFC);
  EXPECT_FALSE(f.Host.Read(2, 2000).empty());
  const auto start = steady_clock::now();
  f.Session->Stop();
  EXPECT_LT(steady_clock::now() - start, 2s);
  EXPECT_EQ(f.Session->State(), ESessionState::Stopped);
}

}  // namespace
}  // namespace zel::test
