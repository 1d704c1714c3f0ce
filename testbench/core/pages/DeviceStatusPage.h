#pragma once
// "Запросы": status requests and the driver's version, written to a report memo.
#include "testbench/core/Pages.h"

class QPlainTextEdit;

namespace zel {

class TfmDeviceStatus : public TPage {
 public:
  TfmDeviceStatus();

 private:
  void AddMemoLine(const QString& s);
  void AddLineWidth(const QString& name, const QString& value, int width);
  void AddLine(const QString& name, const QString& value) { AddLineWidth(name, value, 26); }
  void AddSeparator();
  void AddHeader(const QString& header);
  void ShortStatus();
  void DriverVersion();

  QPlainTextEdit* FMemo;
};

}  // namespace zel
