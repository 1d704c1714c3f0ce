#pragma once
// TLogFile: the process-wide diagnostic log (timestamped, thread-tagged,
// levelled lines, size-based rotation). Created disabled; never raises.
#include <atomic>
#include <chrono>
#include <exception>
#include <functional>
#include <mutex>
#include <string>

namespace zel {

class TLogFile {
 public:
  using Clock = std::function<std::chrono::system_clock::time_point()>;
  using ThreadId = std::function<unsigned long()>;

  TLogFile();
  ~TLogFile();
  TLogFile(const TLogFile&) = delete;
  TLogFile& operator=(const TLogFile&) = delete;

  void Debug(const std::string& data);
  void Info(const std::string& data);
  void Error(const std::string& data);
  void Error(const std::string& data, const std::exception& e);
  void Trace(const std::string& data);

  bool Enabled() const;
  void SetEnabled(bool value);       // closes the file when the value changes
  std::string FileName() const;
  void SetFileName(const std::string& value);  // closes the file when the name changes
  int MaxFileSize() const;           // MiB; <= 0 never rotates
  void SetMaxFileSize(int value);
  int MaxFileCount() const;          // <= 0 never rotates
  void SetMaxFileCount(int value);

  // "dd.mm.yyyy hh:nn:ss.zzz" of local time, and "[timestamp] [tid8] ".
  static std::string GetTimeStamp();
  static std::string GetLineHeader();

  // Test seams: a fixed clock and thread id.
  static void SetClock(Clock clock);
  static void SetThreadId(ThreadId threadId);

 private:
  void Write(const char* levelTag, const std::string& data);
  void OpenLocked();
  void CloseLocked();
  void RotateLocked();

  mutable std::mutex FLock;
  int FHandle = -1;
  std::string FFileName;
  std::atomic<bool> FEnabled{false};  // read without the lock to skip formatting
  int FMaxFileSize = 0;
  int FMaxFileCount = 0;
};

// The process's log, created on first use.
TLogFile& LogFile();
void FreeLogFile();

}  // namespace zel
