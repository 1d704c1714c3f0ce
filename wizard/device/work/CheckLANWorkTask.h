#pragma once
// Checks that a register reached over the serial line (or USB network) can be
// reached over the network too: waits for its DHCP address, then connects to
// it with a driver instance of its own.
#include <cstdint>
#include <string>

#include "wizard/device/work/WorkThread.h"

namespace zel {

class TZelvox;

struct TLANCheckTarget {
  bool IsRNDIS = false;  // address and port below instead of the register's tables
  std::string IP;
  int TCPPort = 0;
};

class TCheckLANWorkTask : public TWorkThread {
 public:
  inline static constexpr int kDhcpWaitMs = 60000;
  inline static constexpr int kDhcpPollMs = 50;
  inline static constexpr int kConnectTimeoutMs = 10000;

  // driver is the wizard's driver; it must outlive the task.
  explicit TCheckLANWorkTask(TZelvox& driver, TLANCheckTarget target = {});
  ~TCheckLANWorkTask() override;

  void SetDhcpWaitMs(int ms) { FDhcpWaitMs = ms; }
  // Marks the run cancelled by the operator, then waits for the body.
  void Cancel() override;

 protected:
  void DoExecute() override;

 private:
  void Check();

  TZelvox& FDriver;
  TLANCheckTarget FTarget;
  int FDhcpWaitMs = kDhcpWaitMs;
};

}  // namespace zel
