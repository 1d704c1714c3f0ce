#pragma once
// "Тест": repeated printing, cutting, register reads and receipt open/cancel.
#include <mutex>
#include <string>

#include "testbench/core/pages/link/LoopPage.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zel {

class TfmTest : public TLoopPage {
 public:
  TfmTest();
  ~TfmTest() override;

  void Start();

 protected:
  void ShowCounters() override;
  void ShowLoopState(bool running) override;
  void LoopEnded() override;

 private:
  void Repetition(TDriver& d);
  // One call under the driver's lock; false when the test must end.
  bool Call(TDriver& d, const std::function<int()>& call);

  int FWanted = 0;
  std::mutex FErrorLock;
  std::string FLastError;  // description of the last failing call

  QLineEdit* FCount;
  QCheckBox* FStopOnErrorBox;
  QPushButton* FStartButton;
  QPushButton* FStopButton;
  QLineEdit* FReps;
  QLineEdit* FErrors;
  QLabel* FErrorLabel;
};

}  // namespace zel
