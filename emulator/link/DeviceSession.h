#pragma once
// TDeviceSession: the register's end of one link (a pty master or a connected
// TCP socket), served by a thread of its own. Subclasses speak one framing;
// the device model behind them is a CommandHandler.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "common/Bytes.h"
#include "common/Logger.h"
#include "emulator/link/LinkFaults.h"

namespace zel {

// Takes one command (code first) and returns the answer body (code, error byte, data).
using CommandHandler = std::function<Bytes(const Bytes& command)>;

struct TSessionOptions {
  int BaudRate = 0;               // > 0: every byte takes 10 bit times on the wire, both ways
  int ByteTimeoutMs = 200;        // longest gap allowed inside a frame
  int MaxAnswerResends = 3;       // ENQ framing: resends of an answer the host NAKs
  std::uint16_t FrameNumber = 0;  // numbered framing: the number reported before any command
};

enum class ESessionState { Created, Running, Stopped, HungUp, PeerClosed };

class TDeviceSession {
 public:
  // Takes ownership of fd; it is closed when the session ends.
  TDeviceSession(int fd, CommandHandler handler, TSessionOptions options, const char* logName);
  virtual ~TDeviceSession();
  TDeviceSession(const TDeviceSession&) = delete;
  TDeviceSession& operator=(const TDeviceSession&) = delete;

  void Start();
  void Stop();    // ends the thread and closes the descriptor; returns once it is closed
  void HangUp();  // unplugs the device: same as Stop, the state tells the two apart
  ESessionState State() const { return FState.load(); }
  bool Running() const { return State() == ESessionState::Running; }
  TLinkFaults& Faults() { return FFaults; }
  void SetBaudRate(int rate) { FBaudRate.store(rate); }
  std::uint64_t CommandCount() const { return FCommandCount.load(); }
  // Bytes that crossed the line, as the host sent them and as the device wrote them.
  std::uint64_t BytesIn() const { return FBytesIn.load(); }
  std::uint64_t BytesOut() const { return FBytesOut.load(); }

 protected:
  struct TSessionEnd {};  // unwinds the thread when the link is gone or a stop is asked

  // Called for each byte that arrives while the session waits for a frame.
  virtual void ServeByte(std::uint8_t b) = 0;
  // One byte within timeoutMs (false: none came). Throws TSessionEnd.
  bool ReadByte(std::uint8_t& b, int timeoutMs);
  bool ReadFrameByte(std::uint8_t& b) { return ReadByte(b, FOptions.ByteTimeoutMs); }
  // Writes through the fault switches and the pacing. Throws TSessionEnd.
  void Write(const Bytes& data);
  void WriteByte(std::uint8_t b) { Write(Bytes{b}); }
  // Runs the handler; nothing when it failed (the device then stays silent).
  std::optional<Bytes> Execute(const Bytes& command);
  const TSessionOptions& Options() const { return FOptions; }
  void LogFrame(const char* prefix, const Bytes& data) const;
  void LogError(const std::string& text) const { FLogger.Error(text); }

  TLinkFaults FFaults;

 private:
  void Run();
  void Finish(ESessionState state);
  bool Fill(int timeoutMs);  // false on timeout
  void WaitWake(int ms);     // sleeps, ends early on a stop request (then throws)
  void WriteAll(const Bytes& data);
  void WriteRaw(const std::uint8_t* data, std::size_t size);
  std::chrono::nanoseconds ByteTime() const;

  int FFd;
  int FWakeFd;
  bool FIsSocket;
  CommandHandler FHandler;
  TSessionOptions FOptions;
  TLogger FLogger;
  std::thread FThread;
  std::mutex FStopLock;
  std::atomic<bool> FStopRequested{false};
  std::atomic<bool> FHangUpRequested{false};
  std::atomic<ESessionState> FState{ESessionState::Created};
  std::atomic<int> FBaudRate;
  std::atomic<std::uint64_t> FCommandCount{0};
  std::atomic<std::uint64_t> FBytesIn{0};
  std::atomic<std::uint64_t> FBytesOut{0};
  Bytes FIn;
  std::size_t FInPos = 0;
  std::chrono::steady_clock::time_point FInArrival{};
  std::chrono::steady_clock::time_point FInClock{};
  std::chrono::steady_clock::time_point FOutClock{};
};

}  // namespace zel
