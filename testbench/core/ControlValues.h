#pragma once
// Saving and restoring the values of a window's input controls. A value's
// name is the dot-joined chain of object names from the top window down to
// the control; an unnamed parent adds an empty segment, while Qt's own inner
// widgets (names starting with "qt_") and widgets marked with MarkPathless
// add none. A control whose dynamic property "Tag" is 1000 is skipped with
// everything inside it.
#include <QString>

class QSettings;
class QWidget;

namespace zel {

inline constexpr int kTagNotSaved = 1000;

QString ControlPath(const QWidget* control);
void MarkPathless(QWidget* w);

void SaveControls(QWidget* root, QSettings& settings);
void LoadControls(QWidget* root, QSettings& settings);
// Every plain combo box (not a subclass) under root shows its first item.
void ResetCombos(QWidget* root);

}  // namespace zel
