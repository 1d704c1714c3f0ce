#pragma once
// "Дамп": a memory area of the device, block by block on a worker thread,
// with progress, the viewer and saving.
#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "common/Bytes.h"
#include "testbench/core/Pages.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace zel {

class TfmReadDump : public TPage {
 public:
  TfmReadDump();
  ~TfmReadDump() override;
  void EnableButtons(bool value) override;

  // The bytes downloaded so far; only while no download runs.
  const Bytes& Data() const { return FData; }
  bool Downloading() const { return FWorker.joinable(); }

 private:
  void DumpRequest();
  void GetData();
  void InterruptStream();
  void StartDownload();
  void Stop();
  void View();
  void Save();
  void Download(int blocks);  // the worker
  void Finished();             // on the GUI thread once the worker ended
  void ShowProgress();
  int SelectedCode() const;

  QComboBox* FDevice;
  QLineEdit* FBlockCount;
  QLineEdit* FBlockNumber;
  QPlainTextEdit* FMemo;
  QPushButton* FDownload;
  QPushButton* FStop;
  QProgressBar* FProgress;
  QLabel* FCounter;
  QTimer* FTimer;

  Bytes FData;  // written by the worker, read by the page only after it ended
  std::thread FWorker;
  std::atomic<bool> FStopFlag{false};
  std::atomic<int> FReceived{0};
  int FResultCode = 0;
  std::string FResultText;
};

}  // namespace zel
