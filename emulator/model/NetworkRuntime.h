#pragma once
// The register's network link as it runs: settings written to the network tables
// (16, 21, 22) take effect at the next restart, and an address by DHCP arrives some
// time after that restart.
#include <cstdint>

namespace zel::emu {

struct TNetworkRuntime {
  bool restartPending = false;    // network tables written since the last restart
  std::int64_t restartedAtMs = 0; // host time of the last restart (0 = none yet)
  int dhcpDelayMs = 0;            // time from a restart until the DHCP state is reached
  int restarts = 0;
  bool restartRequired = false;  // no DHCP address while written settings wait for a restart
};

inline bool IsNetworkTable(int table) { return table == 16 || table == 21 || table == 22; }

}  // namespace zel::emu
