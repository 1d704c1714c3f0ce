#include "common/LogFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>

namespace zel {

namespace fs = std::filesystem;

namespace {
std::mutex gSeamMutex;
TLogFile::Clock gClock;
TLogFile::ThreadId gThreadId;

std::chrono::system_clock::time_point Now() {
  std::lock_guard lock(gSeamMutex);
  return gClock ? gClock() : std::chrono::system_clock::now();
}

unsigned long CurrentThreadId() {
  {
    std::lock_guard lock(gSeamMutex);
    if (gThreadId) return gThreadId();
  }
  return static_cast<unsigned long>(::syscall(SYS_gettid));
}

std::string RotatedName(const std::string& base, int n) { return base + "." + std::to_string(n) + ".log"; }

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}
}  // namespace

TLogFile::TLogFile() = default;

TLogFile::~TLogFile() {
  std::lock_guard lock(FLock);
  CloseLocked();
}

void TLogFile::SetClock(Clock clock) {
  std::lock_guard lock(gSeamMutex);
  gClock = std::move(clock);
}

void TLogFile::SetThreadId(ThreadId threadId) {
  std::lock_guard lock(gSeamMutex);
  gThreadId = std::move(threadId);
}

std::string TLogFile::GetTimeStamp() {
  const auto now = Now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm tm{};
  localtime_r(&t, &tm);
  char buf[96];
  std::snprintf(buf, sizeof buf, "%.2d.%.2d.%.4d %.2d:%.2d:%.2d.%.3d", tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900,
                tm.tm_hour, tm.tm_min, tm.tm_sec, static_cast<int>(ms));
  return buf;
}

std::string TLogFile::GetLineHeader() {
  char tid[32];
  std::snprintf(tid, sizeof tid, "%.8lu", CurrentThreadId());
  std::string header = "[";  // appended piece by piece: g++ 12 -O3 warns wrongly on a + chain here
  header += GetTimeStamp();
  header += "] [";
  header += tid;
  header += "] ";
  return header;
}

void TLogFile::Debug(const std::string& data) { Write("[DEBUG] ", data); }
void TLogFile::Info(const std::string& data) { Write("[ INFO] ", data); }
void TLogFile::Error(const std::string& data) { Write("[ERROR] ", data); }
void TLogFile::Error(const std::string& data, const std::exception& e) { Write("[ERROR] ", data + " " + e.what()); }
void TLogFile::Trace(const std::string& data) { Write("[TRACE] ", data); }

bool TLogFile::Enabled() const { return FEnabled.load(std::memory_order_relaxed); }

void TLogFile::SetEnabled(bool value) {
  std::lock_guard lock(FLock);
  if (value != FEnabled) CloseLocked();
  FEnabled = value;
}

std::string TLogFile::FileName() const {
  std::lock_guard lock(FLock);
  return FFileName;
}

void TLogFile::SetFileName(const std::string& value) {
  std::lock_guard lock(FLock);
  if (value != FFileName) CloseLocked();
  FFileName = value;
}

int TLogFile::MaxFileSize() const {
  std::lock_guard lock(FLock);
  return FMaxFileSize;
}

void TLogFile::SetMaxFileSize(int value) {
  std::lock_guard lock(FLock);
  FMaxFileSize = value;
}

int TLogFile::MaxFileCount() const {
  std::lock_guard lock(FLock);
  return FMaxFileCount;
}

void TLogFile::SetMaxFileCount(int value) {
  std::lock_guard lock(FLock);
  FMaxFileCount = value;
}

// The text is UTF-8 already, which is this system's code page.
void TLogFile::Write(const char* levelTag, const std::string& data) {
  if (!FEnabled.load(std::memory_order_relaxed)) return;  // the common case: nothing to format
  std::string line = GetLineHeader() + levelTag + data + "\r\n";
  std::lock_guard lock(FLock);
  if (!FEnabled) return;
  if (FHandle < 0) OpenLocked();
  if (FHandle < 0) return;
  const char* p = line.data();
  std::size_t left = line.size();
  while (left > 0) {  // one write() for a line; loops only on a short write
    const ssize_t n = ::write(FHandle, p, left);
    if (n <= 0) return;
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  if (FMaxFileSize > 0) {
    struct stat st{};
    if (::fstat(FHandle, &st) == 0 && st.st_size > static_cast<off_t>(FMaxFileSize) * 1048576) RotateLocked();
  }
}

void TLogFile::OpenLocked() {
  if (FHandle >= 0 || FFileName.empty()) return;
  std::error_code ec;
  const fs::path folder = fs::path(FFileName).parent_path();
  if (!folder.empty() && !fs::is_directory(folder, ec)) fs::create_directory(folder, ec);  // one level only
  FHandle = ::open(FFileName.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

void TLogFile::CloseLocked() {
  if (FHandle >= 0) ::close(FHandle);
  FHandle = -1;
}

void TLogFile::RotateLocked() {
  if (FMaxFileCount <= 0) return;
  const int n = FMaxFileCount;
  std::error_code ec;
  fs::remove(FFileName + "." + std::to_string(n), ec);
  fs::remove(RotatedName(FFileName, n), ec);
  for (int k = n - 1; k >= 1; --k)
    if (Exists(RotatedName(FFileName, k))) fs::rename(RotatedName(FFileName, k), RotatedName(FFileName, k + 1), ec);
  CloseLocked();
  fs::rename(FFileName, RotatedName(FFileName, 1), ec);
  OpenLocked();
}

namespace {
std::mutex gInstanceMutex;
std::unique_ptr<TLogFile> gInstance;
}  // namespace

TLogFile& LogFile() {
  std::lock_guard lock(gInstanceMutex);
  if (!gInstance) gInstance = std::make_unique<TLogFile>();
  return *gInstance;
}

void FreeLogFile() {
  std::lock_guard lock(gInstanceMutex);
  gInstance.reset();
}

}  // namespace zel
