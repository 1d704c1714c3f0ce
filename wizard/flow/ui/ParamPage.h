#pragma once
// A step page of the wizard and the list that keeps the pages in step order.
#include <QMetaObject>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

namespace zel {

class TParamPages;

// A page class: its meta-object (descendants match through inherits()).
using TParamPageClass = const QMetaObject*;

class TParamPage : public QWidget {
  Q_OBJECT
 public:
  explicit TParamPage(const char* caption);

  QString Caption() const;  // translated
  TParamPage* PrevPage = nullptr;

  // The main window is closing: stop background work.
  virtual void CloseEvent() {}
  // "Далее": validate, act, set Controller().NextPageClass. Throwing (EWizardError,
  // EAbort) keeps the operator on the page.
  virtual void Next() {}
  // "< Назад": stop background work.
  virtual void Prev() {}
  virtual void UpdatePage() {}
  virtual void SetDefaults() {}
  virtual void UpdateObject() {}
  // The home button was pressed while this page was shown.
  virtual void Home() {}

  void SetOwner(TParamPages* owner);
  int GetIndex() const;
  bool IsA(TParamPageClass cls) const { return cls && metaObject()->inherits(cls); }

 protected:
  // Runs each time the page is shown; failures are shown and the page stays.
  virtual void Enter() {}
  void showEvent(QShowEvent* event) override;

 private:
  QString FCaption;
  TParamPages* FOwner = nullptr;
};

class TParamPages {
 public:
  ~TParamPages();
  int Count() const { return static_cast<int>(FList.size()); }
  TParamPage* GetItem(int index) const;
  int IndexOf(const TParamPage* page) const;
  int PageIndexByClass(TParamPageClass cls) const;  // -1 when none
  TParamPage* PageByClass(TParamPageClass cls) const;
  void Add(TParamPage* page);
  void Remove(TParamPage* page);
  void CloseEvent();
  void UpdatePage();
  void UpdateObject();
  // Frees the pages (before the driver goes).
  void Clear();

 private:
  std::vector<TParamPage*> FList;
};

// Runs a step action: EAbort is silent, other failures go to the error box.
// True when it completed.
bool RunGuarded(QWidget* parent, const std::function<void()>& action);

}  // namespace zel
