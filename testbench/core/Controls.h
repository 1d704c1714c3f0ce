#pragma once
// The input controls pages are made of, and their values as QVariant for
// saving and for the driver binding.
#include <QGroupBox>
#include <QStringList>
#include <QVariant>

class QButtonGroup;

namespace zel {

// A titled box of radio buttons with one item index (-1: none chosen).
class TRadioGroup : public QGroupBox {
 public:
  TRadioGroup(const QString& title, const QStringList& items, QWidget* parent = nullptr);
  int ItemIndex() const;
  void SetItemIndex(int index);
  int Count() const;

 private:
  QButtonGroup* FGroup;
};

// Controls with a value: line edit, memo, spin box, combo box, check box,
// radio button, radio group, date-time edit. Qt's own inner parts (names
// starting with "qt_") are not controls.
bool IsValueControl(const QWidget* w);
// Line edits and memos that the user cannot edit.
bool IsReadOnlyControl(const QWidget* w);
// Integer, text, bool or date-time, by kind.
QVariant ControlValue(const QWidget* w);
// Sets the value as a user edit would (change signals fire). Combo and radio
// indexes out of range give the first item; a value of the wrong form is ignored.
void SetControlValue(QWidget* w, const QVariant& value);

}  // namespace zel
