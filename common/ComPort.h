#pragma once
// TComPort: a serial port opened by COM number (see ComResolver.h), raw 8N1
// without flow control, held exclusively, with per-read timeouts:
//   SetCmdTimeout(v): each single read waits at most v ms in total, and ends
//   early when, after a first byte, the line stays silent for Params.Timeout ms
//   (0: no such gap limit). Writes of n bytes may take n x Params.Timeout ms.
// Not thread-safe: one owner at a time. Removal of the device closes the port
// at the owner's next operation (or at once inside a read that sees it).
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "common/ConnectionParams.h"
#include "common/DeviceNotification.h"
#include "common/Logger.h"
#include "common/SerialPort.h"

namespace zel {

// Bit rate of a baud-rate index: 0 2400, 1 4800, 2 9600, 3 19200, 4 38400,
// 5 57600, 6 115200, 7 230400, 8 460800, 9 921600; any other index 4800.
int IntToBaudRate(int index);
// termios speed constant (speed_t) of a bit rate from IntToBaudRate.
unsigned BaudRateToSpeed(int bitRate);
// Bit rate of a termios speed constant, 0 when unknown.
int SpeedToBaudRate(unsigned speed);

class TComPort : public ISerialPort {
 public:
  explicit TComPort(std::shared_ptr<TConnectionParams> params);
  ~TComPort() override;
  TComPort(const TComPort&) = delete;
  TComPort& operator=(const TComPort&) = delete;

  void Open() override;
  void Close() override;
  void Purge() override;
  void Write(const Bytes& data) override;
  void SetCmdTimeout(std::uint32_t ms) override;
  bool GetOpened() const override;
  Bytes Read(std::uint32_t count) override;
  Bytes ReadEx(std::uint32_t count, int timeoutMs) override;
  bool ReadChar(std::uint8_t& c) override;

  // Diagnostics: the descriptor in decimal after an open, "InvalidHandle"
  // after a failed open, "Invalid Handle" after close.
  const std::string& HandleStr() const { return FHandleStr; }
  int Handle() const { return FHandle; }
  std::uint32_t CmdTimeout() const { return FCmdTimeout; }
  const std::shared_ptr<TConnectionParams>& Params() const { return FParams; }

 private:
  struct TReadResult {
    Bytes Data;
    int Error = 0;  // errno of a failed read, 0 when it only timed out
  };

  TReadResult ReadOnce(std::size_t count);
  int WriteOnce(const Bytes& data);  // 0 or errno
  void Configure();                  // line settings; throws -1
  void CloseHandle();
  void PortError(const char* name, int error);
  [[noreturn]] void RaisePortError(const char* name, int error);
  void LogLineErrors();
  void OnDeviceChange(unsigned eventCode);
  void ApplyRemoval();  // closes the port when the watcher saw the device go
  void DeviceGone();    // a read or write saw the hang-up itself

  std::shared_ptr<TConnectionParams> FParams;
  TLogger FLogger{"TComPort"};
  int FHandle = -1;
  std::string FHandleStr = "Invalid Handle";
  std::uint32_t FCmdTimeout = 0;
  std::atomic<bool> FRemoved{false};
  struct TLineCounts {
    int Frame = 0, Overrun = 0, Parity = 0, Brk = 0, BufOverrun = 0;
  } FCounts;
  TDeviceNotification FNotification;
};

// The port as the protocol engines take it.
std::shared_ptr<ISerialPort> CreateComPort(std::shared_ptr<TConnectionParams> params);

}  // namespace zel
