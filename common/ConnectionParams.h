#pragma once
// Link parameters shared by one port, its serial port and its protocol engine.

namespace zel {

struct TConnectionParams {
  int Timeout = 0;            // link timeout, ms
  int CommandRetryCount = 4;  // NAKed writes of one frame before giving up
  int MaxCmdCount = 5;        // frame-number mismatches before giving up
  int MaxAnsCount = 4;        // missed control bytes / stale or failed answers
  int MaxENQCount = 4;        // failed ENQ attempts
  int ProtocolType = 0;       // engine choice
  int BaudRate = 0;           // baud-rate index
  int ComNumber = 0;          // serial port number
};

}  // namespace zel
