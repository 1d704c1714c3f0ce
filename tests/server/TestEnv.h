#pragma once
// Small helpers for the server tests: a private settings folder, settings
// applied for one test, bounded waiting.
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "server/core/Settings.h"

namespace zel::test {

// XDG_CONFIG_HOME pointed at a fresh folder while it lives.
class TConfigHome {
 public:
  TConfigHome();
  ~TConfigHome();
  const std::string& Path() const { return FPath; }

 private:
  std::string FPath;
  std::optional<std::string> FOld;
};

// Process-wide server settings for one test, restored afterwards.
class TScopedSettings {
 public:
  explicit TScopedSettings(const TServerSettings& s) : FOld(ServerSettings()) { SetServerSettings(s); }
  ~TScopedSettings() { SetServerSettings(FOld); }

 private:
  TServerSettings FOld;
};

// Polls until pred holds or timeoutMs passed; returns pred's last value.
inline bool WaitFor(const std::function<bool()>& pred, int timeoutMs = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!pred()) {
    if (std::chrono::steady_clock::now() > end) return pred();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace zel::test
