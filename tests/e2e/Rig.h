#pragma once
// TRig: one virtual register (zelvox-emu on a pty linked as a COM number and on
// a TCP port) and, for connection types 1 and 2, a headless zelserv in front
// of it, all in a private XDG_CONFIG_HOME. LinkArgs() are the driver
// properties ("Name=value") that reach the register over the chosen type.
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/ChildProcess.h"
#include "tests/support/TempConfig.h"

namespace zel::test {

inline constexpr int kRigCom = 21;

class TRig {
 public:
  // Throws std::runtime_error when a program does not come up within 10 s.
  explicit TRig(int connectionType);
  // (Re)starts the register with extra zelvox-emu options (faults, state).
  void StartRegister(const std::vector<std::string>& options = {});
  void StopRegister() { FEmulator.reset(); }
  // Waits until the register printed text (e.g. "unplugged").
  bool RegisterSaid(const std::string& text, int timeoutMs) { return FEmulator && FEmulator->WaitFor(text, timeoutMs); }
  std::vector<std::string> LinkArgs() const;
  const std::string& Home() const { return FHome.Path(); }

 private:
  void StartServer();
  int FType;
  ScopedConfigHome FHome;
  std::unique_ptr<TChildProcess> FEmulator;
  std::unique_ptr<TChildProcess> FServer;
  int FRegisterTcpPort = 0;
  int FServerPort = 0;
};

// The number after prefix in text ("tcp 127.0.0.1:" -> port), 0 when absent.
int NumberAfter(const std::string& text, const std::string& prefix);

}  // namespace zel::test
