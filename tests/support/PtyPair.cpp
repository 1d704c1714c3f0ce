#include "tests/support/PtyPair.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace zel::test {

namespace {
using Clock = std::chrono::steady_clock;

void MakeRaw(int fd) {
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) throw std::runtime_error(std::string("tcgetattr: ") + std::strerror(errno));
  ::cfmakeraw(&tio);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (::tcsetattr(fd, TCSANOW, &tio) != 0) throw std::runtime_error(std::string("tcsetattr: ") + std::strerror(errno));
}

int MillisLeft(Clock::time_point deadline) {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return ms < 0 ? 0 : static_cast<int>(ms);
}
}  // namespace

PtyPair::PtyPair() {
  FMaster = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (FMaster < 0) throw std::runtime_error(std::string("posix_openpt: ") + std::strerror(errno));
  char name[256];
  if (::grantpt(FMaster) != 0 || ::unlockpt(FMaster) != 0 || ::ptsname_r(FMaster, name, sizeof name) != 0) {
    const int e = errno;
    ::close(FMaster);
    throw std::runtime_error(std::string("pty set-up: ") + std::strerror(e));
  }
  FSlavePath = name;
  ::fcntl(FMaster, F_SETFL, ::fcntl(FMaster, F_GETFL) | O_NONBLOCK);
  // Until the port opens the slave, a read on the master would fail with EIO
  // and written bytes could be lost: keep one slave descriptor of our own.
  FSlaveKeeper = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  if (FSlaveKeeper < 0) {
    const int e = errno;
    ::close(FMaster);
    throw std::runtime_error(std::string("open ") + name + ": " + std::strerror(e));
  }
  MakeRaw(FSlaveKeeper);
  MakeRaw(FMaster);
}

PtyPair::~PtyPair() {
  if (FSlaveKeeper >= 0) ::close(FSlaveKeeper);
  if (FMaster >= 0) ::close(FMaster);
}

void PtyPair::Send(const Bytes& data) const {
  if (FMaster < 0) throw std::runtime_error("pty unplugged");
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(FMaster, data.data() + done, data.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) throw std::runtime_error(std::string("pty write: ") + std::strerror(errno));
    pollfd p{FMaster, POLLOUT, 0};
    if (::poll(&p, 1, MillisLeft(deadline)) == 0) throw std::runtime_error("pty write timed out");
  }
}

Bytes PtyPair::Receive(std::size_t count, int timeoutMs) const {
  Bytes out;
  if (FMaster < 0) return out;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::uint8_t buf[4096];
  while (out.size() < count) {
    pollfd p{FMaster, POLLIN, 0};
    const int r = ::poll(&p, 1, MillisLeft(deadline));
    if (r <= 0 || !(p.revents & POLLIN)) break;
    const ssize_t n = ::read(FMaster, buf, std::min(sizeof buf, count - out.size()));
    if (n > 0)
      out.insert(out.end(), buf, buf + n);
    else if (n == 0 || (errno != EAGAIN && errno != EINTR))
      break;
  }
  return out;
}

Bytes PtyPair::ReceiveAll(int quietMs) const {
  Bytes out;
  for (;;) {
    Bytes more = Receive(4096, quietMs);
    if (more.empty()) return out;
    out.insert(out.end(), more.begin(), more.end());
  }
}

void PtyPair::Unplug() {
  if (FSlaveKeeper >= 0) ::close(FSlaveKeeper);
  FSlaveKeeper = -1;
  if (FMaster >= 0) ::close(FMaster);
  FMaster = -1;
}

}  // namespace zel::test
