#pragma once
// The operator password field: digits and "." only, at most 100 characters;
// pasted text must be digits and no longer than 1024 characters, else it is
// refused with a message and nothing is pasted.
#include <QLineEdit>
#include <functional>

namespace zel {

class TPasswordEdit : public QLineEdit {
 public:
  explicit TPasswordEdit(QWidget* parent = nullptr);
  // Inserts text at the cursor after the checks; false when refused.
  bool PasteChecked(const QString& text);
  // The field's text as a password; false for an empty or non-integer text.
  bool Value(qint64& value) const;

  std::function<void()> OnLeave;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace zel
