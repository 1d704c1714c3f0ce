#include "testbench/core/PageBuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <string>

#include "testbench/core/ControlValues.h"
#include "testbench/core/Controls.h"
#include "testbench/core/Driver.h"
#include "testbench/core/Pages.h"

namespace zel {

TPageBuilder::TPageBuilder(TPage* page) : FPage(page) {
  FStack.push_back({new QGridLayout(page), nullptr});
}

void TPageBuilder::Bind(QWidget* w, const char* name, const char* property) {
  w->setObjectName(QString::fromUtf8(name));
  if (property) w->setToolTip(QString::fromUtf8(property));
}

void TPageBuilder::Place(QWidget* w, const QString& label, bool stretch) {
  TLevel& level = FStack.back();
  if (level.Line) {
    if (!label.isEmpty()) level.Line->addWidget(new QLabel(label));
    level.Line->addWidget(w, stretch ? 1 : 0);
    return;
  }
  QGridLayout* grid = level.Grid;
  const int row = grid->rowCount();
  if (label.isEmpty()) {
    grid->addWidget(w, row, 0, 1, 2);
  } else {
    grid->addWidget(new QLabel(label), row, 0);
    grid->addWidget(w, row, 1);
  }
  if (stretch) grid->setRowStretch(row, 1);
}

TPageBuilder& TPageBuilder::Group(const char* name, const QString& caption) {
  auto* box = new QGroupBox(caption);
  box->setObjectName(QString::fromUtf8(name));
  Place(box, {});
  FStack.push_back({new QGridLayout(box), nullptr});
  return *this;
}

TPageBuilder& TPageBuilder::Row() {
  auto* holder = new QWidget;  // layout only: not part of saved value names
  MarkPathless(holder);
  auto* line = new QHBoxLayout(holder);
  line->setContentsMargins(0, 0, 0, 0);
  Place(holder, {});
  FStack.push_back({nullptr, line});
  return *this;
}

TPageBuilder& TPageBuilder::End() {
  if (FStack.size() > 1) {
    if (FStack.back().Line) FStack.back().Line->addStretch(1);
    FStack.pop_back();
  }
  return *this;
}

TPageBuilder& TPageBuilder::Stretch() {
  TLevel& level = FStack.back();
  if (level.Line)
    level.Line->addStretch(1);
  else
    level.Grid->setRowStretch(level.Grid->rowCount(), 1);
  return *this;
}

QLineEdit* TPageBuilder::Edit(const char* name, const QString& label, const char* property,
                              const QString& text) {
  auto* e = new QLineEdit(text);
  Bind(e, name, property);
  Place(e, label);
  return e;
}

QLineEdit* TPageBuilder::Output(const char* name, const QString& label, const char* property) {
  QLineEdit* e = Edit(name, label, property);
  e->setReadOnly(true);
  return e;
}

QSpinBox* TPageBuilder::Spin(const char* name, const QString& label, int min, int max, int value,
                             const char* property) {
  auto* s = new QSpinBox;
  s->setRange(min, max);
  s->setValue(value);
  Bind(s, name, property);
  Place(s, label);
  return s;
}

QComboBox* TPageBuilder::Combo(const char* name, const QString& label, const QStringList& items,
                               const char* property) {
  auto* c = new QComboBox;
  c->addItems(items);
  Bind(c, name, property);
  Place(c, label);
  return c;
}

QCheckBox* TPageBuilder::CheckBox(const char* name, const QString& caption, const char* property) {
  auto* c = new QCheckBox(caption);
  Bind(c, name, property);
  Place(c, {});
  return c;
}

TRadioGroup* TPageBuilder::Radio(const char* name, const QString& caption, const QStringList& items,
                                 const char* property) {
  auto* r = new TRadioGroup(caption, items);
  r->SetItemIndex(0);
  Bind(r, name, property);
  Place(r, {});
  return r;
}

QPlainTextEdit* TPageBuilder::Memo(const char* name, bool readOnly) {
  auto* m = new QPlainTextEdit;
  m->setReadOnly(readOnly);
  m->setLineWrapMode(QPlainTextEdit::NoWrap);
  m->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  Bind(m, name, nullptr);
  Place(m, {}, true);
  return m;
}

QPushButton* TPageBuilder::Button(const char* name, const QString& caption,
                                  std::function<void()> handler) {
  auto* b = new QPushButton(caption);
  Bind(b, name, nullptr);
  TPage* page = FPage;
  QObject::connect(b, &QPushButton::clicked, page,
                   [page, handler = std::move(handler)] { page->Run(handler); });
  Place(b, {});
  return b;
}

QPushButton* TPageBuilder::MethodButton(const char* name, const QString& caption, const char* method) {
  TPage* page = FPage;
  return Button(name, caption, [page, m = std::string(method)] {
    page->WriteBoundProperties();
    TPage::Check(Driver().Call(m));
    page->ReadBoundProperties();
  });
}

}  // namespace zel
