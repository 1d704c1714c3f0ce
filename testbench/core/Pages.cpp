#include "testbench/core/Pages.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <memory>
#include <stdexcept>

#include "testbench/core/Controls.h"
#include "testbench/core/Dialogs.h"
#include "testbench/core/Driver.h"
#include "testbench/core/QtText.h"

namespace zel {

// ---- TBaseForm

TBaseForm::TBaseForm(QWidget* parent) : QWidget(parent) {}

void TBaseForm::ForEachButton(QWidget* root, const std::function<void(QPushButton*)>& fn) {
  for (QObject* o : root->children()) {
    auto* w = qobject_cast<QWidget*>(o);
    if (!w || w->isWindow()) continue;
    ForEachButton(w, fn);
    if (auto* b = qobject_cast<QPushButton*>(w)) fn(b);
  }
}

void TBaseForm::EnableButtons(bool value) {
  ForEachButton(this, [&](QPushButton* b) {
    if (!value) {
      if (!b->isEnabled()) return;
      if (b->hasFocus()) FFocusedButton = b;
      b->setProperty("Tag", 1);
      b->setEnabled(false);
    } else if (b->property("Tag").toInt() == 1) {
      b->setProperty("Tag", 0);
      b->setEnabled(true);
    }
  });
  if (value && FFocusedButton && FFocusedButton->isEnabled() && FFocusedButton->isVisible())
    FFocusedButton->setFocus();
}

// ---- TPage

TPage::TPage(QWidget* parent) : TBaseForm(parent) {}

TPage::~TPage() { SetOwner(nullptr); }

void TPage::EnableButtons(bool value) {
  // The buttons go off before the notifier lets pending events run, so a
  // click already queued cannot start a second call inside this one.
  if (!value) {
    ForEachButton(this, [&](QPushButton* b) {
      if (b->hasFocus()) FFocusedButton = b;
      b->setEnabled(false);
    });
    PageNotifier().DoChange(false);
    return;
  }
  PageNotifier().DoChange(true);
  ForEachButton(this, [](QPushButton* b) { b->setEnabled(true); });
  if (FFocusedButton && FFocusedButton->isVisible()) FFocusedButton->setFocus();
}

void TPage::Check(int resultCode) { zel::Check(resultCode); }

void TPage::SetOwner(TPages* list) {
  if (FOwner == list) return;
  if (FOwner) FOwner->RemoveItem(this);
  FOwner = list;
  if (FOwner) FOwner->InsertItem(this);
}

int TPage::GetIndex() const { return FOwner ? FOwner->GetItemIndex(this) : -1; }

namespace {
// The failure text of fn, empty when it ended normally or by a silent abort.
QString Failure(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const EAbort&) {
  } catch (const std::exception& e) {
    return QString::fromUtf8(e.what());
  } catch (...) {
    return QTr("Неизвестная ошибка");
  }
  return {};
}
}  // namespace

void RunGuarded(QWidget* parent, const std::function<void()>& fn) {
  if (QString error = Failure(fn); !error.isEmpty()) dialogs::ShowError(parent, error);
}

void TPage::Run(const std::function<void()>& action) {
  if (FRunning) return;
  FRunning = true;
  EnableButtons(false);
  QString error = Failure([&] {
    // The whole call sequence under the driver's lock: a loop worker's calls
    // cannot come in between, and the instance outlives the handler.
    const std::shared_ptr<TDriver> driver = DriverShared();
    const TDriver::TLock lock = driver->Lock();
    action();
  });
  EnableButtons(true);
  FRunning = false;
  if (!error.isEmpty()) dialogs::ShowError(this, error);
}

namespace {
// The text form the driver takes for a control's value.
std::string BoundText(const QWidget* w) {
  const QVariant v = ControlValue(w);
  switch (v.typeId()) {
    case QMetaType::Bool: return v.toBool() ? "1" : "0";
    case QMetaType::QDateTime: return v.toDateTime().toString("dd.MM.yyyy hh:mm:ss").toStdString();
    default: return v.toString().toStdString();
  }
}

template <class F>
void ForEachBound(QWidget* root, F fn) {
  for (QWidget* w : root->findChildren<QWidget*>())
    if (!w->toolTip().isEmpty() && IsValueControl(w)) fn(w, w->toolTip().toStdString());
}
}  // namespace

void TPage::WriteBoundProperties() {
  ForEachBound(this, [](QWidget* w, const std::string& name) {
    if (!w->isEnabled() || IsReadOnlyControl(w)) return;
    if (!Driver().SetPropertyText(name, BoundText(w)))
      throw std::runtime_error(Tr("Некорректное значение в поле") + " \"" + name + "\"");
  });
}

void TPage::ReadBoundProperties() {
  ForEachBound(this, [](QWidget* w, const std::string& name) {
    if (!IsReadOnlyControl(w)) return;
    std::string text;
    if (Driver().GetPropertyText(name, text)) SetControlValue(w, QString::fromStdString(text));
  });
}

// ---- TPages

TPages::~TPages() { Clear(); }

int TPages::GetItemIndex(const TPage* page) const {
  auto it = std::find(FList.begin(), FList.end(), page);
  return it == FList.end() ? -1 : static_cast<int>(it - FList.begin());
}

void TPages::InsertItem(TPage* page) { FList.push_back(page); }

void TPages::RemoveItem(TPage* page) {
  auto it = std::find(FList.begin(), FList.end(), page);
  if (it != FList.end()) FList.erase(it);
}

void TPages::Clear() {
  // A page leaves the list when destroyed, and a group takes its pages along.
  while (!FList.empty()) delete FList.front();
  FList.shrink_to_fit();
}

TPageNotifier& PageNotifier() {
  static TPageNotifier notifier;
  return notifier;
}

}  // namespace zel
