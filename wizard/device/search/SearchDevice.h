#pragma once
// What the serial search page holds per port: one probe that tries the port's
// baud rates on its own thread and reports a state the page polls.
#include <string>
#include <vector>

namespace zel {

struct TSearchParamsRec {
  int PortNumber = 0;  // COM number
  int Baudrate = 0;    // bit/s of the successful probe
  int Timeout = 600;   // ms
};

struct TSearchState {
  bool Finished = false;  // the probe ended
  bool Succeded = false;  // a device answered
  std::string Text;       // progress or result line for the operator
  int DeviceID = 0;       // the driver's UModel of the device found
  bool Added = false;     // the page has listed the result
  int Attempt = 0;        // baud rates tried so far (1 = the first)
};

class ISearchDevice {
 public:
  virtual ~ISearchDevice() = default;
  // Starts (or restarts) the probe on a thread of its own.
  virtual void Search() = 0;
  // Asks the probe to end before its next baud rate; returns at once.
  virtual void Stop() = 0;
  virtual void Added() = 0;
  virtual std::string GetName() const = 0;
  virtual std::string GetSerial() const = 0;
  // A consistent copy, safe while the probe runs.
  virtual TSearchState GetState() const = 0;
  virtual TSearchParamsRec GetParams() const = 0;
  virtual void SetParams(const TSearchParamsRec& value) = 0;
  virtual std::vector<int> GetBaudrates() const = 0;
};

}  // namespace zel
