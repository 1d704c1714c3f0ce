#pragma once
// The connection check of the network steps, run as a background task's body:
// find the register's address (waiting for DHCP when it uses it), then reach it over
// TCP with a driver of its own. Progress and outcome go to the task state.
#include <cstdint>
#include <functional>
#include <string>

#include "wizard/device/core/TaskState.h"
#include "wizard/flow/core/NetSettings.h"
#include "wizard/flow/device/DeviceTables.h"

namespace zel {

struct TLANCheckOptions {
  std::uint64_t DhcpTimeoutMs = 60000;
  int PollMs = 50;
  int ConnectTimeoutMs = 10000;
  // Reaches address:port; returns 0 or a driver result code with its description in
  // error. Empty: a second driver over TCP asks the register's status.
  std::function<int(const std::string& address, int port, int timeoutMs, std::string& error)> Connect;
};

// The whole check: ends the state with Success or with the failure text (never throws).
// With target.IsRNDIS the typed address and port are used; otherwise they are read from
// the register (tables 16 and 21), after waiting for its DHCP address when it uses DHCP.
void RunLANCheck(TDeviceTables& dev, TTaskState& state, const TCheckTarget& target,
                 const TLANCheckOptions& options = {});

// Status request over a fresh TCP driver (the default Connect).
int ConnectOverTCP(const std::string& address, int port, int timeoutMs, std::string& error);

}  // namespace zel
