#include "emulator/link/LinkFaults.h"

#include <algorithm>
#include <utility>

namespace zel {

namespace {
bool TakeOne(int& counter) {
  if (counter <= 0) return false;
  --counter;
  return true;
}
}  // namespace

void TLinkFaults::AddByteFault(EFaultDirection dir, EByteFault kind, std::size_t offset, std::uint8_t value) {
  std::lock_guard lock(FLock);
  const std::uint64_t base = dir == EFaultDirection::In ? FInCount : FOutCount;
  FByteFaults.push_back({dir, kind, base + offset, value});
}

void TLinkFaults::SetDelay(int ms, int count) {
  std::lock_guard lock(FLock);
  FDelayMs = std::max(ms, 0);
  FDelayCount = FDelayMs > 0 ? count : 0;
}

void TLinkFaults::SetNakCount(int count) {
  std::lock_guard lock(FLock);
  FNakCount = std::max(count, 0);
}

void TLinkFaults::SilenceFor(int ms) {
  std::lock_guard lock(FLock);
  FSilentUntil = Clock::now() + std::chrono::milliseconds(std::max(ms, 0));
}

void TLinkFaults::SilenceCommands(int count) {
  std::lock_guard lock(FLock);
  FSilentCommands = std::max(count, 0);
}

void TLinkFaults::SetStaleCount(int count) {
  std::lock_guard lock(FLock);
  FStaleCount = std::max(count, 0);
}

void TLinkFaults::SetPselMode(EPselMode mode) {
  std::lock_guard lock(FLock);
  FPselMode = mode;
}

void TLinkFaults::HangUpOnCommand(bool on) {
  std::lock_guard lock(FLock);
  FHangUpOnCommand = on;
}

void TLinkFaults::Clear() {
  std::lock_guard lock(FLock);
  FByteFaults.clear();
  FDelayMs = FDelayCount = FNakCount = FSilentCommands = FStaleCount = 0;
  FSilentUntil = {};
  FPselMode = EPselMode::Accept;
  FHangUpOnCommand = false;
}

void TLinkFaults::Apply(EFaultDirection dir, std::uint8_t b, Bytes& out) {
  std::uint64_t& counter = dir == EFaultDirection::In ? FInCount : FOutCount;
  const std::uint64_t index = counter++;
  bool keep = true;
  bool twice = false;
  for (auto it = FByteFaults.begin(); it != FByteFaults.end();) {
    if (it->Dir != dir || it->At != index) {
      ++it;
      continue;
    }
    switch (it->Kind) {
      case EByteFault::Drop: keep = false; break;
      case EByteFault::Corrupt: b ^= it->Value; break;
      case EByteFault::Duplicate: twice = true; break;
      case EByteFault::Insert: out.push_back(it->Value); break;
    }
    it = FByteFaults.erase(it);
  }
  if (keep) out.push_back(b);
  if (keep && twice) out.push_back(b);
}

Bytes TLinkFaults::ApplyOut(const Bytes& data) {
  std::lock_guard lock(FLock);
  if (FByteFaults.empty()) {
    FOutCount += data.size();
    return data;
  }
  Bytes out;
  out.reserve(data.size() + 2);
  for (std::uint8_t b : data) Apply(EFaultDirection::Out, b, out);
  return out;
}

void TLinkFaults::ApplyIn(std::uint8_t b, Bytes& out) {
  std::lock_guard lock(FLock);
  Apply(EFaultDirection::In, b, out);
}

int TLinkFaults::TakeDelay() {
  std::lock_guard lock(FLock);
  if (FDelayMs <= 0 || FDelayCount == 0) return 0;
  if (FDelayCount > 0) --FDelayCount;
  return FDelayMs;
}

bool TLinkFaults::TakeNak() {
  std::lock_guard lock(FLock);
  return TakeOne(FNakCount);
}

bool TLinkFaults::Silent() const {
  std::lock_guard lock(FLock);
  return Clock::now() < FSilentUntil;
}

bool TLinkFaults::TakeSilentCommand() {
  std::lock_guard lock(FLock);
  return TakeOne(FSilentCommands);
}

bool TLinkFaults::TakeStale() {
  std::lock_guard lock(FLock);
  return TakeOne(FStaleCount);
}

EPselMode TLinkFaults::PselMode() const {
  std::lock_guard lock(FLock);
  return FPselMode;
}

bool TLinkFaults::TakeHangUp() {
  std::lock_guard lock(FLock);
  return std::exchange(FHangUpOnCommand, false);
}

}  // namespace zel
