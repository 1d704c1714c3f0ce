#include "common/ComPort.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "common/ComResolver.h"
#include "common/DriverError.h"

namespace zel {

namespace {

using Clock = std::chrono::steady_clock;

struct TBaud {
  int BitRate;
  speed_t Speed;
};
constexpr TBaud kBauds[] = {
    {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600},   {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};
constexpr int kDefaultBaudIndex = 1;

// Bound of a write when the link timeout is 0: a second plus twice the wire time.
constexpr int kMinWriteBoundMs = 1000;

// Line error flags as the port reports them, in log order.
struct TLineFlag {
  unsigned Flag;
  const char* Name;
};
constexpr TLineFlag kLineFlags[] = {
    {0x10, " CE_BREAK"}, {0x800, " CE_DNS"},      {0x8, " CE_FRAME"},  {0x400, " CE_IOE"},
    {0x8000, " CE_MODE"}, {0x1000, " CE_OOP"},    {0x2, " CE_OVERRUN"}, {0x200, " CE_PTO"},
    {0x1, " CE_RXOVER"}, {0x4, " CE_RXPARITY"}, {0x100, " CE_TXFULL"},
};

std::string OsErrorLine(const char* name, int error) {
  char buf[512];
  std::snprintf(buf, sizeof buf, "%s ERROR: 0x%.8x, %s", name, static_cast<unsigned>(error), std::strerror(error));
  return buf;
}

int MillisUntil(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
  if (left <= 0) return 0;
  return static_cast<int>(std::min<long long>((left + 999) / 1000, std::numeric_limits<int>::max()));
}

bool IsHangUp(int error) { return error == EIO || error == ENXIO || error == ENODEV; }

}  // namespace

int IntToBaudRate(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kBauds))) index = kDefaultBaudIndex;
  return kBauds[index].BitRate;
}

unsigned BaudRateToSpeed(int bitRate) {
  for (const auto& b : kBauds)
    if (b.BitRate == bitRate) return b.Speed;
  return kBauds[kDefaultBaudIndex].Speed;
}

int SpeedToBaudRate(unsigned speed) {
  for (const auto& b : kBauds)
    if (b.Speed == speed) return b.BitRate;
  return 0;
}

TComPort::TComPort(std::shared_ptr<TConnectionParams> params) : FParams(std::move(params)) {
  if (!FParams) throw std::invalid_argument("TComPort: no connection parameters");
  FNotification.SetOnDeviceChange([this](TDeviceNotification&, unsigned code) { OnDeviceChange(code); });
}

TComPort::~TComPort() { CloseHandle(); }

bool TComPort::GetOpened() const { return FHandle >= 0 && !FRemoved.load(); }

void TComPort::Open() {
  FLogger.Debug("Open COM" + std::to_string(FParams->ComNumber));
  ApplyRemoval();
  if (FHandle >= 0) return;
  const std::string device = ComDevicePath(FParams->ComNumber);
  FLogger.Debug("CreateHandle " + device);
  int fd = device.empty() ? -1 : ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  int error = device.empty() ? ENOENT : errno;
  if (fd >= 0 && !::isatty(fd)) error = ENOTTY;
  // Exclusive: flock keeps out every process (root too), TIOCEXCL other users' opens.
  else if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) error = errno == EWOULDBLOCK ? EBUSY : errno;
  else if (fd >= 0) error = 0;
  if (error) {
    if (fd >= 0) ::close(fd);
    FHandleStr = "InvalidHandle";
    FLogger.Error(OsErrorLine("CreateFile", error));
    if (error == EBUSY) RaisePortBusy();
    RaisePortUnavailable();
  }
  ::ioctl(fd, TIOCEXCL);
  FHandle = fd;
  FHandleStr = std::to_string(fd);
  Configure();
  FNotification.Install(FHandle);
}

void TComPort::Configure() {
  termios tio{};
  const int bitRate = IntToBaudRate(FParams->BaudRate);
  const speed_t speed = BaudRateToSpeed(bitRate);
  if (::tcgetattr(FHandle, &tio) == 0) {
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CREAD | CLOCAL;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    if (::tcsetattr(FHandle, TCSANOW, &tio) == 0) {
      int lines = TIOCM_DTR | TIOCM_RTS;  // held off; ptys have no modem lines
      ::ioctl(FHandle, TIOCMBIC, &lines);
      serial_icounter_struct counts{};
      if (::ioctl(FHandle, TIOCGICOUNT, &counts) == 0)
        FCounts = {counts.frame, counts.overrun, counts.parity, counts.brk, counts.buf_overrun};
      return;
    }
  }
  const int error = errno;
  PortError("SetCommState", error);
  CloseHandle();
  RaiseNoLink();
}

void TComPort::Close() {
  FLogger.Debug("Close");
  CloseHandle();
}

void TComPort::CloseHandle() {
  FLogger.Debug("Close.1");
  if (FHandle >= 0) {
    FNotification.Uninstall();
    FLogger.Debug("Close.2");
    ::ioctl(FHandle, TIOCNXCL);
    ::close(FHandle);
    FLogger.Debug("Close.3");
    FHandle = -1;
    FHandleStr = "Invalid Handle";
  }
  FRemoved = false;
}

void TComPort::Purge() {
  FLogger.Debug("Purge");
  ApplyRemoval();
  for (int attempt = 1;; ++attempt) {
    // Input only: what this side already wrote (often the ACK of the last
    // answer) is still on its way and must reach the device.
    if (FHandle >= 0 && ::tcflush(FHandle, TCIFLUSH) == 0) return;
    const int error = FHandle >= 0 ? errno : EBADF;
    if (attempt == 3) RaisePortError("PurgeComm", error);
    LogLineErrors();
    CloseHandle();
    Open();
  }
}

void TComPort::Write(const Bytes& data) {
  FLogger.Debug("Write");
  ApplyRemoval();
  if (data.empty()) return;
  if (WriteOnce(data) == 0) return;
  CloseHandle();
  Open();
  if (const int error = WriteOnce(data); error != 0) RaisePortError("WriteFile", error);
}

int TComPort::WriteOnce(const Bytes& data) {
  if (FHandle < 0) return EBADF;
  long long boundMs = static_cast<long long>(data.size()) * FParams->Timeout;
  if (FParams->Timeout <= 0)
    boundMs = kMinWriteBoundMs + 2LL * static_cast<long long>(data.size()) * 10 * 1000 / IntToBaudRate(FParams->BaudRate);
  const auto deadline = Clock::now() + std::chrono::milliseconds(boundMs);
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(FHandle, data.data() + done, data.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) {
      const int error = errno;
      if (IsHangUp(error)) DeviceGone();
      return error;
    }
    pollfd p{FHandle, POLLOUT, 0};
    const int r = ::poll(&p, 1, MillisUntil(deadline));
    if (r == 0) return ETIMEDOUT;
    if (r < 0 && errno != EINTR) return errno;
    if (r > 0 && !(p.revents & POLLOUT) && (p.revents & (POLLHUP | POLLERR))) {
      DeviceGone();
      return EIO;
    }
  }
  return 0;
}

void TComPort::SetCmdTimeout(std::uint32_t ms) {
  FLogger.Debug("SetCmdTimeout " + std::to_string(ms));
  ApplyRemoval();
  FCmdTimeout = ms;  // applied by every following read; nothing the OS can refuse
}

TComPort::TReadResult TComPort::ReadOnce(std::size_t count) {
  TReadResult result;
  if (FHandle < 0) {
    result.Error = EBADF;
    return result;
  }
  const auto total = Clock::now() + std::chrono::milliseconds(FCmdTimeout);
  const auto interval = std::chrono::milliseconds(std::max(FParams->Timeout, 0));
  auto lastByte = Clock::now();
  std::uint8_t buf[4096];
  while (result.Data.size() < count) {
    auto deadline = total;
    if (!result.Data.empty() && interval.count() > 0) deadline = std::min(deadline, lastByte + interval);
    pollfd p{FHandle, POLLIN, 0};
    const int r = ::poll(&p, 1, MillisUntil(deadline));
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) {
      result.Error = errno;
      return result;
    }
    if (r == 0) return result;  // timed out
    if (p.revents & POLLIN) {
      const ssize_t n = ::read(FHandle, buf, std::min(sizeof buf, count - result.Data.size()));
      if (n > 0) {
        result.Data.insert(result.Data.end(), buf, buf + n);
        lastByte = Clock::now();
        continue;
      }
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      result.Error = n == 0 ? EIO : errno;  // 0 bytes on a ready line: the other end is gone
    } else {
      result.Error = EIO;  // POLLHUP / POLLERR without data
    }
    if (IsHangUp(result.Error)) DeviceGone();
    return result;
  }
  return result;
}

bool TComPort::ReadChar(std::uint8_t& c) {
  FLogger.Debug("ReadChar");
  ApplyRemoval();
  TReadResult r = ReadOnce(1);
  if (r.Data.empty() && r.Error) RaisePortError("ReadFile", r.Error);
  if (r.Data.empty()) {
    LogLineErrors();
    return false;
  }
  c = r.Data[0];
  return true;
}

Bytes TComPort::Read(std::uint32_t count) {
  FLogger.Debug("Read");
  ApplyRemoval();
  if (count == 0) return {};
  TReadResult r = ReadOnce(count);
  if (r.Error || r.Data.size() != count) RaisePortError("ReadFile", r.Error ? r.Error : ETIMEDOUT);
  return std::move(r.Data);
}

Bytes TComPort::ReadEx(std::uint32_t count, int timeoutMs) {
  FLogger.Debug("Read");
  ApplyRemoval();
  if (count == 0) return {};
  const auto start = Clock::now();
  Bytes result;
  for (;;) {
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    if (elapsed >= timeoutMs) RaiseNoLink();
    if (result.size() == count) return result;
    TReadResult r = ReadOnce(count - result.size());
    if (r.Data.empty() && r.Error) RaisePortError("ReadFile", r.Error);
    if (r.Data.size() == count) return std::move(r.Data);
    result.insert(result.end(), r.Data.begin(), r.Data.end());
  }
}

void TComPort::PortError(const char* name, int error) {
  FLogger.Error(OsErrorLine(name, error));
  LogLineErrors();
}

void TComPort::RaisePortError(const char* name, int error) {
  PortError(name, error);
  RaiseNoLink();
}

void TComPort::LogLineErrors() {
  serial_icounter_struct now{};
  if (FHandle < 0) {
    FLogger.Error("ClearCommError function failed");
    return;
  }
  if (::ioctl(FHandle, TIOCGICOUNT, &now) != 0) {
    if (errno != ENOTTY && errno != EINVAL && errno != ENOSYS)
      FLogger.Error("ClearCommError function failed");
    return;  // the line keeps no error counters (ptys, some USB adapters)
  }
  unsigned flags = 0;
  if (now.brk != FCounts.Brk) flags |= 0x10;
  if (now.frame != FCounts.Frame) flags |= 0x8;
  if (now.overrun != FCounts.Overrun) flags |= 0x2;
  if (now.buf_overrun != FCounts.BufOverrun) flags |= 0x1;
  if (now.parity != FCounts.Parity) flags |= 0x4;
  FCounts = {now.frame, now.overrun, now.parity, now.brk, now.buf_overrun};
  if (flags == 0) return;
  std::string names;
  for (const auto& f : kLineFlags)
    if (flags & f.Flag) names += f.Name;
  char buf[256];
  std::snprintf(buf, sizeof buf, "ClearCommError.Errors: 0x%.8x, %s", flags, names.c_str());
  FLogger.Error(buf);
}

void TComPort::OnDeviceChange(unsigned eventCode) {
  FLogger.Debug("DeviceChanged: " + std::to_string(eventCode));
  if (eventCode == TDeviceNotification::kDeviceRemoveComplete) FRemoved = true;
}

void TComPort::ApplyRemoval() {
  if (!FRemoved.exchange(false) || FHandle < 0) return;
  FLogger.Debug("Device closed by deviceremovecomplete");
  CloseHandle();
}

void TComPort::DeviceGone() {
  FLogger.Debug("DeviceChanged: " + std::to_string(TDeviceNotification::kDeviceRemoveComplete));
  FLogger.Debug("Device closed by deviceremovecomplete");
  CloseHandle();
}

std::shared_ptr<ISerialPort> CreateComPort(std::shared_ptr<TConnectionParams> params) {
  return std::make_shared<TComPort>(std::move(params));
}

}  // namespace zel
