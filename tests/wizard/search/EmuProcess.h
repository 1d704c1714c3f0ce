#pragma once
// One zelvox-emu process for the length of a test: started with the given
// options, ready when constructed, ended when destroyed.
#include <string>
#include <vector>

#include "tests/support/EmuProcess.h"

namespace zel::test {

class EmuProcess : public TEmuProcess {
 public:
  // Throws std::runtime_error when the program does not get ready within 10 s.
  explicit EmuProcess(const std::vector<std::string>& args);
};

// A TCP port on 127.0.0.1 that nobody listens on (bound once, then let go).
int ClosedTcpPort();

}  // namespace zel::test
