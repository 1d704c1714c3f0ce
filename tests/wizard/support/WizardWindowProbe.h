#pragma once
// What the wizard's window tests use to find pages and controls and to step
// through the flow; a fixture says which window it drives.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <utility>

#include "wizard/flow/steps/PageList.h"
#include "wizard/flow/ui/Controller.h"

namespace zel::test {

class TWizardWindowProbe {
 protected:
  virtual ~TWizardWindowProbe() = default;
  virtual QWidget* WizardWindow() = 0;

  template <class T>
  T* Page() {
    return WizardWindow()->findChild<T*>(QString(), Qt::FindChildrenRecursively);
  }
  template <class W>
  W* Ctl(QWidget* page, const char* name) {
    W* w = page ? page->findChild<W*>(name) : nullptr;
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  template <class T>
  bool On() {
    return Controller().CurrentPage && Controller().CurrentPage->metaObject() == &T::staticMetaObject;
  }
  QPushButton* Button(const char* name) { return WizardWindow()->findChild<QPushButton*>(name); }
  void Next() { Button("btnNext")->click(); }
  void Back() { Button("btnPrev")->click(); }

  // The OFD data the OFD page requires.
  void FillOFD(const char* ofdName = "ОФД") {
    const std::pair<const char*, const char*> values[] = {
        {"edtOFDServer", "ofd.example"}, {"edtOFDPort", "7790"},      {"edtOFDName", ofdName},
        {"edtOFDUrl", "www.ofd.example"}, {"edtINNOFD", "1234567894"}, {"edtServerKM", "km.example"},
        {"edtPortKM", "7791"},          {"edtSenderEmail", "noreply@ofd.example"}};
    for (const auto& [name, value] : values) Ctl<QLineEdit>(Page<TfmOFDParams>(), name)->setText(value);
  }
};

}  // namespace zel::test
