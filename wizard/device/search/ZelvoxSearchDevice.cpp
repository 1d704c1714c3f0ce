#include "wizard/device/search/ZelvoxSearchDevice.h"

#include <algorithm>

#include "common/NotifyThread.h"
#include "common/Translate.h"
#include "driver/Zelvox.h"
#include "wizard/device/search/TextFormat.h"
#include "wizard/device/search/ZelvoxBaudrate.h"

namespace zel {

namespace {

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

// "<code>, <description>" of a failed driver call.
class ESearchAttempt : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void CheckSearchResult(const TZelvox& driver, int code) {
  if (code != 0) throw ESearchAttempt(std::to_string(code) + ", " + driver.get_ResultCodeDescription());
}

class TPortLock {
 public:
  explicit TPortLock(TZelvox& driver) : FDriver(driver) { CheckSearchResult(driver, driver.LockPort()); }
  ~TPortLock() { FDriver.UnlockPort(); }
  TPortLock(const TPortLock&) = delete;
  TPortLock& operator=(const TPortLock&) = delete;

 private:
  TZelvox& FDriver;
};

}  // namespace

const std::vector<int>& TZelvoxSearchDevice::DefaultBaudrates() {
  static const std::vector<int> rates = {115200, 4800, 230400, 460800, 921600, 57600, 19200, 9600, 38400, 2400};
  return rates;
}

TZelvoxSearchDevice::TZelvoxSearchDevice() : FBaudrates(DefaultBaudrates()), FDevice(std::make_unique<TZelvox>()) {
  FDevice->put_OFDExchangeSuspended(true);
}

TZelvoxSearchDevice::~TZelvoxSearchDevice() {
  FCancel = true;
  FThread.reset();  // waits for the body
  FDevice->Disconnect();
}

void TZelvoxSearchDevice::SetParams(const TSearchParamsRec& value) {
  {
    std::lock_guard lock(FLock);
    FParams = value;
  }
  FDevice->Disconnect();
  FDevice->put_PortNumber(value.PortNumber);
  FDevice->put_ComNumber(value.PortNumber);
  FDevice->put_Timeout(value.Timeout);
  FDevice->put_ConnectionType(0);
  FDevice->put_ProtocolType(0);
}

TSearchParamsRec TZelvoxSearchDevice::GetParams() const {
  std::lock_guard lock(FLock);
  return FParams;
}

TSearchState TZelvoxSearchDevice::GetState() const {
  std::lock_guard lock(FLock);
  return FState;
}

std::string TZelvoxSearchDevice::GetName() const {
  std::lock_guard lock(FLock);
  return FName;
}

std::string TZelvoxSearchDevice::GetSerial() const {
  std::lock_guard lock(FLock);
  return FSerial;
}

void TZelvoxSearchDevice::Added() {
  std::lock_guard lock(FLock);
  FState.Added = true;
}

void TZelvoxSearchDevice::SetText(const std::string& text) {
  std::lock_guard lock(FLock);
  FState.Text = text;
}

void TZelvoxSearchDevice::Finish(bool succeeded, const std::string& text) {
  std::lock_guard lock(FLock);
  FState.Finished = true;
  FState.Succeded = succeeded;
  FState.Text = text;
}

// The state and the cancel flag are reset here, before the thread exists, so
// a Stop that comes before the body runs is not lost and the page never sees
// the previous run's Finished.
void TZelvoxSearchDevice::Search() {
  FThread.reset();
  FCancel = false;
  {
    std::lock_guard lock(FLock);
    FState = TSearchState{};
    FName.clear();
    FSerial.clear();
  }
  FThread = TNotifyThread::CreateThread([this](TNotifyThread&) { SearchProc(); });
  FThread->Start();
}

void TZelvoxSearchDevice::SearchProc() {
  const std::string notFound = Tr("Не найдено");
  try {
    for (std::size_t i = 0; i < FBaudrates.size(); ++i) {
      if (FCancel) break;
      {
        std::lock_guard lock(FLock);
        FState.Attempt = static_cast<int>(i) + 1;
      }
      try {
        if (Probe(FBaudrates[i])) return;
      } catch (const std::exception&) {
        // Nothing at this rate: the next one is tried.
      }
      FDevice->Disconnect();
    }
  } catch (...) {
    // Also a failure before the first attempt ends the probe as finished.
  }
  FDevice->Disconnect();
  if (!GetState().Finished) Finish(false, FCancel ? Tr("Поиск отменен") : notFound);
}

bool TZelvoxSearchDevice::Probe(int baudrate) {
  const std::string rate = std::to_string(baudrate);
  SetText(Tr("Поиск: ") + rate);
  const int port = GetParams().PortNumber;
  TZelvox& d = *FDevice;
  d.Disconnect();
  d.put_ConnectionType(0);
  d.put_ProtocolType(0);
  d.put_ComNumber(port);
  d.put_Timeout(1000);
  d.put_SearchTimeout(600);
  d.put_MaxCommandSendCount(1);
  d.put_MaxAnswerReadCount(1);
  d.put_BaudRate(TZelvoxBaudrate::BaudrateToCode(baudrate));

  int result = 0;
  std::string description, serialText, serial;
  {
    TPortLock lock(d);
    result = d.GetDeviceMetrics();
    if (result < 0) CheckSearchResult(d, result);
    description = d.get_ResultCodeDescription();
    {
      std::lock_guard guard(FLock);
      FState.DeviceID = static_cast<int>(d.get_UModel());
    }
    // A failed read shows its reason in the line but never becomes the serial number.
    if (d.ReadSerialNumber() != 0) {
      serialText = d.get_ResultCodeDescription();
    } else {
      serial = Trim(d.get_SerialNumber());
      serialText = serial;
    }
  }
  const std::string name = Trim(d.get_UDescription());
  std::string text = FormatText(Tr("%s, COM%d, %s, ЗН: %s"), {name, std::to_string(port), rate, serialText});
  if (result > 0) text += ": " + std::to_string(result) + ", " + description;
  // The port is let go before the result shows, so the page can open it at once.
  d.Disconnect();
  {
    std::lock_guard lock(FLock);
    FName = name;
    FSerial = serial;
    FParams.Baudrate = baudrate;
    FState.Finished = true;
    FState.Succeded = true;
    FState.Text = text;
  }
  return true;
}

}  // namespace zel
