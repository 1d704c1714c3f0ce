#pragma once
// Every message box and file dialog of the wizard goes through here, so a test
// can answer them in advance: nothing modal opens, the next queued answer (or
// file name) is returned and each message is recorded.
#include <QString>
#include <vector>

class QWidget;

namespace zel::wizdlg {

enum class TIcon { Information, Warning, Critical };

// buttons and the result are QMessageBox::StandardButton values; defaultButton
// is preselected (Cancel for the wizard's risky questions).
int Message(QWidget* parent, const QString& caption, const QString& text, TIcon icon, int buttons = 0,
            int defaultButton = 0);
void ShowError(QWidget* parent, const QString& text);  // captioned with the program title
// defaultName is the proposed file name; a scripted run records it (LastProposedName).
QString SaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                     const QString& defaultName = {});
QString OpenFileName(QWidget* parent, const QString& caption, const QString& filter);

struct TShown {
  QString Caption;
  QString Text;
  TIcon Icon;
};
void SetScripted(bool on);
void PushAnswer(int button);  // next Message() result (default: Ok)
void ClearAnswers();          // drops answers no message has taken
void PushFileName(const QString& name);
const std::vector<TShown>& Shown();
void ClearShown();
QString LastProposedName();

}  // namespace zel::wizdlg
