#pragma once
// ScriptedPort: an ISerialPort that plays a fixed script of incoming bytes,
// silences and read errors, and records everything the engine does to it.
// Deterministic and never sleeps; once the script runs out every read times out,
// so any engine loop on top of it ends.
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

#include "common/DriverError.h"
#include "common/SerialPort.h"

namespace zel::test {

class ScriptedPort : public ISerialPort {
 public:
  enum class Kind { Byte, Silence, Error };
  struct Event {
    Kind kind;
    std::uint8_t value;
  };

  // Script building.
  ScriptedPort& Feed(const Bytes& bytes) {
    for (std::uint8_t b : bytes) FScript.push_back({Kind::Byte, b});
    return *this;
  }
  ScriptedPort& Feed(std::initializer_list<std::uint8_t> bytes) { return Feed(Bytes(bytes)); }
  ScriptedPort& Silence(int count = 1) {
    for (int i = 0; i < count; ++i) FScript.push_back({Kind::Silence, 0});
    return *this;
  }
  ScriptedPort& ReadError() {
    FScript.push_back({Kind::Error, 0});
    return *this;
  }
  // The next `count` calls of Open raise -2.
  void FailNextOpens(int count) { FFailOpens = count; }

  // What the engine did.
  const std::vector<Bytes>& Writes() const { return FWrites; }
  const std::vector<std::string>& Trace() const { return FTrace; }
  const std::vector<std::uint32_t>& Timeouts() const { return FTimeouts; }
  Bytes Written() const {
    Bytes all;
    for (const Bytes& w : FWrites) all.insert(all.end(), w.begin(), w.end());
    return all;
  }
  std::size_t Remaining() const { return FScript.size(); }
  int Count(const std::string& op) const {
    int n = 0;
    for (const std::string& t : FTrace) n += t == op;
    return n;
  }

  // ISerialPort.
  void Open() override {
    FTrace.push_back("Open");
    if (FFailOpens > 0) {
      --FFailOpens;
      RaisePortUnavailable();
    }
    FOpened = true;
  }
  void Close() override {
    FTrace.push_back("Close");
    FOpened = false;
  }
  void Purge() override { FTrace.push_back("Purge"); }
  void Write(const Bytes& data) override {
    FTrace.push_back("Write " + Hex(data));
    FWrites.push_back(data);
  }
  void SetCmdTimeout(std::uint32_t ms) override {
    FTrace.push_back("Timeout " + std::to_string(ms));
    FTimeouts.push_back(ms);
  }
  bool GetOpened() const override { return FOpened; }
  Bytes Read(std::uint32_t count) override { return ReadEx(count, 0); }
  Bytes ReadEx(std::uint32_t count, int) override {
    Bytes out;
    while (out.size() < count) {
      if (FScript.empty()) RaiseNoLink();
      const Event e = FScript.front();
      FScript.pop_front();
      if (e.kind != Kind::Byte) RaiseNoLink();
      out.push_back(e.value);
    }
    FTrace.push_back("Read " + Hex(out));
    return out;
  }
  bool ReadChar(std::uint8_t& c) override {
    if (FScript.empty()) return false;
    const Event e = FScript.front();
    FScript.pop_front();
    if (e.kind == Kind::Silence) return false;
    if (e.kind == Kind::Error) RaiseNoLink();
    c = e.value;
    return true;
  }

  static std::string Hex(const Bytes& data) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string s;
    for (std::uint8_t b : data) {
      if (!s.empty()) s += ' ';
      s += kDigits[b >> 4];
      s += kDigits[b & 0x0F];
    }
    return s;
  }

 private:
  std::deque<Event> FScript;
  std::vector<Bytes> FWrites;
  std::vector<std::string> FTrace;
  std::vector<std::uint32_t> FTimeouts;
  int FFailOpens = 0;
  bool FOpened = true;
};

}  // namespace zel::test
