#pragma once
// Keeps the state file in step with the register: loads it at start (a new
// file is written when there is none) and rewrites it after any command that
// changed the state.
#include <mutex>
#include <string>

#include "emulator/model/DeviceModel.h"

namespace zel::emu {

class TStateKeeper {
 public:
  TStateKeeper(TDeviceModel& model, std::string path) : model_(model), path_(std::move(path)) {}
  // Returns true when a saved state was loaded; throws std::runtime_error for a bad file.
  bool Load();
  // Writes the file when the state differs from the last one written.
  void SaveIfChanged();

 private:
  TDeviceModel& model_;
  std::string path_;
  std::mutex mutex_;
  std::string saved_;
};

}  // namespace zel::emu
