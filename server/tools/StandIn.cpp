// zelserv-standin: the device side of a frame protocol on a pty, linked as
// COM<n>, answering status requests (0x10 short, 0x11 full) and "command not
// supported" (55) to everything else. Serves until SIGTERM or SIGINT.
#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/ComResolver.h"
#include "emulator/link/PtyLine.h"
#include "emulator/link/SessionFactory.h"

using namespace zel;

namespace {

constexpr std::uint8_t kNotSupported = 55;
constexpr std::uint8_t kMode = 4;  // shift closed

Bytes Answer(const Bytes& command) {
  if (command.empty()) return {};
  const std::uint8_t code = command[0];
  if (code == 0x11) {
    Bytes a(2 + 50, 0);
    a[0] = code;
    a[2 + 0] = 30;                                         // operator
    const std::uint8_t version[] = {'A', '.', '4', ' '};   // firmware version
    std::memcpy(&a[2 + 1], version, sizeof version);
    a[2 + 15] = kMode;
    const std::uint32_t serial = 123456789;
    for (int i = 0; i < 4; ++i) a[2 + 30 + i] = static_cast<std::uint8_t>(serial >> (8 * i));
    return a;
  }
  if (code == 0x10) return {code, 0x00, 30, 0x00, 0x00, kMode};
  return {code, kNotSupported};
}

int Usage() {
  std::fputs("Usage: zelserv-standin --com <n> [--protocol <0|1|2>]\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int com = 0, protocol = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--com" && i + 1 < argc)
      com = std::atoi(argv[++i]);
    else if (arg == "--protocol" && i + 1 < argc)
      protocol = std::atoi(argv[++i]);
    else
      return Usage();
  }
  if (com <= 0) return Usage();

  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTERM);
  sigaddset(&stop, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stop, nullptr);
  try {
    const TPtyLine line = OpenPtyLine();
    CreateComLink(com, line.SlavePath);
    auto session = CreateDeviceSession(protocol, line.Master, Answer);
    session->Start();
    std::printf("COM%d -> %s (protocol %d)\n", com, line.SlavePath.c_str(), protocol);
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stop, &signal);
    session->Stop();
    RemoveComLink(com);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zelserv-standin: %s\n", e.what());
    return 1;
  }
  return 0;
}
