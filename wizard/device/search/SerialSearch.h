#pragma once
// The serial search without its window: one probe per port, all at once, and
// the results the page lists as they come.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "wizard/device/core/ComportUtils.h"
#include "wizard/device/search/SearchDevice.h"

namespace zel {

// Ports of devices that must never be probed (modems that hang on the probe's bytes).
inline constexpr std::uint16_t kExcludedVid = 0x0E8D;
inline constexpr std::uint16_t kExcludedPid = 0x2012;
bool IsPortExcluded(const TSerialPortRec& port);

struct TFoundDevice {
  int PortNumber = 0;
  std::string Text;  // the list line
};

class TSerialSearch {
 public:
  using TFactory = std::function<std::shared_ptr<ISearchDevice>()>;
  inline static constexpr int kProbeTimeout = 300;

  // By default every probe is a TZelvoxSearchDevice.
  explicit TSerialSearch(TFactory factory = {});
  ~TSerialSearch();  // stops the probes and waits for them
  TSerialSearch(const TSerialSearch&) = delete;
  TSerialSearch& operator=(const TSerialSearch&) = delete;

  // Releases the previous run's probes (waiting for them), then starts one
  // probe per port of the list that may be probed.
  void Start(const TSerialPorts& ports);
  // The same over the ports present now.
  void Start();
  // Asks every probe to end; returns at once.
  void Stop();
  bool AllFinished() const;
  // Results not taken yet, in port order: finished, a device answered.
  std::vector<TFoundDevice> TakeFound();
  // The probe of that port, nullptr when none.
  std::shared_ptr<ISearchDevice> Find(int portNumber) const;
  const std::vector<std::shared_ptr<ISearchDevice>>& Devices() const { return FDevices; }

 private:
  TFactory FFactory;
  std::vector<std::shared_ptr<ISearchDevice>> FDevices;
};

}  // namespace zel
