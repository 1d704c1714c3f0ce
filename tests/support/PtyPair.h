#pragma once
// PtyPair: a pseudo terminal standing in for a device on a serial line.
// The test plays the device on the master side; the code under test opens
// SlavePath() (usually through a COM link). Unplug() closes the master,
// which the slave side sees as a removed device.
#include <cstddef>
#include <string>

#include "common/Bytes.h"

namespace zel::test {

class PtyPair {
 public:
  PtyPair();  // throws std::runtime_error when no pty can be had
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  int Master() const { return FMaster; }
  const std::string& SlavePath() const { return FSlavePath; }
  bool Plugged() const { return FMaster >= 0; }

  // Writes all bytes to the master (throws on failure or after 5 s).
  void Send(const Bytes& data) const;
  // Reads until count bytes came or timeoutMs passed; returns what came.
  Bytes Receive(std::size_t count, int timeoutMs) const;
  // Everything that arrives within timeoutMs of silence.
  Bytes ReceiveAll(int quietMs) const;
  // Closes the master: the device is gone.
  void Unplug();

 private:
  int FMaster = -1;
  int FSlaveKeeper = -1;  // keeps the line alive while nobody has the slave open
  std::string FSlavePath;
};

}  // namespace zel::test
