#include "server/gui/MessageBoxes.h"

#include <QMessageBox>

#include "server/gui/ProgramInfo.h"

namespace zel {

namespace {
TMessageHandler& Handler() {
  static TMessageHandler handler;
  return handler;
}
}  // namespace

void SetMessageHandler(TMessageHandler handler) { Handler() = std::move(handler); }

bool ShowMessage(QWidget* parent, TMessageKind kind, const QString& text) {
  if (Handler()) return Handler()(kind, text);
  const QString title = ProgramTitle();
  switch (kind) {
    case TMessageKind::Error:
      QMessageBox::critical(parent, title, text);
      return true;
    case TMessageKind::Question:
      return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                   QMessageBox::No) == QMessageBox::Yes;
    case TMessageKind::About:
      QMessageBox::about(parent, title, text);
      return true;
  }
  return false;
}

}  // namespace zel
