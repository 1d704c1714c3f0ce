#include "testbench/core/TabbedPage.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace zel {

TfmTabbedPage::TfmTabbedPage(QWidget* parent) : TPage(parent), FPageControl(new QTabWidget(this)) {
  FPageControl->setObjectName("PageControl");
  FPageControl->setUsesScrollButtons(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(FPageControl);
  QObject::connect(FPageControl, &QTabWidget::currentChanged, this,
                   [this](int index) { TabChanged(index); });
}

void TfmTabbedPage::AddPage(TPage* page) {
  auto* sheet = new QWidget;
  auto* layout = new QVBoxLayout(sheet);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(page);
  page->setVisible(true);
  const bool blocked = FPageControl->blockSignals(true);
  FPageControl->addTab(sheet, page->windowTitle());
  FPageControl->blockSignals(blocked);
  FTabIndex = FPageControl->currentIndex();
}

TPage* TfmTabbedPage::PageAt(int tab) const {
  QWidget* sheet = FPageControl->widget(tab);
  if (!sheet) return nullptr;
  for (QObject* o : sheet->children())
    if (auto* w = qobject_cast<QWidget*>(o)) return dynamic_cast<TPage*>(w);
  return nullptr;
}

TPage* TfmTabbedPage::ActivePage() const { return PageAt(FPageControl->currentIndex()); }

void TfmTabbedPage::UpdatePage() {
  if (TPage* p = ActivePage()) p->UpdatePage();
}

void TfmTabbedPage::UpdateObject() {
  if (TPage* p = ActivePage()) p->UpdateObject();
}

void TfmTabbedPage::TabChanged(int index) {
  TPage* old = FTabIndex != index ? PageAt(FTabIndex) : nullptr;
  FTabIndex = index;
  RunGuarded(this, [&] {
    if (old) old->UpdateObject();
    if (TPage* p = PageAt(index)) p->UpdatePage();
  });
}

}  // namespace zel
