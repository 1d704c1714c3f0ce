#include "tests/support/PortHolder.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace zel::test {

PortHolder::PortHolder(const std::string& devicePath) {
  int toChild[2], fromChild[2];
  if (::pipe2(toChild, O_CLOEXEC) != 0) throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
  if (::pipe2(fromChild, O_CLOEXEC) != 0) {
    ::close(toChild[0]);
    ::close(toChild[1]);
    throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
  }
  FPid = ::fork();
  if (FPid == 0) {
    // Child: only async-signal-safe calls from here on.
    ::close(toChild[1]);
    ::close(fromChild[0]);
    const int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    char ok = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 1 : 0;
    [[maybe_unused]] ssize_t n = ::write(fromChild[1], &ok, 1);
    pollfd p{toChild[0], POLLIN, 0};
    ::poll(&p, 1, 60000);  // until the parent lets go (or a minute at most)
    ::_exit(0);
  }
  const int forkError = errno;
  ::close(toChild[0]);
  ::close(fromChild[1]);
  FPipe = toChild[1];
  if (FPid < 0) {
    ::close(fromChild[0]);
    ::close(FPipe);
    throw std::runtime_error(std::string("fork: ") + std::strerror(forkError));
  }
  char ok = 0;
  pollfd p{fromChild[0], POLLIN, 0};
  const bool answered = ::poll(&p, 1, 10000) == 1 && ::read(fromChild[0], &ok, 1) == 1;
  ::close(fromChild[0]);
  if (!answered || !ok) {
    Release();
    throw std::runtime_error("the holder process could not take " + devicePath);
  }
}

PortHolder::~PortHolder() { Release(); }

void PortHolder::Release() {
  if (FPipe >= 0) ::close(FPipe);
  FPipe = -1;
  if (FPid > 0) {
    int status = 0;
    for (int i = 0; i < 200 && ::waitpid(FPid, &status, WNOHANG) == 0; ++i) ::usleep(10000);
    if (::waitpid(FPid, &status, WNOHANG) == 0) {
      ::kill(FPid, SIGKILL);
      ::waitpid(FPid, &status, 0);
    }
  }
  FPid = -1;
}

}  // namespace zel::test
