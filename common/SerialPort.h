#pragma once
// ISerialPort: the byte stream every protocol engine talks to.
// Failures are raised as EDriverError (-1, -2, -3).
#include <cstdint>

#include "common/Bytes.h"

namespace zel {

class ISerialPort {
 public:
  virtual ~ISerialPort() = default;
  virtual void Open() = 0;                       // opens and configures unless open
  virtual void Close() = 0;                      // closes if open
  virtual void Purge() = 0;                      // drops pending input; written bytes still go out
  virtual void Write(const Bytes& data) = 0;     // writes all bytes
  virtual void SetCmdTimeout(std::uint32_t ms) = 0;  // timeout of every following single read
  virtual bool GetOpened() const = 0;
  virtual Bytes Read(std::uint32_t count) = 0;   // exactly count bytes in one read, else -1
  virtual Bytes ReadEx(std::uint32_t count, int timeoutMs) = 0;  // exactly count within timeoutMs, else -1
  virtual bool ReadChar(std::uint8_t& c) = 0;    // false when no byte came in time
};

}  // namespace zel
