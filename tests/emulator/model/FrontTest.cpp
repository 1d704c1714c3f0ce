// UDP announcements and the TCP port, on 127.0.0.1 with real sockets.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "emulator/front/TcpListener.h"
#include "emulator/front/UdpAnnouncer.h"

namespace zel::emu {
namespace {

// A socket bound to 127.0.0.1 on a free port.
int BoundSocket(int type, std::uint16_t& port) {
  const int fd = socket(AF_INET, type | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  socklen_t len = sizeof a;
  getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  port = ntohs(a.sin_port);
  return fd;
}

std::string Receive(int fd, int timeoutMs) {
  pollfd p{fd, POLLIN, 0};
  if (poll(&p, 1, timeoutMs) != 1) return {};
  char buf[512];
  const ssize_t n = recv(fd, buf, sizeof buf, 0);
  return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

TEST(UdpAnnouncer, SendsSerialAddressAndPortRepeatedly) {
  std::uint16_t port = 0;
  const int fd = BoundSocket(SOCK_DGRAM, port);
  std::atomic<int> asked{0};
  TUdpAnnouncer announcer(AnnounceTargetFor("lo"), 7778,
                          [&] {
                            const int n = ++asked;
                            return n == 1 ? std::string("0012345678") : n == 2 ? std::string() : std::string("0099");
                          }, port, 20);
  announcer.Start();
  EXPECT_EQ(Receive(fd, 2000), "SN=0012345678;IP=127.0.0.1; port=7778");
  EXPECT_EQ(Receive(fd, 2000), "SN=0099;IP=127.0.0.1; port=7778") << "the serial is read afresh; none, no datagram";
  announcer.Stop();
  close(fd);
  EXPECT_THROW(AnnounceTargetFor("no-such-interface0"), std::runtime_error);
}

TEST(TcpListener, HandsEachConnectionOverAndStopsAccepting) {
  TTcpListener listener;
  listener.Listen("127.0.0.1", 0);
  ASSERT_NE(listener.Port(), 0);
  std::atomic<int> accepted{0};
  listener.Start([&](int fd) {
    const char hello[] = "hi";
    (void)!write(fd, hello, 2);
    close(fd);
    ++accepted;
  });
  for (int i = 0; i < 2; ++i) {
    const int c = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(listener.Port());
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(connect(c, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    EXPECT_EQ(Receive(c, 2000), "hi");
    close(c);
  }
  listener.Stop();
  EXPECT_EQ(accepted.load(), 2);
  TTcpListener taken;
  EXPECT_THROW(taken.Listen("127.0.0.1", listener.Port()), std::runtime_error) << "the port is still held";
  EXPECT_THROW(taken.Listen("not-an-address", 0), std::runtime_error);
}

}  // namespace
}  // namespace zel::emu
