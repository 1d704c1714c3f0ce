#include "testbench/core/MainWindow.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "testbench/core/Caption.h"
#include "testbench/core/ControlValues.h"
#include "testbench/core/Dialogs.h"
#include "testbench/core/Driver.h"
#include "testbench/core/Language.h"
#include "testbench/core/PageCatalogue.h"
#include "testbench/core/PasswordEdit.h"
#include "testbench/core/QtText.h"
#include "testbench/core/TabbedPage.h"

namespace zel {

namespace {
constexpr int kListMinWidth = 14;
constexpr int kListMaxWidth = 200;

QLineEdit* ResultField(const char* name) {
  auto* e = new QLineEdit;
  e->setObjectName(name);
  e->setReadOnly(true);
  return e;
}
}  // namespace

const char* const TfmMain::ParamsGroup = "Tests/Zelvox/A4/Param";

QString TfmMain::ParamsFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         "/Veltrona/ZelvoxTst.ini";
}

TfmMain::TfmMain(QWidget* parent) : QMainWindow(parent) {
  ApplyLanguage();
  setObjectName("fmMain");
  BuildWindow();
  BuildMenus();

  FPages = std::make_unique<TPages>();
  PageNotifier().OnChange = [this](bool value) { PagesChanged(value); };
  CreatePages();
  InitializePages();
  LoadParams();

  dialogs::SetApplicationTitle(ProgramTitle());
  UpdateCaption();
  UpdateLanguage();
  RunGuarded(this, [this] { ShowPassword(); });
}

TfmMain::~TfmMain() {
  SaveParams();
  PageNotifier().OnChange = nullptr;
  FPage = nullptr;
  FPages->Clear();
  FreeDriver();
}

void TfmMain::BuildWindow() {
  auto* central = new QWidget;
  MarkPathless(central);
  setCentralWidget(central);
  auto* layout = new QVBoxLayout(central);

  auto* splitter = new QSplitter(Qt::Horizontal);
  splitter->setObjectName("pnlMain");
  splitter->setChildrenCollapsible(false);
  FList = new QListWidget;
  FList->setObjectName("lbPages");
  FList->setMinimumWidth(kListMinWidth);
  FList->setMaximumWidth(kListMaxWidth);
  FSite = new QWidget;
  FSite->setObjectName("pnlSite");
  auto* siteLayout = new QVBoxLayout(FSite);
  siteLayout->setContentsMargins(0, 0, 0, 0);
  splitter->addWidget(FList);
  splitter->addWidget(FSite);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({kListMaxWidth, 800});
  layout->addWidget(splitter, 1);

  auto* result = new QWidget;
  result->setObjectName("pnlResult");
  auto* grid = new QGridLayout(result);
  grid->setContentsMargins(0, 0, 0, 0);
  FResult = ResultField("edtResult");
  FTxData = ResultField("edtTxData");
  FRxData = ResultField("edtRxData");
  FTime = ResultField("edtTime");
  FOperator = ResultField("edtOperator");
  FPassword = new TPasswordEdit;
  FPassword->setObjectName("edtPassword");
  FPassword->setToolTip("Password");
  auto* properties = new QPushButton(QTr("Настройка свойств"));
  properties->setObjectName("btnProperties");
  properties->setProperty(kDriverControl, true);
  auto* close = new QPushButton(QTr("Закрыть"));
  close->setObjectName("btnClose");

  grid->addWidget(new QLabel(QTr("Результат:")), 0, 0);
  grid->addWidget(FResult, 0, 1, 1, 7);
  grid->addWidget(new QLabel(QTr("Отправлено:")), 1, 0);
  grid->addWidget(FTxData, 1, 1, 1, 7);
  grid->addWidget(new QLabel(QTr("Принято:")), 2, 0);
  grid->addWidget(FRxData, 2, 1, 1, 7);
  grid->addWidget(new QLabel(QTr("Время:")), 3, 0);
  grid->addWidget(FTime, 3, 1);
  grid->addWidget(new QLabel(QTr("Оператор:")), 3, 2);
  grid->addWidget(FOperator, 3, 3);
  grid->addWidget(new QLabel(QTr("Пароль:")), 3, 4);
  grid->addWidget(FPassword, 3, 5);
  grid->addWidget(properties, 3, 6);
  grid->addWidget(close, 3, 7);
  layout->addWidget(result);

  connect(FList, &QListWidget::currentRowChanged, this, [this](int row) {
    if (TfmTabbedPage* group = Group(row)) ShowPage(group);
  });
  connect(FPassword, &QLineEdit::textChanged, this, [this] { PasswordChanged(); });
  FPassword->OnLeave = [this] { RunGuarded(this, [this] { ShowPassword(); }); };
  connect(properties, &QPushButton::clicked, this, [this] { ShowProperties(true); });
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  resize(1000, 700);
}

void TfmMain::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QTr("Файл"));
  QAction* properties = file->addAction(QTr("Свойства драйвера..."));
  properties->setObjectName("actProperties");
  properties->setProperty(kDriverControl, true);
  connect(properties, &QAction::triggered, this, [this] { ShowProperties(false); });
  file->addSeparator();
  connect(file->addAction(QTr("В&ыход")), &QAction::triggered, this, &QWidget::close);

  QMenu* language = menuBar()->addMenu(QTr("Язык"));
  FLanguages = new QActionGroup(this);
  for (const auto& [caption, code] : {std::pair{"Русский", "RU"}, std::pair{"English", "EN"}}) {
    QAction* action = language->addAction(QTr(caption));
    action->setCheckable(true);
    action->setData(QString(code));
    FLanguages->addAction(action);
    connect(action, &QAction::triggered, this, [this, lang = QString(code)] { ChooseLanguage(lang); });
  }

  QMenu* help = menuBar()->addMenu(QTr("Справка"));
  connect(help->addAction(QTr("О программе...")), &QAction::triggered, this, [this] { ShowAbout(); });
  connect(help->addAction(QTr("Написать разработчикам...")), &QAction::triggered, this,
          [this] { WriteToDevelopers(); });
}

void TfmMain::CreatePages() {
  int number = 0;
  for (const TGroupDef& def : PageCatalogue()) {
    auto* group = new TfmTabbedPage(FSite);
    group->setObjectName(number == 0 ? QString("fmTabbedPage") : QString("fmTabbedPage_%1").arg(number));
    group->SetOwner(FPages.get());
    group->hide();
    FSite->layout()->addWidget(group);
    ++number;
    auto* item = new QListWidgetItem(QString::asprintf("  %.2d. ", number) + QTr(def.Caption));
    FList->addItem(item);
    for (const TTabDef& tab : def.Tabs) {
      TPageFactory factory = FindPageFactory(tab.ClassName);
      if (!factory) continue;
      RunGuarded(this, [&] {
        TPage* page = factory();
        page->setObjectName(QString(tab.ClassName).mid(1));
        page->setWindowTitle(QTr(tab.Caption));
        page->SetOwner(FPages.get());
        group->AddPage(page);
      });
    }
  }
}

void TfmMain::InitializePages() {
  for (int i = 0; i < FPages->Count(); ++i) {
    TPage* page = FPages->Items(i);
    RunGuarded(this, [page] { page->Initialize(); });
  }
}

int TfmMain::GroupCount() const { return FList->count(); }

TfmTabbedPage* TfmMain::Group(int index) const {
  if (index < 0) return nullptr;
  for (int i = 0; i < FPages->Count(); ++i)
    if (auto* group = dynamic_cast<TfmTabbedPage*>(FPages->Items(i)); group && index-- == 0) return group;
  return nullptr;
}

void TfmMain::ShowPage(TfmTabbedPage* group) {
  if (!group || group == FPage) return;
  TfmTabbedPage* old = FPage;
  FPage = group;
  RunGuarded(this, [&] {
    if (old) old->UpdateObject();
  });
  group->show();
  RunGuarded(this, [&] { group->UpdatePage(); });
  if (old) old->hide();
  UpdateListWidth();
}

void TfmMain::UpdateListWidth() {
  const int groupWidth = FPage ? FPage->minimumSizeHint().width() : 0;
  const int width = std::max(kListMinWidth, this->width() - groupWidth - 20);
  FList->setMaximumWidth(std::min(width, kListMaxWidth));
}

void TfmMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  UpdateListWidth();
}

void TfmMain::LoadParams() {
  ResetCombos(this);
  QSettings settings(ParamsFile(), QSettings::IniFormat);
  settings.beginGroup(ParamsGroup);
  int pageIndex = 0;
  int tabIndex = -1;
  if (!settings.childKeys().isEmpty()) {
    LoadControls(this, settings);
    bool ok = false;
    if (settings.contains("PageIndex")) pageIndex = settings.value("PageIndex").toInt(&ok);
    if (!ok || pageIndex < 0 || pageIndex >= GroupCount()) pageIndex = 0;
    if (settings.contains("TabIndex")) tabIndex = settings.value("TabIndex").toInt();
    QSize size = this->size();
    if (settings.contains("MPWidth")) size.setWidth(settings.value("MPWidth").toInt());
    if (settings.contains("MPHeigth")) size.setHeight(settings.value("MPHeigth").toInt());
    resize(size.expandedTo(minimumSizeHint()));
    QPoint pos = this->pos();
    if (settings.contains("MPTop")) pos.setY(settings.value("MPTop").toInt());
    if (settings.contains("MPLeft")) pos.setX(settings.value("MPLeft").toInt());
    move(pos);
  }
  FList->setCurrentRow(pageIndex);
  ShowPage(Group(pageIndex));
  if (FPage && tabIndex >= 0 && tabIndex < FPage->PageControl()->count())
    FPage->PageControl()->setCurrentIndex(tabIndex);
}

void TfmMain::SaveParams() {
  QSettings settings(ParamsFile(), QSettings::IniFormat);
  settings.beginGroup(ParamsGroup);
  SaveControls(this, settings);
  const int row = FList->currentRow();
  TfmTabbedPage* group = Group(row);
  settings.setValue("PageIndex", row);
  settings.setValue("TabIndex", group ? std::max(0, group->PageControl()->currentIndex()) : 0);
  settings.setValue("MPWidth", width());
  settings.setValue("MPHeigth", height());
  settings.setValue("MPTop", y());
  settings.setValue("MPLeft", x());
  settings.sync();
}

void TfmMain::UpdateCaption() {
  try {
    setWindowTitle(WindowCaption(Driver()));
  } catch (const std::exception&) {
    setWindowTitle(ProgramTitle() + " " + FileVersion() + WordSizeText());
  }
}

void TfmMain::UpdateLanguage() {
  const QString lang = ChosenLanguage() == "EN" ? "EN" : "RU";
  for (QAction* action : FLanguages->actions()) action->setChecked(action->data().toString() == lang);
}

void TfmMain::PagesChanged(bool value) {
  try {
    if (!value) {
      FStarted.start();
      for (QLineEdit* e : {FResult, FTxData, FRxData, FTime, FOperator}) e->clear();
      QCoreApplication::processEvents();
      return;
    }
    const TDriver& d = Driver();
    FResult->setText(QString("(%1) %2")
                         .arg(d.get_ResultCode())
                         .arg(QString::fromStdString(d.get_ResultCodeDescription())));
    FTxData->setText(QString::fromStdString(d.get_ECRInput()));
    FRxData->setText(QString::fromStdString(d.get_ECROutput()));
    const qint64 ms = FStarted.isValid() ? FStarted.elapsed() : 0;
    FTime->setText(QString::number(ms) + " " + QTr("мс"));
    FOperator->setText(QString::number(d.get_OperatorNumber()));
    UpdateCaption();
  } catch (...) {
    // The result line never interrupts the page that called the driver.
  }
}

void TfmMain::PasswordChanged() {
  // Only an integer text reaches the driver: an empty or "." text (while
  // typing, or restored at start) leaves the password as it was.
  qint64 value = 0;
  if (!FPassword->Value(value)) return;
  try {
    Driver().put_Password(value);
  } catch (const std::exception&) {
    // No driver yet: start-up shows the creation failure once.
  }
}

void TfmMain::ShowPassword() { FPassword->setText(QString::number(Driver().get_Password())); }

void TfmMain::ShowProperties(bool refresh) {
  RunGuarded(this, [&] {
    // Through the result line, so a driver without its settings dialog says so.
    PagesChanged(false);
    Driver().ShowProperties();
    PagesChanged(true);
    if (!refresh) return;
    ShowPassword();
    if (FPage) FPage->UpdatePage();
  });
}

void TfmMain::ChooseLanguage(const QString& lang) {
  WriteLanguage(lang);
  for (QAction* action : FLanguages->actions()) action->setChecked(action->data().toString() == lang);
  dialogs::Message(this, QTr("Внимание"), QTr("Для измения языка необходимо перезапустить приложение"),
                   dialogs::TIcon::Information);
}

void TfmMain::ShowAbout() {
  const QString text = QString("<b>%1</b><br>%2%3%4<br><br>%5<br><a href=\"%6\">%6</a><br>"
                               "<a href=\"mailto:%7\">%7</a>")
                           .arg(ProgramTitle().toHtmlEscaped(), QTr("Версия теста: ").toHtmlEscaped(),
                                FileVersion(), WordSizeText(), kMakerName, kMakerSite, kSupportMail);
  dialogs::Message(this, QTr("О программе"), text, dialogs::TIcon::Information);
}

void TfmMain::WriteToDevelopers() {
  QString subject = QTr("Тест драйвера") + "  " + FileVersion();
  subject.replace(" ", "%20");
  QDesktopServices::openUrl(
      QUrl(QString("mailto:%1?subject=%2").arg(kSupportMail, subject), QUrl::TolerantMode));
}

}  // namespace zel
