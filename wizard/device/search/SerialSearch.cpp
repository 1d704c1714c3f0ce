#include "wizard/device/search/SerialSearch.h"

#include "wizard/device/search/ZelvoxSearchDevice.h"

namespace zel {

bool IsPortExcluded(const TSerialPortRec& port) {
  return GetVID(port) == kExcludedVid || GetPID(port) == kExcludedPid || port.ComNumber < 0;
}

TSerialSearch::TSerialSearch(TFactory factory) : FFactory(std::move(factory)) {
  if (!FFactory) FFactory = [] { return std::make_shared<TZelvoxSearchDevice>(); };
}

TSerialSearch::~TSerialSearch() {
  Stop();
  FDevices.clear();
}

void TSerialSearch::Start(const TSerialPorts& ports) {
  Stop();
  FDevices.clear();
  for (const TSerialPortRec& port : ports.Items) {
    if (IsPortExcluded(port)) continue;
    std::shared_ptr<ISearchDevice> device = FFactory();
    TSearchParamsRec params;
    params.PortNumber = port.ComNumber;
    params.Timeout = kProbeTimeout;
    device->SetParams(params);
    FDevices.push_back(device);
    device->Search();
  }
}

void TSerialSearch::Start() {
  TSerialPorts ports;
  ports.EnumPorts();
  Start(ports);
}

void TSerialSearch::Stop() {
  for (auto& d : FDevices) d->Stop();
}

bool TSerialSearch::AllFinished() const {
  for (const auto& d : FDevices)
    if (!d->GetState().Finished) return false;
  return true;
}

std::vector<TFoundDevice> TSerialSearch::TakeFound() {
  std::vector<TFoundDevice> found;
  for (auto& d : FDevices) {
    const TSearchState state = d->GetState();
    if (!state.Finished || !state.Succeded || state.Added) continue;
    found.push_back({d->GetParams().PortNumber, state.Text});
    d->Added();
  }
  return found;
}

std::shared_ptr<ISearchDevice> TSerialSearch::Find(int portNumber) const {
  for (const auto& d : FDevices)
    if (d->GetParams().PortNumber == portNumber) return d;
  return nullptr;
}

}  // namespace zel
