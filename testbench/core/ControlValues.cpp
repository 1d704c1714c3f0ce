#include "testbench/core/ControlValues.h"

#include <QComboBox>
#include <QDateTime>
#include <QSettings>
#include <QStringList>
#include <QWidget>
#include <functional>

#include "testbench/core/Controls.h"

namespace zel {

namespace {
const char* const kPathless = "zelPathless";
constexpr int kMaxSavedText = 4096;

bool IsPathless(const QWidget* w) {
  return w->objectName().startsWith(QLatin1String("qt_")) || w->property(kPathless).toBool();
}

bool IsNotSaved(const QWidget* w) { return w->property("Tag").toInt() == kTagNotSaved; }

// Saved controls, depth first; neither controls nor Tag 1000 subtrees are entered.
void Walk(QWidget* parent, const std::function<void(QWidget*)>& fn) {
  for (QObject* o : parent->children()) {
    auto* w = qobject_cast<QWidget*>(o);
    if (!w || w->isWindow() || IsNotSaved(w)) continue;
    if (IsValueControl(w)) {
      if (!IsReadOnlyControl(w)) fn(w);
      continue;
    }
    Walk(w, fn);
  }
}
}  // namespace

QString ControlPath(const QWidget* control) {
  QStringList names;
  for (const QWidget* w = control; w; w = w->parentWidget()) {
    if (w != control && IsPathless(w)) continue;
    names.prepend(w->objectName());
    if (w->isWindow()) break;
  }
  return names.join(QLatin1Char('.'));
}

void MarkPathless(QWidget* w) { w->setProperty(kPathless, true); }

void SaveControls(QWidget* root, QSettings& settings) {
  Walk(root, [&](QWidget* w) {
    QVariant value = ControlValue(w);
    if (value.typeId() == QMetaType::QString)
      value = value.toString().left(kMaxSavedText);
    else if (value.typeId() == QMetaType::QDateTime)
      value = value.toDateTime().toString(Qt::ISODate);
    settings.setValue(ControlPath(w), value);
  });
}

void LoadControls(QWidget* root, QSettings& settings) {
  Walk(root, [&](QWidget* w) {
    const QString name = ControlPath(w);
    if (settings.contains(name)) SetControlValue(w, settings.value(name));
  });
}

void ResetCombos(QWidget* root) {
  for (QComboBox* c : root->findChildren<QComboBox*>())
    if (c->metaObject() == &QComboBox::staticMetaObject && c->count() > 0) c->setCurrentIndex(0);
}

}  // namespace zel
