#pragma once
// ITransport: how the driver carries one command to the register and brings
// its answer back. Failures are raised as EDriverError (link codes < 0).
#include <functional>
#include <memory>

#include "common/Bytes.h"

namespace zel {

class ITransport {
 public:
  virtual ~ITransport() = default;
  virtual void Open() = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // Sends a command (code first) and returns the answer (code, error byte, fields).
  virtual Bytes Send(const Bytes& command, int timeoutMs) = 0;
};

// A device in the same process, reached through a callable (tests, and the
// GUI programs' built-in virtual register). An empty answer counts as no link.
class TCallbackTransport : public ITransport {
 public:
  using TDevice = std::function<Bytes(const Bytes&)>;
  explicit TCallbackTransport(TDevice device) : FDevice(std::move(device)) {}
  void Open() override { FOpen = true; }
  void Close() override { FOpen = false; }
  bool IsOpen() const override { return FOpen; }
  Bytes Send(const Bytes& command, int timeoutMs) override;

 private:
  TDevice FDevice;
  bool FOpen = false;
};

}  // namespace zel
