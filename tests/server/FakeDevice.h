#pragma once
// In-memory stand-ins for a serial port and a protocol engine, installed as
// the port factory. One TFakeDevice per port number records what the server
// did and answers through a replaceable responder.
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/Bytes.h"
#include "server/core/PortFactory.h"

namespace zel::test {

struct TFakeDevice {
  std::mutex CS;
  std::vector<Bytes> Commands;  // every command the engine was given
  int Opens = 0, Closes = 0;
  bool Opened = false;
  int OpenError = 0;            // raise this link code on Open (0: none)
  bool Unplugged = false;       // Send raises "no link"
  int ProtocolType = -1;        // as the port asked the factory
  int SerialPortsMade = 0, EnginesMade = 0;
  int Sends = 0;
  int DelayMs = 0;              // time one exchange takes
  std::atomic<int> InFlight{0}, MaxInFlight{0};
  // Answer to a command; default: code, error 0, then the command's other bytes.
  std::function<Bytes(const Bytes&)> Responder;

  std::vector<Bytes> TakeCommands();
};

// Installs the fakes for the lifetime of the object (a fresh device per port number).
class TFakeFactory {
 public:
  TFakeFactory();
  ~TFakeFactory();
  TFakeDevice& Device(int portNumber);

 private:
  std::mutex FCS;
  std::map<int, std::shared_ptr<TFakeDevice>> FDevices;
};

}  // namespace zel::test
