#pragma once
// A string one thread writes and another reads, always as a whole.
#include <mutex>
#include <string>

namespace zel {

class TThreadString {
 public:
  std::string Value() const {
    std::lock_guard lock(FLock);
    return FValue;
  }
  void SetValue(const std::string& value) {
    std::lock_guard lock(FLock);
    FValue = value;
  }

 private:
  mutable std::mutex FLock;
  std::string FValue;
};

}  // namespace zel
