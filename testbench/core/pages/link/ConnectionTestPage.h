#pragma once
// "Проверка связи": an endless status loop with statistics, and a timed print test.
#include <atomic>

#include "testbench/core/pages/link/LoopPage.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace zel {

class TfmConnectionTest : public TLoopPage {
 public:
  TfmConnectionTest();
  ~TfmConnectionTest() override;

  void Start();

 protected:
  void ShowCounters() override;
  void ShowLoopState(bool running) override;

 private:
  void PrintTest();

  std::atomic<std::int64_t> FCommandsPerSecond{0};
  std::atomic<double> FErrorPercent{0};
  std::atomic<std::int64_t> FElapsedMs{0};

  QCheckBox* FStopOnErrorBox;
  QCheckBox* FFNBox;
  QCheckBox* FShortBox;
  QPushButton* FStartButton;
  QPushButton* FStopButton;
  QPushButton* FPrintButton;
  QLineEdit* FReps;
  QLineEdit* FErrors;
  QLineEdit* FPerSecond;
  QLineEdit* FPercent;
  QLineEdit* FTestTime;
  QLineEdit* FCommandTime;
  QLineEdit* FPrintTime;
};

}  // namespace zel
