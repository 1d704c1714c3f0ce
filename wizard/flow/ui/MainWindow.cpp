#include "wizard/flow/ui/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedLayout>
#include <QStyle>

#include "driver/Zelvox.h"
#include "wizard/flow/steps/PageList.h"
#include "wizard/flow/ui/Controller.h"
#include "wizard/flow/ui/Title.h"

namespace zel {

TfmMain::TfmMain(const QString& programDir) {
  setObjectName("fmMain");
  const QString dir = programDir.isEmpty() ? QApplication::applicationDirPath() : programDir;
  Controller().X5Mode = QFileInfo::exists(QDir(dir).filePath("X5.ini"));
  Controller().SetMainWindow(this);
  setWindowTitle(MainCaption(Controller().X5Mode));

  auto* root = new QVBoxLayout(this);
  pnlTop = new QLabel(this);
  pnlTop->setObjectName("pnlTop");
  QFont bold = pnlTop->font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 2);
  pnlTop->setFont(bold);
  root->addWidget(pnlTop);
  pnlSite = new QWidget(this);
  pnlSite->setObjectName("pnlSite");
  new QStackedLayout(pnlSite);
  root->addWidget(pnlSite, 1);

  auto* pnlBottom = new QWidget(this);
  pnlBottom->setObjectName("pnlBottom");
  auto* bottom = new QHBoxLayout(pnlBottom);
  btnHome = new QPushButton(style()->standardIcon(QStyle::SP_DirHomeIcon), {}, pnlBottom);
  btnHome->setObjectName("btnHome");
  btnHome->setToolTip(TrQ("Вернуться в начало"));
  auto* pnlButtons = new QWidget(pnlBottom);
  pnlButtons->setObjectName("pnlButtons");
  auto* buttons = new QHBoxLayout(pnlButtons);
  btnPrev = new QPushButton(TrQ("< Назад"), pnlButtons);
  btnPrev->setObjectName("btnPrev");
  btnNext = new QPushButton(TrQ("Далее >"), pnlButtons);
  btnNext->setObjectName("btnNext");
  btnNext->setDefault(true);
  buttons->addWidget(btnPrev);
  buttons->addWidget(btnNext);
  btnMenu = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogDetailedView), {}, pnlBottom);
  btnMenu->setObjectName("btnMenu");
  btnMenu->setToolTip(TrQ("Настройки драйвера"));
  bottom->addWidget(btnHome);
  bottom->addStretch(1);  // the stretches keep the two buttons centred on every resize
  bottom->addWidget(pnlButtons);
  bottom->addStretch(1);
  bottom->addWidget(btnMenu);
  root->addWidget(pnlBottom);

  connect(btnNext, &QPushButton::clicked, this, [this] { btnNextClick(); });
  connect(btnPrev, &QPushButton::clicked, this, [this] { btnPrevClick(); });
  connect(btnHome, &QPushButton::clicked, this, [this] { btnHomeClick(); });
  connect(btnMenu, &QPushButton::clicked, this, [this] { btnMenuClick(); });

  AddPages();
  resize(sizeHint().expandedTo(QSize(640, 480)));
  Controller().CurrentPage = FPages.GetItem(0);
}

TfmMain::~TfmMain() {
  if (!FClosed) FPages.CloseEvent();
  // Pages (and their background work) go before the driver they use.
  FPages.Clear();
  Controller().CurrentPage = nullptr;
  Controller().SetMainWindow(nullptr);
  ReleaseDriver();
}

void TfmMain::AddPages() {
  for (const auto& make : WizardPageFactories()) AddPage(make());
}

void TfmMain::AddPage(TParamPage* page) {
  page->SetOwner(&FPages);
  page->setParent(pnlSite);
  static_cast<QStackedLayout*>(pnlSite->layout())->addWidget(page);
  page->hide();
  // The page area grows to the largest page.
  pnlSite->setMinimumSize(pnlSite->minimumSize().expandedTo(page->sizeHint()));
}

void TfmMain::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (!FFirstShow) return;
  FFirstShow = false;
  Controller().NextPageClass = &TfmSelectWorkType::staticMetaObject;
  ShowPage(0);
}

void TfmMain::closeEvent(QCloseEvent* e) {
  FPages.CloseEvent();
  FClosed = true;
  QWidget::closeEvent(e);
}

void TfmMain::EnableNext(bool e) {
  if (btnNext->isEnabled() != e) btnNext->setEnabled(e);
}
void TfmMain::EnablePrev(bool e) {
  if (btnPrev->isEnabled() != e) btnPrev->setEnabled(e);
}
void TfmMain::EnableHome(bool e) { btnHome->setEnabled(e); }
void TfmMain::EnableSettings(bool e) { btnMenu->setEnabled(e); }

void TfmMain::Next() {
  if (btnNext->isEnabled()) btnNextClick();
}
void TfmMain::Prev() {
  if (btnPrev->isEnabled()) btnPrevClick();
}
void TfmMain::Home() {
  Controller().NextPageClass = &TfmSelectWorkType::staticMetaObject;
  ShowPage(0);
  Controller().CurrentPage = FPages.GetItem(0);
}

void TfmMain::ShowPage(int index) {
  EnableNext(true);
  EnablePrev(true);
  EnableHome(true);
  EnableSettings(true);
  TParamPage* page = FPages.GetItem(index);
  if (page && index != FShown) {
    TParamPage* old = FPages.GetItem(FShown);
    FShown = index;
    pnlTop->setText(page->Caption());
    Controller().CurrentPage = page;
    static_cast<QStackedLayout*>(pnlSite->layout())->setCurrentWidget(page);
    page->show();  // runs the page's show handler: every step re-reads the device when entered
    if (old && old != page) old->hide();
  }
  EnablePrev(FShown != 0);
}

void TfmMain::btnNextClick() {
  TParamPage* current = Controller().CurrentPage;
  if (!current) return;
  // A page that sets no successor (or is cancelled) keeps the operator where he is.
  Controller().NextPageClass = nullptr;
  if (!RunGuarded(this, [current] { current->Next(); })) return;
  if (!Controller().NextPageClass) return;
  int index = FPages.PageIndexByClass(Controller().NextPageClass);
  if (index < 0) index = 0;
  TParamPage* next = FPages.GetItem(index);
  if (next == current) return;
  next->PrevPage = current;
  ShowPage(index);
}

void TfmMain::btnPrevClick() {
  TParamPage* current = Controller().CurrentPage;
  if (!current) return;
  if (!RunGuarded(this, [current] { current->Prev(); })) return;
  int index = FPages.IndexOf(current->PrevPage);
  if (index < 0) index = 0;
  ShowPage(index);
}

void TfmMain::btnHomeClick() {
  if (TParamPage* current = Controller().CurrentPage) RunGuarded(this, [current] { current->Home(); });
  Home();
}

void TfmMain::btnMenuClick() {
  RunGuarded(this, [] {
    TZelvox& d = EnsureDriver();
    d.Disconnect();
    d.ShowProperties();
  });
}

}  // namespace zel
