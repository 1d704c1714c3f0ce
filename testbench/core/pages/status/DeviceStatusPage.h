#pragma once
// "Запросы": status requests, device and model parameters, the driver's
// version, error descriptions and the serial number, written to a report memo.
#include "testbench/core/Pages.h"
#include "testbench/core/pages/status/ReportMemo.h"

namespace zel {

class TfmDeviceStatus : public TPage {
 public:
  TfmDeviceStatus();

 private:
  void LongStatus();
  void ShortStatus();
  void DeviceMetrics();
  void ModelParams();
  void DriverVersion();
  void ShowTables();
  void ErrorDescriptions();
  void SerialNumber();
  void AddHeader(const char* header);

  TReportMemo FOut;
};

}  // namespace zel
