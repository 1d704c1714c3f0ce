#include "testbench/core/util/FileUtils.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "common/Translate.h"

namespace zel {

namespace {
[[noreturn]] void RaiseFileError(const std::string& fileName, const std::string& reason) {
  throw std::runtime_error(Tr("Не удается прочитать файл") + " \"" + fileName + "\": " + reason);
}
[[noreturn]] void RaiseFileError(const std::string& fileName, int error) { RaiseFileError(fileName, std::strerror(error)); }

class TFd {
 public:
  explicit TFd(int fd) : FFd(fd) {}
  ~TFd() {
    if (FFd >= 0) ::close(FFd);
  }
  TFd(const TFd&) = delete;
  TFd& operator=(const TFd&) = delete;
  int Get() const { return FFd; }

 private:
  int FFd;
};
}  // namespace

Bytes ReadFileData(const std::string& fileName) {
  TFd fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.Get() < 0) RaiseFileError(fileName, errno);
  struct stat st {};
  if (::fstat(fd.Get(), &st) != 0) RaiseFileError(fileName, errno);
  // Only regular files: a FIFO or a device could keep the caller waiting forever.
  if (!S_ISREG(st.st_mode)) RaiseFileError(fileName, Tr("не является обычным файлом"));

  Bytes data;
  if (st.st_size > 0) data.reserve(static_cast<std::size_t>(st.st_size));
  std::uint8_t buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      RaiseFileError(fileName, errno);
    }
    data.insert(data.end(), buffer, buffer + n);
  }
  return data;
}

}  // namespace zel
