#pragma once
// A pseudo-terminal as the register's serial line: the master end is what a
// device session serves, the slave path is what a host opens as its port.
#include <string>

namespace zel {

struct TPtyLine {
  int Master = -1;        // O_RDWR, close-on-exec; hand it to a session
  std::string SlavePath;  // e.g. /dev/pts/7
};

// Opens a pty whose line is raw 8N1 from the start, so nothing the host has
// not configured yet (echo, CR/LF mapping) touches the device's bytes.
// Throws std::runtime_error with the failing call.
TPtyLine OpenPtyLine();

}  // namespace zel
