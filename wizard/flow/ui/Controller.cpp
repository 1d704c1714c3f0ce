#include "wizard/flow/ui/Controller.h"

#include "driver/Zelvox.h"
#include "wizard/flow/ui/MainWindow.h"

namespace zel {

namespace {
std::unique_ptr<TZelvox> gDriver;
std::function<void(TZelvox&)> gSetup;
}  // namespace

TController& Controller() {
  static TController controller;
  return controller;
}

void TController::Next() {
  if (FMain) FMain->Next();
}
void TController::Prev() {
  if (FMain) FMain->Prev();
}
void TController::Home() {
  if (FMain) FMain->Home();
}
void TController::EnableNext(bool e) {
  if (FMain) FMain->EnableNext(e);
}
void TController::EnablePrev(bool e) {
  if (FMain) FMain->EnablePrev(e);
}
void TController::EnableHome(bool e) {
  if (FMain) FMain->EnableHome(e);
}
void TController::EnableSettings(bool e) {
  if (FMain) FMain->EnableSettings(e);
}

TParamPage* TController::FindPageByClass(TParamPageClass cls) const {
  return FMain ? FMain->Pages().PageByClass(cls) : nullptr;
}

void TController::ClearRegParams() {
  TRegParams& r = RegParams;
  for (std::string* s : {&r.INN, &r.RNM, &r.User, &r.Cashier, &r.Address, &r.AutomatNumber, &r.TaxOfficeURL,
                         &r.SenderEmail, &r.PayPlace, &r.OFDName, &r.OFDUrl, &r.OFDINN, &r.OFDServer, &r.CashierINN})
    s->clear();
  r.TaxSystem = r.Agent = r.WorkMode = r.WorkModeEx = kNotChosen;
  r.ReasonCode = kNotChosen;
  r.FFD = kNotChosen;
  r.OFDPort = 0;
  ++RegGeneration;
}

TZelvox& TheDriver() { return EnsureDriver(); }

TZelvox& EnsureDriver() {
  if (!gDriver) {
    auto d = std::make_unique<TZelvox>();
    d->put_OFDExchangeSuspended(true);
    if (gSetup) gSetup(*d);
    gDriver = std::move(d);
  }
  return *gDriver;
}

bool DriverExists() { return gDriver != nullptr; }

void ReleaseDriver() { gDriver.reset(); }

void SetDriverSetup(std::function<void(TZelvox&)> setup) { gSetup = std::move(setup); }

}  // namespace zel
