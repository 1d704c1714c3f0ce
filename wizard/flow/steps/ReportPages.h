#pragma once
// The registration's confirmation (what will be registered) and its result: the
// report shown, printed on the register, saved as text or as the X5 report file.
#include <string>
#include <vector>

#include "wizard/flow/ui/ParamPage.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zel {

class TfmFiscalizationBefore : public TParamPage {
  Q_OBJECT
 public:
  TfmFiscalizationBefore();
  void Next() override;

 protected:
  void Enter() override;

 private:
  QLabel* lblHeading;
  QPlainTextEdit* memReport;
};

class TfmFiscalizationInfo : public TParamPage {
  Q_OBJECT
 public:
  TfmFiscalizationInfo();
  void Next() override;
  const std::vector<std::string>& Lines() const { return FLines; }

 protected:
  void Enter() override;

 private:
  void Print();
  void Save();
  void SaveX5();
  QLabel* lblHeading;
  QPlainTextEdit* memReport;
  QPushButton* btnSaveX5;
  std::vector<std::string> FLines;
};

// A read-only memo in a fixed-pitch font without word wrap.
QPlainTextEdit* AddReportMemo(QWidget* page);

}  // namespace zel
