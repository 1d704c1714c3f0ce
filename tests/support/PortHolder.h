#pragma once
// PortHolder: another process that opens a device and holds it the way a
// serial port of this system does (flock, exclusive), until destroyed.
#include <sys/types.h>

#include <string>

namespace zel::test {

class PortHolder {
 public:
  // Returns once the child holds the device; throws when it could not.
  explicit PortHolder(const std::string& devicePath);
  ~PortHolder();  // ends and reaps the child
  PortHolder(const PortHolder&) = delete;
  PortHolder& operator=(const PortHolder&) = delete;
  pid_t Pid() const { return FPid; }

 private:
  void Release();
  pid_t FPid = -1;
  int FPipe = -1;  // closing it tells the child to let go
};

}  // namespace zel::test
