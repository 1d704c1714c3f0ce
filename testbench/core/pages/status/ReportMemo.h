#pragma once
// A report memo fed by a TReportBuilder: the handler appends lines to the
// builder and the memo shows them when the handler ends, also when a driver
// failure ends it early (the lines written so far stay).
#include <QString>
#include <QStringList>

#include "testbench/core/util/ReportBuilder.h"

class QPlainTextEdit;
class QWidget;

namespace zel {

class TReportMemo {
 public:
  TReportMemo(QPlainTextEdit* memo, TReportWidths widths) : FMemo(memo), FReport(widths) {}

  QPlainTextEdit* Memo() const { return FMemo; }
  TReportBuilder& Report() { return FReport; }
  // Empties the builder and the memo.
  void Clear();
  // Shows the builder's lines in the memo, caret at the start.
  void Show();

  // Clears (unless told not to), then shows what was built when it leaves scope.
  class TScope {
   public:
    explicit TScope(TReportMemo& memo, bool clear = true) : FOwner(memo) {
      if (clear) FOwner.Clear();
    }
    ~TScope() { FOwner.Show(); }
    TScope(const TScope&) = delete;
    TScope& operator=(const TScope&) = delete;

   private:
    TReportMemo& FOwner;
  };

 private:
  QPlainTextEdit* FMemo;
  TReportBuilder FReport;
};

// Asks for a text file name and writes the memo's lines to it in UTF-8, one
// line each; false when the user cancelled. A write failure raises an error.
bool SaveMemoLines(QWidget* parent, QPlainTextEdit* memo);
// The same for plain lines and a given file name.
void WriteTextLines(const QString& fileName, const QStringList& lines);

}  // namespace zel
