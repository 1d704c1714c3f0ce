#pragma once
// TDeviceNotification: tells the owner of an open serial port that the device
// behind it went away. One process-wide watcher thread listens to udev (tty
// removals, matched by device number) and to hang-ups on the installed
// descriptors (a closed pty master, an unplugged USB adapter). The event runs
// on the watcher thread: keep it short and never close the port from it.
#include <cstdint>
#include <functional>

#include "common/Logger.h"

namespace zel {

class TDeviceNotification {
 public:
  // Event code of a completed removal.
  static constexpr unsigned kDeviceRemoveComplete = 0x8004;
  using TDeviceChangeEvent = std::function<void(TDeviceNotification& sender, unsigned eventCode)>;

  TDeviceNotification() = default;
  ~TDeviceNotification();
  TDeviceNotification(const TDeviceNotification&) = delete;
  TDeviceNotification& operator=(const TDeviceNotification&) = delete;

  void SetOnDeviceChange(TDeviceChangeEvent handler) { FOnDeviceChange = std::move(handler); }
  // Watches the device behind fd (replacing an earlier watch). Never raises;
  // a watch that cannot be set up is logged and the port stays usable.
  void Install(int fd);
  // Stops watching; once it returns no event of this object is running or will run.
  void Uninstall();
  bool Installed() const { return FId != 0; }

  // Called by the watcher thread.
  void Notify(unsigned eventCode);

 private:
  TLogger FLogger{"TDeviceNotification"};
  TDeviceChangeEvent FOnDeviceChange;
  std::uint64_t FId = 0;
};

}  // namespace zel
