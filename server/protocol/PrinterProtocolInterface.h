#pragma once
// IPrinterProtocol: one command exchange with a register over a byte stream.
#include <cstdint>
#include <string>

#include "common/Bytes.h"

namespace zel {

// One command exchange of a server port; read and filled by the engines.
struct TCommandRec {
  int Code = 0;
  std::string Name;
  Bytes Command;     // bytes sent (command code first)
  Bytes Answer;      // answer body
  int Timeout = 0;   // the command's own answer timeout, ms
  Bytes TxData;      // the last frame written
  Bytes RxData;      // every byte received
};

class IPrinterProtocol {
 public:
  virtual ~IPrinterProtocol() = default;
  // One complete exchange; raises EDriverError (or a plain std::runtime_error) on failure,
  // leaving Answer, TxData and RxData of the record as they were.
  virtual void Send(TCommandRec& command) = 0;
  virtual Bytes Encode(const Bytes& data) = 0;
  virtual void Sync() = 0;
  virtual void Reset() = 0;
};

}  // namespace zel
