#include "testbench/core/Controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextEdit>
#include <QVBoxLayout>

namespace zel {

TRadioGroup::TRadioGroup(const QString& title, const QStringList& items, QWidget* parent)
    : QGroupBox(title, parent), FGroup(new QButtonGroup(this)) {
  auto* layout = new QVBoxLayout(this);
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    FGroup->addButton(button, i);
    layout->addWidget(button);
  }
}

int TRadioGroup::ItemIndex() const { return FGroup->checkedId(); }

void TRadioGroup::SetItemIndex(int index) {
  if (QAbstractButton* b = FGroup->button(index)) b->setChecked(true);
}

int TRadioGroup::Count() const { return static_cast<int>(FGroup->buttons().size()); }

bool IsValueControl(const QWidget* w) {
  if (w->objectName().startsWith(QLatin1String("qt_"))) return false;
  return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
         qobject_cast<const QTextEdit*>(w) || qobject_cast<const QSpinBox*>(w) ||
         qobject_cast<const QComboBox*>(w) || qobject_cast<const QCheckBox*>(w) ||
         qobject_cast<const QRadioButton*>(w) || dynamic_cast<const TRadioGroup*>(w) ||
         qobject_cast<const QDateTimeEdit*>(w);
}

bool IsReadOnlyControl(const QWidget* w) {
  if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->isReadOnly();
  if (auto* m = qobject_cast<const QPlainTextEdit*>(w)) return m->isReadOnly();
  if (auto* t = qobject_cast<const QTextEdit*>(w)) return t->isReadOnly();
  return false;
}

QVariant ControlValue(const QWidget* w) {
  if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->text();
  if (auto* m = qobject_cast<const QPlainTextEdit*>(w)) return m->toPlainText();
  if (auto* t = qobject_cast<const QTextEdit*>(w)) return t->toPlainText();
  if (auto* s = qobject_cast<const QSpinBox*>(w)) return s->value();
  if (auto* c = qobject_cast<const QComboBox*>(w)) return c->currentIndex();
  if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->isChecked();
  if (auto* r = dynamic_cast<const TRadioGroup*>(w)) return r->ItemIndex();
  if (auto* d = qobject_cast<const QDateTimeEdit*>(w)) return d->dateTime();
  return {};
}

void SetControlValue(QWidget* w, const QVariant& value) {
  bool ok = true;
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    e->setText(value.toString());
  } else if (auto* m = qobject_cast<QPlainTextEdit*>(w)) {
    m->setPlainText(value.toString());
  } else if (auto* t = qobject_cast<QTextEdit*>(w)) {
    t->setPlainText(value.toString());
  } else if (auto* s = qobject_cast<QSpinBox*>(w)) {
    int v = value.toInt(&ok);
    if (ok) s->setValue(v);
  } else if (auto* c = qobject_cast<QComboBox*>(w)) {
    int v = value.toInt(&ok);
    if (!ok || v < 0 || v >= c->count()) v = 0;
    c->setCurrentIndex(v);
  } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
    b->setChecked(value.toBool());
  } else if (auto* r = dynamic_cast<TRadioGroup*>(w)) {
    int v = value.toInt(&ok);
    if (!ok || v < 0 || v >= r->Count()) v = 0;
    r->SetItemIndex(v);
  } else if (auto* d = qobject_cast<QDateTimeEdit*>(w)) {
    QDateTime dt = value.toDateTime();
    if (!dt.isValid()) dt = QDateTime::fromString(value.toString(), Qt::ISODate);
    if (dt.isValid()) d->setDateTime(dt);
  }
}

}  // namespace zel
