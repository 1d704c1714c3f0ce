#include "wizard/flow/ui/ParamPage.h"

#include <QShowEvent>
#include <algorithm>

#include "wizard/flow/registration/DriverCheck.h"
#include "wizard/flow/ui/Title.h"
#include "wizard/flow/ui/WizDialogs.h"

namespace zel {

TParamPage::TParamPage(const char* caption) : FCaption(QString::fromUtf8(caption)) {}

void TParamPage::SetOwner(TParamPages* owner) {
  if (FOwner == owner) return;
  if (FOwner) FOwner->Remove(this);
  FOwner = owner;
  if (FOwner) FOwner->Add(this);
}

QString TParamPage::Caption() const { return TrQ(FCaption.toUtf8().constData()); }

int TParamPage::GetIndex() const { return FOwner ? FOwner->IndexOf(this) : -1; }

void TParamPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Only when the wizard shows the page, not when the window comes back from being minimised.
  if (!event->spontaneous()) RunGuarded(this, [this] { Enter(); });
}

bool RunGuarded(QWidget* parent, const std::function<void()>& action) {
  try {
    action();
    return true;
  } catch (const EAbort&) {
  } catch (const std::exception& e) {
    wizdlg::ShowError(parent, QString::fromStdString(e.what()));
  }
  return false;
}

TParamPages::~TParamPages() { Clear(); }

TParamPage* TParamPages::GetItem(int index) const {
  return index >= 0 && index < Count() ? FList[static_cast<std::size_t>(index)] : nullptr;
}

int TParamPages::IndexOf(const TParamPage* page) const {
  const auto it = std::find(FList.begin(), FList.end(), page);
  return it == FList.end() ? -1 : static_cast<int>(it - FList.begin());
}

int TParamPages::PageIndexByClass(TParamPageClass cls) const {
  for (int i = 0; i < Count(); ++i)
    if (FList[static_cast<std::size_t>(i)]->IsA(cls)) return i;
  return -1;
}

TParamPage* TParamPages::PageByClass(TParamPageClass cls) const { return GetItem(PageIndexByClass(cls)); }

void TParamPages::Add(TParamPage* page) {
  if (IndexOf(page) < 0) FList.push_back(page);
}

void TParamPages::Remove(TParamPage* page) { FList.erase(std::remove(FList.begin(), FList.end(), page), FList.end()); }

void TParamPages::CloseEvent() {
  for (auto* p : FList) p->CloseEvent();
}
void TParamPages::UpdatePage() {
  for (auto* p : FList) p->UpdatePage();
}
void TParamPages::UpdateObject() {
  for (auto* p : FList) p->UpdateObject();
}

void TParamPages::Clear() {
  auto pages = std::move(FList);
  FList.clear();
  for (auto* p : pages) delete p;
}

}  // namespace zel
