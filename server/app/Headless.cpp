#include "server/app/Headless.h"

#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <exception>

#include "server/core/PrinterPort.h"
#include "server/core/Settings.h"
#include "server/core/TcpServer.h"
#include "server/core/Zelserv.h"

namespace zel {

namespace {

void Say(const std::string& text) {
  std::fprintf(stderr, "zelserv: %s\n", text.c_str());
  std::fflush(stderr);
}

// Start-up settings: the switches when there is any, else the stored ones;
// the network group always comes from the file.
TServerSettings StartupSettings(const std::vector<std::string>& switches) {
  const TServerSettings stored = LoadSettings();
  if (switches.empty()) return stored;
  TServerSettings s = SettingsFromCommandLine(switches);
  s.BindAddress = stored.BindAddress;
  s.AllowedNetworks = stored.AllowedNetworks;
  s.MaxConnections = stored.MaxConnections;
  s.MaxLineLength = stored.MaxLineLength;
  return s;
}

}  // namespace

int RunHeadless(const std::vector<std::string>& switches) {
  // Signals are taken by sigwait below, never by a worker thread.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  TPrinterPortsLink portsLink;
  TClientsLink clientsLink;
  TServerSettings settings = StartupSettings(switches);
  SetServerSettings(settings);
  portsLink.Owner().UpdateTimers();

  TTCPServer server;
  try {
    server.Configure(settings);
    server.Update();
  } catch (const std::exception& e) {
    Say(std::string("cannot start the TCP listener: ") + e.what());
    return 1;
  }
  SaveSettings(settings);
  if (server.Active())
    Say("listening on " + (settings.BindAddress.empty() ? std::string("*") : settings.BindAddress) + ":" +
        std::to_string(server.BoundPort()));
  else
    Say("TCP is off (enable it with /t<port> or TCPEnabled=1 in the settings file)");

  int signalNumber = 0;
  while (sigwait(&stopSignals, &signalNumber) != 0) {
  }
  Say(std::string("stopping on ") + (signalNumber == SIGTERM ? "SIGTERM" : "SIGINT"));

  // Every connection ends; its server object unlocks and closes its port.
  for (;;) {
    try {
      server.Stop();
      break;
    } catch (const std::exception& e) {
      Say(std::string(e.what()) + "; waiting for running exchanges");
    }
  }
  int open = 0;
  for (auto& port : portsLink.Owner().List()) open += port->Opened() ? 1 : 0;
  Say("stopped; clients " + std::to_string(clientsLink.Owner().Count()) + ", open ports " +
      std::to_string(open));
  return 0;
}

}  // namespace zel
