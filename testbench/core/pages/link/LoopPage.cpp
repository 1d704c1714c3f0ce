#include "testbench/core/pages/link/LoopPage.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>

#include "testbench/core/Driver.h"
#include "testbench/core/PageBuilder.h"

namespace zel {

namespace {
constexpr int kRefreshMs = 300;
}

QPushButton* LoopButton(TPageBuilder& b, const char* name, const QString& caption,
                        std::function<void()> action) {
  QPushButton* button = b.Button(name, caption, {});
  QObject::disconnect(button, &QPushButton::clicked, nullptr, nullptr);
  QObject::connect(button, &QPushButton::clicked, button, std::move(action));
  return button;
}

TLoopPage::TLoopPage() : FTimer(new QTimer(this)) {
  FTimer->setInterval(kRefreshMs);
  QObject::connect(FTimer, &QTimer::timeout, this, [this] { ShowCounters(); });
}

TLoopPage::~TLoopPage() { StopAndWait(); }

void TLoopPage::StopAndWait() {
  FStopFlag = true;
  if (!FThread) return;
  FThread->WaitFor();
  FThread.reset();
  SetOtherPagesEnabled(true);  // the page may go before its end notice arrives
}

std::int64_t TLoopPage::ElapsedMs() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - FStart)
      .count();
}

void TLoopPage::EnableButtons(bool value) {
  TPage::EnableButtons(value);
  if (value) ShowLoopState(LoopRunning());
}

void TLoopPage::hideEvent(QHideEvent* event) {
  // Closing the window (or leaving the program) ends the loop; switching
  // tabs hides the page too, but the window is still visible then.
  if (!window()->isVisible()) FStopFlag = true;
  TPage::hideEvent(event);
}

void TLoopPage::StartLoop(std::function<void(TDriver&)> body) {
  if (FThread) {
    FThread->WaitFor();
    FThread.reset();
  }
  FRepCount = 0;
  FErrCount = 0;
  FLastResult = 0;
  FStopFlag = false;
  FStart = std::chrono::steady_clock::now();
  std::shared_ptr<TDriver> driver = DriverShared();
  SetOtherPagesEnabled(false);
  QPointer<TLoopPage> self(this);
  FThread = TNotifyThread::CreateThread([this, driver, body = std::move(body)](TNotifyThread&) {
    try {
      body(*driver);
    } catch (...) {
      // A loop never aborts; whatever escaped ends it like a stop.
    }
    {
      const TDriver::TLock lock = driver->Lock();
      driver->Disconnect();  // a failure here is of no interest
    }
    // The page outlives the worker (its destructor waits), but the queued
    // call is dropped when the page is gone by the time it would run.
    QMetaObject::invokeMethod(this, [this] { Finished(); }, Qt::QueuedConnection);
  });
  FThread->Start();
  FTimer->start();
}

void TLoopPage::Finished() {
  FTimer->stop();
  if (FThread) {
    FThread->WaitFor();
    FThread.reset();
  }
  SetOtherPagesEnabled(true);
  ShowCounters();
  LoopEnded();
}

void TLoopPage::SetOtherPagesEnabled(bool value) {
  if (value) {
    for (const QPointer<QWidget>& w : FDisabled)
      if (w) w->setEnabled(true);
    FDisabled.clear();
    for (const QPointer<QAction>& a : FDisabledActions)
      if (a) a->setEnabled(true);
    FDisabledActions.clear();
    return;
  }
  // Pages of the whole window except this one and the groups holding it;
  // pages already disabled for their own reasons are left alone.
  // (TPage has no meta-object of its own, so findChildren<TPage*> would
  // give every widget.)
  for (QWidget* w : window()->findChildren<QWidget*>()) {
    auto* p = dynamic_cast<TPage*>(w);
    if (!p || p == this || p->isAncestorOf(this) || p->testAttribute(Qt::WA_ForceDisabled)) continue;
    p->setEnabled(false);
    FDisabled.emplace_back(p);
  }
  // The window's driver controls outside the pages ("Настройка свойств" opens
  // a dialog that would hold the driver's lock for as long as it is open).
  for (QWidget* w : window()->findChildren<QWidget*>()) {
    if (!w->property(kDriverControl).toBool() || !w->isEnabled()) continue;
    w->setEnabled(false);
    FDisabled.emplace_back(w);
  }
  for (QAction* a : window()->findChildren<QAction*>()) {
    if (!a->property(kDriverControl).toBool() || !a->isEnabled()) continue;
    a->setEnabled(false);
    FDisabledActions.emplace_back(a);
  }
}

}  // namespace zel
