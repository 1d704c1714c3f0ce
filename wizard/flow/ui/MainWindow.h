#pragma once
// The wizard's window: a title strip, the page area and the buttons
// "< Назад", "Далее >", home and driver settings.
#include <QWidget>

#include "wizard/flow/ui/ParamPage.h"

class QLabel;
class QPushButton;

namespace zel {

class TfmMain : public QWidget {
  Q_OBJECT
 public:
  // programDir: the folder looked at for "X5.ini" (the program's own by default).
  explicit TfmMain(const QString& programDir = {});
  ~TfmMain() override;

  void EnableNext(bool e);
  void EnablePrev(bool e);
  void EnableHome(bool e);
  void EnableSettings(bool e);
  // As if the button were clicked, only while it is enabled.
  void Next();
  void Prev();
  void Home();

  TParamPages& Pages() { return FPages; }
  int ShownIndex() const { return FShown; }

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void AddPages();
  void AddPage(TParamPage* page);
  void ShowPage(int index);
  void btnNextClick();
  void btnPrevClick();
  void btnHomeClick();
  void btnMenuClick();

  TParamPages FPages;
  QLabel* pnlTop = nullptr;
  QWidget* pnlSite = nullptr;
  QPushButton* btnHome = nullptr;
  QPushButton* btnPrev = nullptr;
  QPushButton* btnNext = nullptr;
  QPushButton* btnMenu = nullptr;
  int FShown = -1;
  bool FFirstShow = true;
  bool FClosed = false;
};

}  // namespace zel
