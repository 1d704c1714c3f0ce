#pragma once
// A group of pages: one tab per page.
#include "testbench/core/Pages.h"

class QTabWidget;

namespace zel {

class TfmTabbedPage : public TPage {
 public:
  explicit TfmTabbedPage(QWidget* parent = nullptr);

  QTabWidget* PageControl() const { return FPageControl; }
  // Puts the page on a new (unnamed) tab captioned with the page's title.
  void AddPage(TPage* page);
  // The page on the active tab, or nullptr.
  TPage* ActivePage() const;
  TPage* PageAt(int tab) const;

  void UpdatePage() override;
  void UpdateObject() override;

 private:
  void TabChanged(int index);
  QTabWidget* FPageControl;
  int FTabIndex = -1;
};

}  // namespace zel
