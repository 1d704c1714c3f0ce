#include "tests/server/FakeDevice.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "common/DriverError.h"

namespace zel::test {

namespace {

class TFakeSerialPort : public ISerialPort {
 public:
  explicit TFakeSerialPort(std::shared_ptr<TFakeDevice> device) : FDevice(std::move(device)) {}
  void Open() override {
    std::lock_guard lock(FDevice->CS);
    if (FDevice->OpenError) throw EDriverError(FDevice->OpenError, "open failed");
    if (!FDevice->Opened) ++FDevice->Opens;
    FDevice->Opened = true;
  }
  void Close() override {
    std::lock_guard lock(FDevice->CS);
    if (FDevice->Opened) ++FDevice->Closes;
    FDevice->Opened = false;
  }
  void Purge() override {}
  void Write(const Bytes&) override {}
  void SetCmdTimeout(std::uint32_t) override {}
  bool GetOpened() const override {
    std::lock_guard lock(FDevice->CS);
    return FDevice->Opened;
  }
  Bytes Read(std::uint32_t) override { RaiseNoLink(); }
  Bytes ReadEx(std::uint32_t, int) override { RaiseNoLink(); }
  bool ReadChar(std::uint8_t&) override { return false; }

 private:
  std::shared_ptr<TFakeDevice> FDevice;
};

class TFakeProtocol : public IPrinterProtocol {
 public:
  explicit TFakeProtocol(std::shared_ptr<TFakeDevice> device) : FDevice(std::move(device)) {}
  void Send(TCommandRec& command) override {
    const int now = ++FDevice->InFlight;
    int seen = FDevice->MaxInFlight;
    while (now > seen && !FDevice->MaxInFlight.compare_exchange_weak(seen, now)) {
    }
    int delay;
    std::function<Bytes(const Bytes&)> responder;
    bool fail;
    {
      std::lock_guard lock(FDevice->CS);
      FDevice->Commands.push_back(command.Command);
      ++FDevice->Sends;
      delay = FDevice->DelayMs;
      responder = FDevice->Responder;
      fail = FDevice->Unplugged || !FDevice->Opened;
    }
    if (delay) std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    --FDevice->InFlight;
    if (fail) RaiseNoLink();
    Bytes answer;
    if (responder) {
      answer = responder(command.Command);
    } else if (!command.Command.empty()) {
      answer = {command.Command[0], 0x00};
      answer.insert(answer.end(), command.Command.begin() + 1, command.Command.end());
    }
    command.Answer = answer;
    command.TxData = Bytes{0x02};
    command.TxData.insert(command.TxData.end(), command.Command.begin(), command.Command.end());
    command.RxData = Bytes{0x06, 0x02};
    command.RxData.insert(command.RxData.end(), answer.begin(), answer.end());
  }
  Bytes Encode(const Bytes& data) override { return data; }
  void Sync() override {}
  void Reset() override {}

 private:
  std::shared_ptr<TFakeDevice> FDevice;
};

}  // namespace

std::vector<Bytes> TFakeDevice::TakeCommands() {
  std::lock_guard lock(CS);
  std::vector<Bytes> out;
  out.swap(Commands);
  return out;
}

TFakeFactory::TFakeFactory() {
  TPortFactory f;
  auto deviceOf = [this](int number) {
    std::lock_guard lock(FCS);
    auto& d = FDevices[number];
    if (!d) d = std::make_shared<TFakeDevice>();
    return d;
  };
  f.CreateSerialPort = [deviceOf](std::shared_ptr<TConnectionParams> params) -> std::shared_ptr<ISerialPort> {
    auto device = deviceOf(params->ComNumber);
    std::lock_guard lock(device->CS);
    ++device->SerialPortsMade;
    return std::make_shared<TFakeSerialPort>(device);
  };
  f.CreateProtocol = [deviceOf](std::shared_ptr<ISerialPort>, std::shared_ptr<TConnectionParams> params)
      -> std::shared_ptr<IPrinterProtocol> {
    auto device = deviceOf(params->ComNumber);
    std::lock_guard lock(device->CS);
    ++device->EnginesMade;
    device->ProtocolType = params->ProtocolType;
    return std::make_shared<TFakeProtocol>(device);
  };
  SetPortFactory(f);
}

TFakeFactory::~TFakeFactory() { SetPortFactory({}); }

TFakeDevice& TFakeFactory::Device(int portNumber) {
  std::lock_guard lock(FCS);
  auto& d = FDevices[portNumber];
  if (!d) d = std::make_shared<TFakeDevice>();
  return *d;
}

}  // namespace zel::test
