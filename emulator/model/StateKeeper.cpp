#include "emulator/model/StateKeeper.h"

#include <sys/stat.h>

#include "emulator/model/StateFile.h"

namespace zel::emu {

bool TStateKeeper::Load() {
  std::lock_guard lock(mutex_);
  struct stat st {};
  const bool exists = stat(path_.c_str(), &st) == 0;
  if (exists) model_.Restore(LoadStateFile(path_));
  saved_ = SaveStateText(model_.Snapshot());
  if (!exists) SaveStateFile(path_, model_.Snapshot());
  return exists;
}

void TStateKeeper::SaveIfChanged() {
  std::lock_guard lock(mutex_);
  const TDeviceState state = model_.Snapshot();
  std::string text = SaveStateText(state);
  if (text == saved_) return;
  SaveStateFile(path_, state);
  saved_ = std::move(text);
}

}  // namespace zel::emu
