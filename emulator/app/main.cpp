// zelvox-emu: a virtual fiscal register on a pty and/or a TCP port.
#include <signal.h>

#include <cstdio>
#include <ctime>
#include <exception>
#include <iostream>

#include "emulator/app/EmuServer.h"

int main(int argc, char** argv) {
  zel::emu::TEmuOptions options;
  try {
    options = zel::emu::ParseEmuOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::cerr << "zelvox-emu: " << e.what() << "\n";
    return 2;
  }
  if (options.help) {
    std::cout << zel::emu::EmuUsage();
    return 0;
  }
  // Signals are taken by this thread only; every thread started later inherits the mask.
  sigset_t stops;
  sigemptyset(&stops);
  sigaddset(&stops, SIGINT);
  sigaddset(&stops, SIGTERM);
  sigaddset(&stops, SIGUSR1);  // power cycle of the register
  pthread_sigmask(SIG_BLOCK, &stops, nullptr);
  signal(SIGPIPE, SIG_IGN);

  zel::emu::TEmuServer server(options);
  try {
    server.Start();
  } catch (const std::exception& e) {
    std::cerr << "zelvox-emu: " << e.what() << "\n";
    return 1;
  }
  if (!server.PtyPath().empty()) std::cout << "pty " << server.PtyPath() << "\n";
  if (options.comNumber > 0) std::cout << "com " << options.comNumber << "\n";
  if (options.tcpPort) std::cout << "tcp " << options.listenAddress << ":" << server.TcpPort() << "\n";
  std::cout << "ready" << std::endl;

  const timespec tick{0, 50'000'000};
  for (;;) {
    const int sig = sigtimedwait(&stops, nullptr, &tick);
    if (sig == SIGINT || sig == SIGTERM) break;
    if (sig == SIGUSR1) {
      server.Model().Restart();
      std::cout << "restarted" << std::endl;
    }
    if (server.UnplugDue()) {
      server.Unplug();
      std::cout << "unplugged" << std::endl;
    }
  }
  server.Stop();
  std::cout << "stopped" << std::endl;
  return 0;
}
