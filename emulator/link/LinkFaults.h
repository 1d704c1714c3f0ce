#pragma once
// TLinkFaults: the line faults a virtual register can be told to show.
// Every switch may be changed from any thread while a session runs.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "common/Bytes.h"

namespace zel {

enum class EFaultDirection { In, Out };  // bytes from the host / bytes to the host

enum class EByteFault {
  Drop,       // the byte is lost
  Corrupt,    // the byte is XORed with Value
  Duplicate,  // the byte arrives twice
  Insert,     // the noise byte Value arrives before it
};

enum class EPselMode { Accept, Silent, Refuse };  // multichannel protocol selection

class TLinkFaults {
 public:
  using Clock = std::chrono::steady_clock;

  // Hits the byte that is `offset` bytes ahead in the given direction,
  // counted from this call (0 = the next byte).
  void AddByteFault(EFaultDirection dir, EByteFault kind, std::size_t offset, std::uint8_t value = 0xFF);
  // Waits `ms` before each of the next `count` writes (count < 0: until cleared; ms 0 clears).
  void SetDelay(int ms, int count = -1);
  // ENQ framing: the next `count` good command frames are answered with NAK and not run.
  void SetNakCount(int count);
  // Ignores every byte and writes nothing for `ms` from now.
  void SilenceFor(int ms);
  // The next `count` command frames get no reaction at all.
  void SilenceCommands(int count);
  // The next `count` exchanges get the previous answer frame (old frame number, command not run).
  void SetStaleCount(int count);
  void SetPselMode(EPselMode mode);
  // The device is unplugged when the next command reaches it (cable pulled mid-exchange).
  void HangUpOnCommand(bool on = true);
  void Clear();  // every switch off; byte counters keep running

  // Used by the session thread.
  Bytes ApplyOut(const Bytes& data);
  // Appends to `out` what the host's byte `b` turns into on its way in (0, 1 or 2 bytes).
  void ApplyIn(std::uint8_t b, Bytes& out);
  int TakeDelay();  // ms to wait before the next write, 0 for none
  bool TakeNak();
  bool Silent() const;
  bool TakeSilentCommand();
  bool TakeStale();
  EPselMode PselMode() const;
  bool TakeHangUp();

 private:
  struct TPending {
    EFaultDirection Dir;
    EByteFault Kind;
    std::uint64_t At;  // absolute byte index in its direction
    std::uint8_t Value;
  };
  void Apply(EFaultDirection dir, std::uint8_t b, Bytes& out);

  mutable std::mutex FLock;
  std::vector<TPending> FByteFaults;
  std::uint64_t FInCount = 0;
  std::uint64_t FOutCount = 0;
  int FDelayMs = 0;
  int FDelayCount = 0;
  int FNakCount = 0;
  Clock::time_point FSilentUntil{};
  int FSilentCommands = 0;
  int FStaleCount = 0;
  EPselMode FPselMode = EPselMode::Accept;
  bool FHangUpOnCommand = false;
};

}  // namespace zel
