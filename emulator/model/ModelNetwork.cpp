// Restart of the register and the DHCP state that follows it.
#include "emulator/model/DeviceModel.h"

namespace zel::emu {

void TDeviceModel::Restart() {
  std::lock_guard lock(mutex_);
  // A restart drops what is in preparation, not what is stored.
  s_.receipt = {};
  s_.fn.openDocument = 0;
  s_.fn.pendingTags.clear();
  net_.restartPending = false;
  net_.restartedAtMs = hostMs_();
  ++net_.restarts;
}

void TDeviceModel::SetDhcpDelay(int ms) {
  std::lock_guard lock(mutex_);
  net_.dhcpDelayMs = ms > 0 ? ms : 0;
}

void TDeviceModel::SetRestartRequired(bool on) {
  std::lock_guard lock(mutex_);
  net_.restartRequired = on;
}

bool TDeviceModel::NetworkRestartPending() {
  std::lock_guard lock(mutex_);
  return net_.restartPending;
}

int TDeviceModel::Restarts() {
  std::lock_guard lock(mutex_);
  return net_.restarts;
}

int TDeviceModel::DhcpStateLocked() const {
  if (net_.restartRequired && net_.restartPending) return 0;  // the new settings are not in effect yet
  if (net_.restartedAtMs != 0 && hostMs_() - net_.restartedAtMs < net_.dhcpDelayMs) return 0;  // still asking
  return dhcpState_;
}

}  // namespace zel::emu
