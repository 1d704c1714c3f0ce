// zelserv: shares the registers on this machine's serial ports with clients
// over TCP.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/Translate.h"
#include "server/app/Headless.h"
#ifdef ZEL_SERVER_WINDOW
#include "server/gui/WindowApp.h"
#endif

namespace {

const char kUsage[] =
    "Usage: zelserv [--headless] [/t<port>] [/a] [/p<seconds>] [/r]\n"
    "Shares fiscal registers on serial ports with clients over TCP (JSON-RPC 2.0).\n"
    "\n"
    "  --headless   serve without a window (also the default without a display)\n"
    "  --help       show this text\n"
    "  --version    show the version\n"
    "  /t<port>     listen on TCP port <port> (211 when omitted; /t0 turns TCP off)\n"
    "  /a           unlock a port after its inactivity timeout\n"
    "  /p<seconds>  inactivity timeout (10 when omitted)\n"
    "  /r           cancel a receipt left open when the timeout expires\n"
    "\n"
    "With any of the /-switches (or -Embedding) the settings are those switches;\n"
    "without, they come from $XDG_CONFIG_HOME/Veltrona/Zelserv.ini. Either way they\n"
    "are saved there. Stop with SIGTERM or SIGINT.\n";

}  // namespace

int main(int argc, char** argv) {
  zel::SetTextDomain("Zelserv");
  zel::SetLanguage("");
  bool headless = false;
  std::vector<std::string> switches;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--version") {
      std::printf("zelserv %s\n", ZEL_VERSION);
      return 0;
    }
    if (arg == "--headless")
      headless = true;
    else
      switches.push_back(arg);
  }
#ifdef ZEL_SERVER_WINDOW
  if (!headless && zel::DisplayAvailable()) return zel::RunWindow(argc, argv, switches);
#else
  const bool display = (std::getenv("DISPLAY") && *std::getenv("DISPLAY")) ||
                       (std::getenv("WAYLAND_DISPLAY") && *std::getenv("WAYLAND_DISPLAY"));
  if (!headless && display)
    std::fputs("zelserv: this build has no main window; serving headless\n", stderr);
#endif
  return zel::RunHeadless(switches);
}
