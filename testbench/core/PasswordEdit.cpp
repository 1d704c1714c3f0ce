#include "testbench/core/PasswordEdit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <memory>

#include "testbench/core/Dialogs.h"
#include "testbench/core/QtText.h"

namespace zel {

namespace {
constexpr int kMaxLength = 100;
constexpr int kMaxPasteLength = 1024;

bool AllDigits(const QString& text) {
  if (text.isEmpty()) return false;
  for (QChar c : text)
    if (c < '0' || c > '9') return false;
  return true;
}
}  // namespace

TPasswordEdit::TPasswordEdit(QWidget* parent) : QLineEdit(parent) {
  setMaxLength(kMaxLength);
  setAcceptDrops(false);
}

bool TPasswordEdit::Value(qint64& value) const {
  if (!AllDigits(text())) return false;
  bool ok = false;
  value = text().toLongLong(&ok);
  return ok;
}

bool TPasswordEdit::PasteChecked(const QString& text) {
  if (text.size() > kMaxPasteLength) {
    dialogs::ShowError(this, QTr("Некорректное значение в поле") + " \"Password\"");
    return false;
  }
  bool ok = AllDigits(text);
  if (ok) text.toLongLong(&ok);
  if (!ok) {
    dialogs::ShowError(this, QTr("\"%1\" не является целым числом").arg(text));
    return false;
  }
  insert(text);
  return true;
}

void TPasswordEdit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    PasteChecked(QGuiApplication::clipboard()->text());
    return;
  }
  if (const QString typed = event->text(); !typed.isEmpty()) {
    const QChar c = typed[0];
    const bool allowed = (c >= '0' && c <= '9') || c == '.';
    if (c.isPrint() && !allowed) return;
  }
  QLineEdit::keyPressEvent(event);
}

void TPasswordEdit::contextMenuEvent(QContextMenuEvent* event) {
  std::unique_ptr<QMenu> menu(createStandardContextMenu());
  for (QAction* action : menu->actions()) {
    if (action->objectName() != "edit-paste") continue;
    action->disconnect();
    connect(action, &QAction::triggered, this,
            [this] { PasteChecked(QGuiApplication::clipboard()->text()); });
  }
  menu->exec(event->globalPos());
}

void TPasswordEdit::mouseReleaseEvent(QMouseEvent* event) {
  // The middle button pastes the selection: the same checks apply.
  if (event->button() == Qt::MiddleButton) {
    if (QGuiApplication::clipboard()->supportsSelection())
      PasteChecked(QGuiApplication::clipboard()->text(QClipboard::Selection));
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
}

void TPasswordEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (OnLeave) OnLeave();
}

}  // namespace zel
