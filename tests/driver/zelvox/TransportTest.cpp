// The driver over the real frame engine: straight TCP (ConnectionType 6) and
// a serial port (ConnectionType 0, a pty linked as a COM number), with a small
// device-side ENQ responder in front of the virtual register.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "common/ComResolver.h"
#include "driver/Zelvox.h"
#include "emulator/model/CommandHandler.h"
#include "emulator/model/DeviceModel.h"

namespace zel {
namespace {

constexpr std::uint8_t ENQ = 0x05, STX = 0x02, ACK = 0x06, NAK = 0x15;

// Device side of the ENQ protocol on one descriptor until stop is set or the
// line closes: NAK to ENQ when idle, ACK to a good frame, then the answer frame.
class TEnqDevice {
 public:
  explicit TEnqDevice(emu::TCommandHandler& handler) : FHandler(handler) {}
  ~TEnqDevice() { Stop(); }
  void Start(int fd) {
    FFd = fd;
    FThread = std::thread([this] { Run(); });
  }
  void Stop() {
    FStop = true;
    if (FThread.joinable()) FThread.join();
  }
  // Stops answering (the register goes silent) while set.
  std::atomic<bool> Silent{false};

 private:
  bool ReadByte(std::uint8_t& c, int timeoutMs) {
    pollfd p{FFd, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) != 1 || !(p.revents & POLLIN)) return false;
    return ::read(FFd, &c, 1) == 1;
  }
  void Write(const Bytes& b) {
    if (::write(FFd, b.data(), b.size()) != static_cast<ssize_t>(b.size())) FStop = true;
  }
  void Run() {
    Bytes pending;
    while (!FStop) {
      std::uint8_t c = 0;
      if (!ReadByte(c, 50)) continue;
      if (Silent) continue;
      if (c == ENQ) {
        if (pending.empty()) {
          Write({NAK});
        } else {
          Write({ACK});
          Write(pending);
        }
      } else if (c == ACK) {
        pending.clear();
      } else if (c == STX) {
        std::uint8_t len = 0;
        if (!ReadByte(len, 500)) continue;
        Bytes data(len);
        std::uint8_t lrc = len, got = 0;
        bool ok = true;
        for (auto& b : data) ok = ok && ReadByte(b, 500), lrc ^= b;
        ok = ok && ReadByte(got, 500) && got == lrc;
        if (!ok) {
          Write({NAK});
          continue;
        }
        Write({ACK});
        const Bytes answer = FHandler.Handle(data);
        pending = {STX, static_cast<std::uint8_t>(answer.size())};
        std::uint8_t sum = static_cast<std::uint8_t>(answer.size());
        for (auto b : answer) pending.push_back(b), sum ^= b;
        pending.push_back(sum);
        Write(pending);
      }
    }
  }

  emu::TCommandHandler& FHandler;
  int FFd = -1;
  std::atomic<bool> FStop{false};
  std::thread FThread;
};

class FrameTransportTest : public ::testing::Test {
 protected:
  emu::TDeviceModel model;
  emu::TCommandHandler handler{model};
  TEnqDevice device{handler};

  void CheckStatusAndRegister(TZelvox& drv) {
    EXPECT_EQ(drv.GetECRStatus(), 0) << drv.get_ResultCodeDescription();
    EXPECT_EQ(drv.get_ECRMode(), 4);
    EXPECT_EQ(drv.get_ECRInput(), "11 1E 00 00 00");
    drv.put_TableNumber(18);
    drv.put_RowNumber(1);
    drv.put_FieldNumber(7);
    drv.put_ValueOfFieldString("ИП Петров");
    EXPECT_EQ(drv.WriteTable(), 0) << drv.get_ResultCodeDescription();
    drv.put_ValueOfFieldString("");
    EXPECT_EQ(drv.ReadTable(), 0);
    EXPECT_EQ(drv.get_ValueOfFieldString(), "ИП Петров");
  }
};

TEST_F(FrameTransportTest, StraightTcpToTheRegister) {
  const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  ASSERT_EQ(::listen(listener, 1), 0);
  socklen_t len = sizeof a;
  ::getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len);

  TZelvox drv;
  drv.put_ConnectionType(6);
  drv.put_IPAddress("127.0.0.1");
  drv.put_TCPPort(ntohs(a.sin_port));
  drv.put_Timeout(1000);
  std::thread accepter([&] {
    pollfd p{listener, POLLIN, 0};
    if (::poll(&p, 1, 5000) == 1) device.Start(::accept(listener, nullptr, nullptr));
  });
  EXPECT_EQ(drv.Connect(), 0) << drv.get_ResultCodeDescription();
  accepter.join();
  CheckStatusAndRegister(drv);

  // A register that stops answering gives -1 within the link's limits.
  device.Silent = true;
  drv.put_Timeout(100);
  drv.put_MaxAnswerReadCount(1);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(drv.Beep(), -1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  device.Silent = false;
  drv.Disconnect();
  device.Stop();
  ::close(listener);
}

TEST_F(FrameTransportTest, LocalSerialPortByComNumber) {
  const std::string home = ::testing::TempDir() + "/zelvox-com-" + std::to_string(::getpid());
  std::filesystem::create_directories(home);
  ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(::grantpt(master), 0);
  ASSERT_EQ(::unlockpt(master), 0);
  CreateComLink(200, ::ptsname(master));
  device.Start(master);

  TZelvox drv;
  drv.put_ConnectionType(0);
  drv.put_ComNumber(200);
  drv.put_BaudRate(6);
  drv.put_Timeout(1000);
  CheckStatusAndRegister(drv);
  drv.Disconnect();

  // The search starts with the number and speed set and finds the register.
  drv.put_BaudRate(2);
  drv.put_SearchTimeout(300);
  EXPECT_EQ(drv.FindDevice(), 0) << drv.get_ResultCodeDescription();
  EXPECT_EQ(drv.get_ComNumber(), 200);

  // A number that reaches no device gives "port unavailable".
  drv.put_ComNumber(201);
  CreateComLink(201, home + "/missing-device");
  EXPECT_EQ(drv.GetECRStatus(), -2);
  device.Stop();
  ::close(master);
  std::filesystem::remove_all(home);
}

}  // namespace
}  // namespace zel
