#include "testbench/core/pages/status/ReportMemo.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <stdexcept>

#include "testbench/core/Dialogs.h"
#include "testbench/core/QtText.h"

namespace zel {

void TReportMemo::Clear() {
  FReport.Clear();
  FMemo->clear();
}

void TReportMemo::Show() {
  FMemo->setPlainText(QString::fromStdString(FReport.Text()));
  FMemo->moveCursor(QTextCursor::Start);
}

void WriteTextLines(const QString& fileName, const QStringList& lines) {
  QFile file(fileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    throw std::runtime_error(Tr("Не удалось записать файл") + " \"" + fileName.toStdString() + "\"");
  for (const QString& line : lines) {
    file.write(line.toUtf8());
    file.write("\n");
  }
  if (!file.flush()) throw std::runtime_error(Tr("Не удалось записать файл") + " \"" + fileName.toStdString() + "\"");
}

bool SaveMemoLines(QWidget* parent, QPlainTextEdit* memo) {
  QString name = dialogs::SaveFileName(parent, QTr("Сохранить"), "*.txt (*.txt);;*.* (*)");
  if (name.isEmpty()) return false;
  if (QFileInfo(name).suffix().isEmpty()) name += ".txt";
  WriteTextLines(name, memo->toPlainText().split('\n'));
  return true;
}

}  // namespace zel
