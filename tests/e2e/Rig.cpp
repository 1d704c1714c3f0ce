#include "tests/e2e/Rig.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace zel::test {

int NumberAfter(const std::string& text, const std::string& prefix) {
  const auto at = text.find(prefix);
  return at == std::string::npos ? 0 : std::atoi(text.c_str() + at + prefix.size());
}

TRig::TRig(int connectionType) : FType(connectionType) {
  StartRegister();
  if (FType == 1 || FType == 2) StartServer();
}

void TRig::StartRegister(const std::vector<std::string>& options) {
  FEmulator.reset();
  std::vector<std::string> args = {"--com", std::to_string(kRigCom), "--tcp", std::to_string(FRegisterTcpPort)};
  args.insert(args.end(), options.begin(), options.end());
  FEmulator = std::make_unique<TChildProcess>(ZEL_EMU_PROGRAM, args);
  if (!FEmulator->WaitFor("ready\n", 10000))
    throw std::runtime_error("zelvox-emu did not start: " + FEmulator->Output());
  FRegisterTcpPort = NumberAfter(FEmulator->Output(), "tcp 127.0.0.1:");  // kept across restarts
}

// zelserv reads its settings from the rig's config home and resolves COM
// numbers through the links there, the same ones zelvox-emu made.
void TRig::StartServer() {
  std::filesystem::create_directories(FHome.Path() + "/Veltrona");
  std::ofstream(FHome.Path() + "/Veltrona/Zelserv.ini") << "[Zelvox]\n"
                                                           "A4\\Params\\TCPPort=0\n"
                                                           "A4\\Params\\TCPEnabled=1\n"
                                                           "[Zelserv]\n"
                                                           "Network\\BindAddress=127.0.0.1\n"
                                                           "Network\\AllowedNetworks=127.0.0.0/8\n";
  FServer = std::make_unique<TChildProcess>(ZEL_SERVER_PROGRAM, std::vector<std::string>{"--headless"},
                                            std::vector<std::string>{"DISPLAY", "WAYLAND_DISPLAY"});
  if (!FServer->WaitFor("listening on 127.0.0.1:", 10000) || !FServer->WaitFor("\n", 1000))
    throw std::runtime_error("zelserv did not start: " + FServer->Output());
  FServerPort = NumberAfter(FServer->Output(), "listening on 127.0.0.1:");
}

std::vector<std::string> TRig::LinkArgs() const {
  switch (FType) {
    case 0:
      return {"ConnectionType=0", "ComNumber=" + std::to_string(kRigCom), "BaudRate=6"};
    case 1:
    case 2:
      return {"ConnectionType=" + std::to_string(FType), "ComputerName=127.0.0.1:" + std::to_string(FServerPort),
              "ComNumber=" + std::to_string(kRigCom)};
    default:
      return {"ConnectionType=6", "UseIPAddress=1", "IPAddress=127.0.0.1", "TCPPort=" + std::to_string(FRegisterTcpPort)};
  }
}

}  // namespace zel::test
