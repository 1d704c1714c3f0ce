#include "emulator/link/PtyLine.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace zel {

namespace {
[[noreturn]] void Fail(int fd, const char* call) {
  const std::string text = std::string("pty line: ") + call + ": " + std::strerror(errno);
  if (fd >= 0) close(fd);
  throw std::runtime_error(text);
}
}  // namespace

TPtyLine OpenPtyLine() {
  const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0) Fail(-1, "posix_openpt");
  if (grantpt(master) != 0) Fail(master, "grantpt");
  if (unlockpt(master) != 0) Fail(master, "unlockpt");
  char name[128];
  if (ptsname_r(master, name, sizeof name) != 0) Fail(master, "ptsname_r");
  // Line settings made on the master apply to the slave's side of the pair.
  termios tio{};
  if (tcgetattr(master, &tio) != 0) Fail(master, "tcgetattr");
  cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  if (tcsetattr(master, TCSANOW, &tio) != 0) Fail(master, "tcsetattr");
  return {master, name};
}

}  // namespace zel
