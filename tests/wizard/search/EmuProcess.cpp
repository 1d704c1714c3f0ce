#include "tests/wizard/search/EmuProcess.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace zel::test {

EmuProcess::EmuProcess(const std::vector<std::string>& args) : TEmuProcess(ZEL_EMU_PATH, args) {
  if (!WaitReady(10000)) throw std::runtime_error("zelvox-emu did not get ready");
}

int ClosedTcpPort() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  if (s < 0 || bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) != 0)
    throw std::runtime_error("no free TCP port");
  close(s);
  return ntohs(a.sin_port);
}

}  // namespace zel::test
