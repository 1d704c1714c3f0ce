#pragma once
// TLogger: a named writer into the process log with hex dumps of traffic.
#include <exception>
#include <string>

#include "common/Bytes.h"

namespace zel {

class TLogger {
 public:
  explicit TLogger(std::string name) : FName(std::move(name)) {}

  void Debug(const std::string& message) const;
  void Info(const std::string& message) const;
  // Appends " (" + err.what() + ")" when err is given.
  void Error(const std::string& message, const std::exception* err = nullptr) const;
  void WriteSeparator() const;
  void WriteTxData(const Bytes& data) const { WriteData("-> ", data); }
  void WriteRxData(const Bytes& data) const { WriteData("<- ", data); }
  // Debug lines of prefix + up to 20 bytes as upper-case hex; empty data gives one line.
  void WriteData(const std::string& prefix, const Bytes& data) const;

  const std::string& Name() const { return FName; }

 private:
  std::string FName;
};

}  // namespace zel
