#include "emulator/link/DeviceSession.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include "common/LogFile.h"

namespace zel {

namespace {
using Clock = std::chrono::steady_clock;

constexpr int kIdleWaitMs = 50;        // read timeout of the idle loop
constexpr int kHostAbsentWaitMs = 10;  // pause while nobody holds the pty's other end
constexpr int kWriteStallMs = 1000;    // a host that reads nothing for this long loses the bytes

int MsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left < 0 ? 0 : static_cast<int>(left);
}
}  // namespace

TDeviceSession::TDeviceSession(int fd, CommandHandler handler, TSessionOptions options, const char* logName)
    : FFd(fd),
      FWakeFd(-1),
      FIsSocket(false),
      FHandler(std::move(handler)),
      FOptions(options),
      FLogger(logName),
      FBaudRate(options.BaudRate) {
  if (FFd < 0) throw std::invalid_argument("device session: bad descriptor");
  auto fail = [this](const std::string& text) {
    close(FFd);  // the descriptor was handed over: it goes with the failed session
    FFd = -1;
    return std::runtime_error("device session: " + text);
  };
  if (!FHandler) throw fail("no command handler");
  FWakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (FWakeFd < 0) throw fail(std::string("eventfd: ") + std::strerror(errno));
  struct stat st {};
  FIsSocket = fstat(FFd, &st) == 0 && S_ISSOCK(st.st_mode);
  const int flags = fcntl(FFd, F_GETFL);
  if (flags >= 0) fcntl(FFd, F_SETFL, flags | O_NONBLOCK);
}

TDeviceSession::~TDeviceSession() {
  Stop();
  close(FWakeFd);
}

void TDeviceSession::Start() {
  ESessionState expected = ESessionState::Created;
  if (!FState.compare_exchange_strong(expected, ESessionState::Running)) return;
  FThread = std::thread([this] { Run(); });
}

void TDeviceSession::Stop() {
  FStopRequested = true;
  const std::uint64_t one = 1;
  [[maybe_unused]] const auto n = write(FWakeFd, &one, sizeof one);
  if (FThread.get_id() == std::this_thread::get_id()) return;  // from the handler: the thread ends itself
  std::lock_guard lock(FStopLock);
  if (FThread.joinable()) FThread.join();
  if (State() == ESessionState::Created) Finish(FHangUpRequested ? ESessionState::HungUp : ESessionState::Stopped);
}

void TDeviceSession::HangUp() {
  FHangUpRequested = true;
  Stop();
}

void TDeviceSession::Finish(ESessionState state) {
  FState = state;  // before the close, so a host that sees the line drop sees the state too
  if (FFd >= 0) {
    close(FFd);
    FFd = -1;
  }
}

void TDeviceSession::Run() {
  prctl(PR_SET_TIMERSLACK, 1UL);  // byte pacing sleeps for tens of microseconds
  ESessionState end = ESessionState::Stopped;
  try {
    for (;;) {
      std::uint8_t b;
      if (!ReadByte(b, kIdleWaitMs)) continue;
      if (FFaults.Silent()) continue;
      ServeByte(b);
    }
  } catch (const TSessionEnd&) {
    if (!FStopRequested) end = ESessionState::PeerClosed;
  } catch (const std::exception& e) {
    FLogger.Error("session failed", &e);
  }
  Finish(FHangUpRequested ? ESessionState::HungUp : end);
}

std::chrono::nanoseconds TDeviceSession::ByteTime() const {
  const int rate = FBaudRate.load();
  if (rate <= 0) return std::chrono::nanoseconds(0);
  return std::chrono::nanoseconds(10'000'000'000LL / rate);
}

bool TDeviceSession::ReadByte(std::uint8_t& b, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (FInPos >= FIn.size()) {
    if (!Fill(MsLeft(deadline))) {
      if (Clock::now() >= deadline) return false;
    }
  }
  b = FIn[FInPos++];
  if (const auto byteTime = ByteTime(); byteTime.count() > 0) {
    // The byte is there only once its last bit has crossed the wire.
    FInClock = std::max(FInClock, FInArrival) + byteTime;
    std::this_thread::sleep_until(FInClock);
  }
  return true;
}

bool TDeviceSession::Fill(int timeoutMs) {
  if (FStopRequested) throw TSessionEnd{};
  pollfd fds[2] = {{FFd, POLLIN, 0}, {FWakeFd, POLLIN, 0}};
  const int ready = poll(fds, 2, timeoutMs);
  if (FStopRequested) throw TSessionEnd{};
  if (ready < 0) {
    if (errno == EINTR) return false;
    throw TSessionEnd{};
  }
  if (ready == 0) return false;
  const short ev = fds[0].revents;
  if (ev & POLLNVAL) throw TSessionEnd{};
  if (ev & POLLIN) {
    std::uint8_t raw[4096];
    const ssize_t n = read(FFd, raw, sizeof raw);
    if (n > 0) {
      if (FInPos >= FIn.size()) {
        FIn.clear();
        FInPos = 0;
      }
      FInArrival = Clock::now();
      FBytesIn += static_cast<std::uint64_t>(n);
      for (ssize_t i = 0; i < n; ++i) FFaults.ApplyIn(raw[i], FIn);
      return true;
    }
    if (n == 0 && FIsSocket) throw TSessionEnd{};
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return false;
    if (FIsSocket) throw TSessionEnd{};
  } else if (!(ev & (POLLHUP | POLLERR))) {
    return false;
  } else if (FIsSocket) {
    throw TSessionEnd{};
  }
  // A pty whose other end nobody holds (the host closed or reopens the port):
  // the device stays plugged in and waits.
  WaitWake(std::min(timeoutMs, kHostAbsentWaitMs));
  return false;
}

void TDeviceSession::WaitWake(int ms) {
  if (FStopRequested) throw TSessionEnd{};
  pollfd fd{FWakeFd, POLLIN, 0};
  poll(&fd, 1, ms);
  if (FStopRequested) throw TSessionEnd{};
}

void TDeviceSession::Write(const Bytes& data) {
  if (FFaults.Silent()) return;
  if (const int delay = FFaults.TakeDelay(); delay > 0) WaitWake(delay);
  WriteAll(FFaults.ApplyOut(data));
}

void TDeviceSession::WriteAll(const Bytes& data) {
  const auto byteTime = ByteTime();
  if (byteTime.count() == 0) {
    WriteRaw(data.data(), data.size());
    return;
  }
  // Each byte leaves when its last bit would; a late wake-up sends the bytes
  // that are due at once, so a frame still ends on time.
  FOutClock = std::max(FOutClock, Clock::now());
  for (std::uint8_t b : data) {
    FOutClock += byteTime;
    std::this_thread::sleep_until(FOutClock);
    WriteRaw(&b, 1);
  }
}

void TDeviceSession::WriteRaw(const std::uint8_t* data, std::size_t size) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(kWriteStallMs);
  while (size > 0) {
    if (FStopRequested) throw TSessionEnd{};
    const ssize_t n = FIsSocket ? send(FFd, data, size, MSG_NOSIGNAL) : write(FFd, data, size);
    if (n > 0) {
      FBytesOut += static_cast<std::uint64_t>(n);
      data += n;
      size -= static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {
      if (Clock::now() >= deadline) return;  // the host does not read: the bytes are lost
      pollfd fds[2] = {{FFd, POLLOUT, 0}, {FWakeFd, POLLIN, 0}};
      poll(fds, 2, MsLeft(deadline));
      continue;
    }
    if (FIsSocket) throw TSessionEnd{};
    return;  // pty without a host: the bytes go nowhere, as on an unplugged cable
  }
}

std::optional<Bytes> TDeviceSession::Execute(const Bytes& command) {
  if (FFaults.TakeHangUp()) {
    FHangUpRequested = true;
    FStopRequested = true;
    throw TSessionEnd{};
  }
  ++FCommandCount;
  try {
    return FHandler(command);
  } catch (const std::exception& e) {
    FLogger.Error("command handler failed", &e);
  } catch (...) {
    FLogger.Error("command handler failed");
  }
  return std::nullopt;
}

void TDeviceSession::LogFrame(const char* prefix, const Bytes& data) const {
  if (LogFile().Enabled()) FLogger.WriteData(prefix, data);
}

}  // namespace zel
