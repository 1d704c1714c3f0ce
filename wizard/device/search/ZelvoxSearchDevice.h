#pragma once
// The probe of one serial port: its own driver instance, its own thread, ten
// baud rates tried in turn until a register answers.
#include <atomic>
#include <memory>
#include <mutex>

#include "wizard/device/search/SearchDevice.h"

namespace zel {

class TZelvox;
class TNotifyThread;

class TZelvoxSearchDevice : public ISearchDevice {
 public:
  // The rates in the order they are tried: the usual ones first.
  static const std::vector<int>& DefaultBaudrates();

  TZelvoxSearchDevice();
  // Waits for a running probe (its current attempt) and releases the driver.
  ~TZelvoxSearchDevice() override;
  TZelvoxSearchDevice(const TZelvoxSearchDevice&) = delete;
  TZelvoxSearchDevice& operator=(const TZelvoxSearchDevice&) = delete;

  void Search() override;
  void Stop() override { FCancel = true; }
  void Added() override;
  std::string GetName() const override;
  std::string GetSerial() const override;
  TSearchState GetState() const override;
  TSearchParamsRec GetParams() const override;
  void SetParams(const TSearchParamsRec& value) override;
  std::vector<int> GetBaudrates() const override { return FBaudrates; }

 private:
  void SearchProc();
  // One attempt at rate; true when a register answered.
  bool Probe(int baudrate);
  void SetText(const std::string& text);
  void Finish(bool succeeded, const std::string& text);

  const std::vector<int> FBaudrates;
  std::unique_ptr<TZelvox> FDevice;
  std::unique_ptr<TNotifyThread> FThread;
  std::atomic<bool> FCancel{false};
  mutable std::mutex FLock;  // guards the fields below
  TSearchParamsRec FParams;
  TSearchState FState;
  std::string FName;
  std::string FSerial;
};

}  // namespace zel
