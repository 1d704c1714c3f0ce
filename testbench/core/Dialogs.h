#pragma once
// Every message box and file dialog of the test bench goes through here, so a
// test can switch to scripted answers: nothing modal opens, the next queued
// answer (or file name) is returned and each message is recorded.
#include <QString>
#include <vector>

class QWidget;

namespace zel::dialogs {

enum class TIcon { None, Information, Warning, Critical, Question };

// Shows a message box; buttons and the result are QMessageBox::StandardButton
// values (Ok when not given).
int Message(QWidget* parent, const QString& caption, const QString& text,
            TIcon icon = TIcon::Information, int buttons = 0);
// The application's error box, captioned with the title set here.
void ShowError(QWidget* parent, const QString& text);
void SetApplicationTitle(const QString& title);
// Empty when the user cancels.
QString OpenFileName(QWidget* parent, const QString& caption, const QString& filter);
QString SaveFileName(QWidget* parent, const QString& caption, const QString& filter);

// Test seam.
struct TShownMessage {
  QString Caption;
  QString Text;
  TIcon Icon;
};
void SetScripted(bool on);
void PushAnswer(int button);             // next Message() result (default: Ok)
void PushFileName(const QString& name);  // next file dialog result (default: empty)
const std::vector<TShownMessage>& Shown();
void ClearShown();

}  // namespace zel::dialogs
