#include "testbench/core/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <deque>

namespace zel::dialogs {

namespace {
bool gScripted = false;
QString gTitle;
std::deque<int> gAnswers;
std::deque<QString> gFileNames;
std::vector<TShownMessage> gShown;

QMessageBox::Icon BoxIcon(TIcon icon) {
  switch (icon) {
    case TIcon::Information: return QMessageBox::Information;
    case TIcon::Warning: return QMessageBox::Warning;
    case TIcon::Critical: return QMessageBox::Critical;
    case TIcon::Question: return QMessageBox::Question;
    case TIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

QString NextFileName() {
  if (gFileNames.empty()) return {};
  QString name = gFileNames.front();
  gFileNames.pop_front();
  return name;
}
}  // namespace

int Message(QWidget* parent, const QString& caption, const QString& text, TIcon icon, int buttons) {
  if (buttons == 0) buttons = QMessageBox::Ok;
  if (gScripted) {
    gShown.push_back({caption, text, icon});
    if (gAnswers.empty()) return QMessageBox::Ok;
    int answer = gAnswers.front();
    gAnswers.pop_front();
    return answer;
  }
  QMessageBox box(BoxIcon(icon), caption, text, QMessageBox::StandardButtons(buttons), parent);
  return box.exec();
}

void ShowError(QWidget* parent, const QString& text) {
  Message(parent, gTitle.isEmpty() ? QApplication::applicationName() : gTitle, text, TIcon::Critical);
}

void SetApplicationTitle(const QString& title) { gTitle = title; }

QString OpenFileName(QWidget* parent, const QString& caption, const QString& filter) {
  if (gScripted) return NextFileName();
  return QFileDialog::getOpenFileName(parent, caption, {}, filter);
}

QString SaveFileName(QWidget* parent, const QString& caption, const QString& filter) {
  if (gScripted) return NextFileName();
  return QFileDialog::getSaveFileName(parent, caption, {}, filter);
}

void SetScripted(bool on) { gScripted = on; }
void PushAnswer(int button) { gAnswers.push_back(button); }
void PushFileName(const QString& name) { gFileNames.push_back(name); }
const std::vector<TShownMessage>& Shown() { return gShown; }
void ClearShown() { gShown.clear(); }

}  // namespace zel::dialogs
