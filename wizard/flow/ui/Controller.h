#pragma once
// What the steps share: the successor chosen by the current page, the device
// found, the network choices and the registration record; and the one driver.
#include <functional>
#include <memory>
#include <string>

#include "wizard/flow/core/RegParams.h"
#include "wizard/flow/ui/ParamPage.h"

namespace zel {

class TZelvox;
class TfmMain;

class TController {
 public:
  TParamPageClass NextPageClass = nullptr;
  TParamPage* CurrentPage = nullptr;
  bool IsOFDSettingMode = false;
  std::string IP;
  int TCPPort = 0;
  std::string KKTName;
  std::string KKTSN;
  bool Yur = true;
  bool IsRNDIS = false;
  TRegParams RegParams;
  bool X5Mode = false;
  // Counts the passes through the work-type step: a data page that has shown its
  // values in this pass keeps the operator's edits when entered again.
  int RegGeneration = 0;

  void SetMainWindow(TfmMain* window) { FMain = window; }
  TfmMain* MainWindow() const { return FMain; }

  void Next();
  void Prev();
  void Home();
  void EnableNext(bool enable);
  void EnablePrev(bool enable);
  void EnableHome(bool enable);
  void EnableSettings(bool enable);
  TParamPage* FindPageByClass(TParamPageClass cls) const;

  // Back to "nothing chosen" before a work type is picked; the other fields stay.
  void ClearRegParams();

 private:
  TfmMain* FMain = nullptr;
};

TController& Controller();

// The one driver instance of the wizard.
TZelvox& TheDriver();
// Creates the driver when it does not exist yet, with its own OFD exchange suspended.
// Throws when it cannot be created.
TZelvox& EnsureDriver();
bool DriverExists();
void ReleaseDriver();
// Runs on each new driver instance (tests route it to a virtual register).
void SetDriverSetup(std::function<void(TZelvox&)> setup);

}  // namespace zel
