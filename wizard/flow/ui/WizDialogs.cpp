#include "wizard/flow/ui/WizDialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <deque>

#include "wizard/flow/ui/Title.h"

namespace zel::wizdlg {

namespace {
bool gScripted = false;
std::deque<int> gAnswers;
std::deque<QString> gFiles;
std::vector<TShown> gShown;
QString gProposed;

QString NextFile() {
  if (gFiles.empty()) return {};
  QString f = gFiles.front();
  gFiles.pop_front();
  return f;
}
}  // namespace

int Message(QWidget* parent, const QString& caption, const QString& text, TIcon icon, int buttons,
            int defaultButton) {
  if (buttons == 0) buttons = QMessageBox::Ok;
  if (gScripted) {
    gShown.push_back({caption, text, icon});
    if (gAnswers.empty()) return QMessageBox::Ok;
    const int a = gAnswers.front();
    gAnswers.pop_front();
    return a;
  }
  const QMessageBox::Icon i = icon == TIcon::Critical ? QMessageBox::Critical
                              : icon == TIcon::Warning ? QMessageBox::Warning
                                                       : QMessageBox::Information;
  QMessageBox box(i, caption, text, QMessageBox::StandardButtons(buttons), parent);
  if (defaultButton) box.setDefaultButton(QMessageBox::StandardButton(defaultButton));
  return box.exec();
}

void ShowError(QWidget* parent, const QString& text) { Message(parent, ProgramTitle(), text, TIcon::Critical); }

QString SaveFileName(QWidget* parent, const QString& caption, const QString& filter, const QString& defaultName) {
  gProposed = defaultName;
  return gScripted ? NextFile() : QFileDialog::getSaveFileName(parent, caption, defaultName, filter);
}
QString OpenFileName(QWidget* parent, const QString& caption, const QString& filter) {
  return gScripted ? NextFile() : QFileDialog::getOpenFileName(parent, caption, {}, filter);
}

void SetScripted(bool on) { gScripted = on; }
void PushAnswer(int button) { gAnswers.push_back(button); }
void ClearAnswers() { gAnswers.clear(); }
void PushFileName(const QString& name) { gFiles.push_back(name); }
const std::vector<TShown>& Shown() { return gShown; }
void ClearShown() { gShown.clear(); }
QString LastProposedName() { return gProposed; }

}  // namespace zel::wizdlg
