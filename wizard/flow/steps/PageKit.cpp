#include "wizard/flow/steps/PageKit.h"

#include "wizard/flow/registration/DriverCheck.h"

namespace zel {

QVBoxLayout* PageLayout(QWidget* page) {
  auto* l = new QVBoxLayout(page);
  l->setAlignment(Qt::AlignTop);
  return l;
}

QLabel* AddLabel(QWidget* page, const char* name, const char* text) {
  auto* label = new QLabel(TrQ(text), page);
  label->setObjectName(name);
  label->setWordWrap(true);
  page->layout()->addWidget(label);
  return label;
}

QLineEdit* AddEdit(QWidget* page, const char* name, const char* caption, int maxLength) {
  auto* label = new QLabel(TrQ(caption), page);
  page->layout()->addWidget(label);
  auto* edit = new QLineEdit(page);
  edit->setObjectName(name);
  if (maxLength > 0) edit->setMaxLength(maxLength);
  label->setBuddy(edit);
  page->layout()->addWidget(edit);
  return edit;
}

QListWidget* AddList(QWidget* page, const char* name, std::initializer_list<const char*> items) {
  auto* list = new QListWidget(page);
  list->setObjectName(name);
  for (const char* item : items) list->addItem(TrQ(item));
  list->setCurrentRow(0);
  QObject::connect(list, &QListWidget::itemDoubleClicked, page, [] { Controller().Next(); });
  page->layout()->addWidget(list);
  return list;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }
std::string Trimmed(const QString& s) { return s.trimmed().toStdString(); }

void Fail(const QString& text) { throw EWizardError(text.toStdString()); }

void FailMissing(const char* label) { Fail(TrQ("Введите значение \"") + TrQ(label) + "\"!"); }

void SetTextColor(QLabel* label, const char* color) {
  label->setStyleSheet(QString("color: %1").arg(color));
}

}  // namespace zel
