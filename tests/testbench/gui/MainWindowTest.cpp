// The main window against the in-process virtual register: start-up choices,
// saved values across a restart, the password field and the result line.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTabWidget>
#include <QtTest/QTest>
#include <memory>

#include "emulator/model/CommandHandler.h"
#include "emulator/model/DeviceModel.h"
#include "testbench/core/Caption.h"
#include "testbench/core/Dialogs.h"
#include "testbench/core/Driver.h"
#include "testbench/core/Language.h"
#include "testbench/core/MainWindow.h"
#include "testbench/core/PageBuilder.h"
#include "testbench/core/PageCatalogue.h"
#include "testbench/core/PasswordEdit.h"
#include "testbench/core/TabbedPage.h"
#include "testbench/core/pages/link/ConnectionTestPage.h"

namespace zel {
namespace {

const char* const kPrintStringName =
    "fmMain.pnlMain.pnlSite.fmTabbedPage_4.PageControl..fmPrintText.grpPrintString.edtStringForPrinting";
const char* const kFontName =
    "fmMain.pnlMain.pnlSite.fmTabbedPage_4.PageControl..fmPrintText.grpPrintString.cbFont";
const char* const kPasswordName = "fmMain.pnlResult.edtPassword";

// Stands in for pages built elsewhere: a named box with a bound edit and a
// combo whose design default is not its first item.
class TFixturePage : public TPage {
 public:
  TFixturePage() {
    TPageBuilder b(this);
    b.Group("grpPrintString", "Строка");
    b.Edit("edtStringForPrinting", "Строка:", "StringForPrinting");
    b.Combo("cbFont", "Шрифт:", {"1", "2", "3"}, "FontType")->setCurrentIndex(2);
    b.End();
  }
};

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterPageFactory("TfmPrintText", [] { return static_cast<TPage*>(new TFixturePage); });
    RegisterPageFactory("TfmFullStatus", [] { return static_cast<TPage*>(new TFixturePage); });
    QFile::remove(TfmMain::ParamsFile());
    dialogs::ClearShown();
  }
  void TearDown() override { window.reset(); }

  void Start() {
    Driver().SetInProcessDevice([this](const Bytes& command) { return handler.Handle(command); });
    window = std::make_unique<TfmMain>();
    window->show();
  }
  void Restart() {
    window.reset();
    Start();
  }
  static void Store(std::initializer_list<std::pair<const char*, QVariant>> values) {
    QSettings settings(TfmMain::ParamsFile(), QSettings::IniFormat);
    settings.beginGroup(TfmMain::ParamsGroup);
    for (const auto& [name, value] : values) settings.setValue(name, value);
  }
  static QVariant Stored(const char* name) {
    QSettings settings(TfmMain::ParamsFile(), QSettings::IniFormat);
    settings.beginGroup(TfmMain::ParamsGroup);
    return settings.value(name);
  }
  template <class T>
  T* Find(const char* name) const {
    T* w = window->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  // A control of the text printing group (the fixture page is also in group 01).
  template <class T>
  T* InPrintText(const char* name) const {
    T* w = window->Group(4)->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  int ActiveTab() const { return window->ShownGroup()->PageControl()->currentIndex(); }

  emu::TDeviceModel model;
  emu::TCommandHandler handler{model};
  std::unique_ptr<TfmMain> window;
};

TEST_F(MainWindowTest, FreshStartShowsFirstGroupAndFirstComboItems) {
  Start();
  QListWidget* list = window->GroupList();
  ASSERT_EQ(list->count(), 10);
  EXPECT_EQ(list->item(0)->text(), "  01. Состояние");
  EXPECT_EQ(list->item(9)->text(), "  10. Прочее");
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_EQ(window->ShownGroup(), window->Group(0));
  EXPECT_TRUE(window->Group(0)->isVisible());
  EXPECT_FALSE(window->Group(4)->isVisible());
  // Only built pages get a tab: group 01 has its two, group 02 none.
  EXPECT_EQ(window->Group(0)->PageControl()->count(), 2);
  EXPECT_EQ(window->Group(0)->PageControl()->tabText(0), "Запросы");
  EXPECT_EQ(window->Group(1)->PageControl()->count(), 0);
  const auto combos = window->findChildren<QComboBox*>();
  ASSERT_FALSE(combos.isEmpty());
  for (QComboBox* c : combos) EXPECT_EQ(c->currentIndex(), 0) << c->objectName().toStdString();
  EXPECT_TRUE(dialogs::Shown().empty());
}

TEST_F(MainWindowTest, StoredGroupAndTabOutsideTheirRangeGiveTheFirst) {
  struct Case {
    int PageIndex, TabIndex, Group, Tab;
  };
  for (const Case& c : {Case{10, 0, 0, 0}, Case{-1, 1, 0, 1}, Case{0, 2, 0, 0}, Case{0, 1, 0, 1},
                        Case{4, 0, 4, 0}, Case{9, 99, 9, 0}}) {
    SCOPED_TRACE(testing::Message() << c.PageIndex << "/" << c.TabIndex);
    window.reset();
    QFile::remove(TfmMain::ParamsFile());
    Store({{"PageIndex", c.PageIndex}, {"TabIndex", c.TabIndex}});
    Start();
    EXPECT_EQ(window->GroupList()->currentRow(), c.Group);
    EXPECT_EQ(window->ShownGroup(), window->Group(c.Group));
    if (window->ShownGroup()->PageControl()->count() > 0) {
      EXPECT_EQ(ActiveTab(), c.Tab);
    }
  }
}

TEST_F(MainWindowTest, ValuesSurviveARestartUnderTheirChainNames) {
  Start();
  window->GroupList()->setCurrentRow(4);
  InPrintText<QLineEdit>("edtStringForPrinting")->setText("Строка печати");
  InPrintText<QComboBox>("cbFont")->setCurrentIndex(1);
  window->PasswordField()->setText("1234");
  window->resize(900, 650);
  Restart();  // also drops the driver: the password must come back from the saved text

  EXPECT_EQ(Stored(kPrintStringName).toString(), "Строка печати");
  EXPECT_EQ(Stored(kFontName).toInt(), 1);
  EXPECT_EQ(Stored(kPasswordName).toString(), "1234");
  EXPECT_EQ(Stored("PageIndex").toInt(), 4);
  EXPECT_EQ(Stored("MPWidth").toInt(), 900);
  EXPECT_EQ(Stored("MPHeigth").toInt(), 650);
  EXPECT_FALSE(Stored("fmMain..pnlResult.edtResult").isValid());  // read-only fields are not saved

  EXPECT_EQ(window->GroupList()->currentRow(), 4);
  EXPECT_EQ(InPrintText<QLineEdit>("edtStringForPrinting")->text(), "Строка печати");
  EXPECT_EQ(InPrintText<QComboBox>("cbFont")->currentIndex(), 1);
  EXPECT_EQ(Driver().get_Password(), 1234);
  EXPECT_EQ(window->width(), 900);
}

TEST_F(MainWindowTest, PasswordPasteIsCheckedAndOddTextsLeaveThePassword) {
  Start();
  TPasswordEdit* field = window->PasswordField();
  const QString refused = "Некорректное значение в поле \"Password\"";
  struct Case {
    QString Clip;
    bool Accepted;
  };
  for (const Case& c : {Case{QString(1025, '7'), false}, Case{"123456789012", true},
                        Case{"12a", false}, Case{"", false}}) {
    SCOPED_TRACE(c.Clip.left(20).toStdString());
    dialogs::ClearShown();
    field->setText("30");
    field->setFocus();
    field->selectAll();
    QGuiApplication::clipboard()->setText(c.Clip);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    if (c.Accepted) {
      EXPECT_EQ(field->text(), c.Clip);
      EXPECT_EQ(Driver().get_Password(), c.Clip.toLongLong());
      EXPECT_TRUE(dialogs::Shown().empty());
    } else {
      EXPECT_EQ(field->text(), "30");
      ASSERT_EQ(dialogs::Shown().size(), 1u);
      if (c.Clip.size() > 1024) {
        EXPECT_EQ(dialogs::Shown()[0].Text, refused);
      }
    }
  }
  dialogs::ClearShown();
  field->setText("30");
  for (const char* text : {"", ".", "3.5"}) {
    field->setText(text);
    EXPECT_EQ(Driver().get_Password(), 30) << text;
  }
  field->clear();
  QTest::keyClicks(field, "4a.2b");
  EXPECT_EQ(field->text(), "4.2");
  EXPECT_EQ(Driver().get_Password(), 4);
  EXPECT_TRUE(dialogs::Shown().empty());
}

TEST_F(MainWindowTest, ButtonCallFillsTheResultLine) {
  Start();
  Find<QPushButton>("btnShortStatus")->click();
  const QString result = Find<QLineEdit>("edtResult")->text();
  EXPECT_TRUE(result.startsWith("(0) ")) << result.toStdString();
  EXPECT_GT(result.size(), 4);
  EXPECT_FALSE(Find<QLineEdit>("edtTxData")->text().isEmpty());
  EXPECT_FALSE(Find<QLineEdit>("edtRxData")->text().isEmpty());
  EXPECT_TRUE(QRegularExpression("^\\d+ мс$").match(Find<QLineEdit>("edtTime")->text()).hasMatch());
  EXPECT_EQ(Find<QLineEdit>("edtOperator")->text(), QString::number(Driver().get_OperatorNumber()));
  EXPECT_TRUE(Find<QPlainTextEdit>("Memo")->toPlainText().contains("Краткий запрос состояния:"));
  EXPECT_TRUE(dialogs::Shown().empty());
}

TEST_F(MainWindowTest, FailingCallShowsItsCodeAndNoMessage) {
  Start();
  Driver().SetInProcessDevice([](const Bytes&) { return Bytes{}; });  // the device is gone
  Find<QPushButton>("btnShortStatus")->click();
  const int code = static_cast<int>(Driver().get_ResultCode());
  EXPECT_NE(code, 0);
  EXPECT_TRUE(Find<QLineEdit>("edtResult")->text().startsWith(QString("(%1) ").arg(code)));
  EXPECT_TRUE(Find<QPlainTextEdit>("Memo")->toPlainText().isEmpty());
  EXPECT_TRUE(Find<QPushButton>("btnShortStatus")->isEnabled());
  EXPECT_TRUE(dialogs::Shown().empty());
}

TEST_F(MainWindowTest, QueuedClickDoesNotStartASecondCall) {
  Start();
  QPushButton* button = Find<QPushButton>("btnShortStatus");
  int calls = 0;
  Driver().SetInProcessDevice([&](const Bytes& command) {
    ++calls;
    return handler.Handle(command);
  });
  QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection);
  button->click();
  QCoreApplication::processEvents();
  const int oneCall = calls;
  button->click();
  EXPECT_EQ(calls, 2 * oneCall);
}

// The properties dialog would hold the driver's lock while it is open, so it
// waits for a running loop like every other page.
TEST_F(MainWindowTest, PropertiesAreOffWhileALoopRuns) {
  Start();
  auto* loop = window->Pages().PageByClass<TfmConnectionTest>();
  ASSERT_NE(loop, nullptr);
  for (int i = 0; i < window->GroupCount(); ++i) {
    if (!window->Group(i)->isAncestorOf(loop)) continue;
    window->GroupList()->setCurrentRow(i);
    QTabWidget* tabs = window->Group(i)->PageControl();
    for (int t = 0; t < tabs->count(); ++t)
      if (tabs->widget(t)->isAncestorOf(loop) || tabs->widget(t) == loop) tabs->setCurrentIndex(t);
  }
  ASSERT_TRUE(loop->isVisible());
  QPushButton* properties = Find<QPushButton>("btnProperties");
  QAction* menuItem = window->findChild<QAction*>("actProperties");
  ASSERT_NE(menuItem, nullptr);

  loop->findChild<QPushButton*>("btnStart")->click();
  ASSERT_TRUE(loop->LoopRunning());
  EXPECT_FALSE(properties->isEnabled());
  EXPECT_FALSE(menuItem->isEnabled());
  EXPECT_FALSE(Find<QPushButton>("btnShortStatus")->isEnabled());

  loop->findChild<QPushButton*>("btnStop")->click();
  QElapsedTimer timer;
  timer.start();
  while (loop->LoopRunning() && timer.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  ASSERT_FALSE(loop->LoopRunning());
  EXPECT_TRUE(properties->isEnabled());
  EXPECT_TRUE(menuItem->isEnabled());
  EXPECT_TRUE(Find<QPushButton>("btnShortStatus")->isEnabled());
  EXPECT_TRUE(dialogs::Shown().empty());
}

TEST_F(MainWindowTest, LanguageChoiceIsWrittenForTheNextStart) {
  Start();
  QAction* english = nullptr;
  for (QAction* a : window->findChildren<QAction*>())
    if (a->text() == "English") english = a;
  ASSERT_NE(english, nullptr);
  english->trigger();
  EXPECT_TRUE(english->isChecked());
  EXPECT_EQ(QSettings(LocaleIniPath(), QSettings::IniFormat).value("Locale/Lang").toString(), "EN");
  ASSERT_EQ(dialogs::Shown().size(), 1u);
  EXPECT_EQ(dialogs::Shown()[0].Caption, "Внимание");
  EXPECT_EQ(ChosenLanguage(), "RU");  // read once per run
}

TEST(CaptionTest, LinkInUseAndWordSize) {
  struct Case {
    int Type;
    const char* Want;
  };
  for (const Case& c : {Case{0, " [Serial: COM3 Baudrate 115200]"},
                        Case{1, " [DCOM:host COM3 Baudrate 115200]"},
                        Case{2, " [DCOM:host COM3 Baudrate 115200]"},
                        Case{6, " [TCP: 10.0.0.5: 7778]"}, Case{5, ""}})
    EXPECT_EQ(LinkText(c.Type, 3, 6, "host", "10.0.0.5", 7778).toStdString(), c.Want) << c.Type;
  EXPECT_EQ(LinkText(0, 1, 42, "", "", 0), " [Serial: COM1 Baudrate 4800]");
  EXPECT_EQ(WordSizeText(), QString(" (%1-bit)").arg(sizeof(void*) * 8));
}

}  // namespace
}  // namespace zel
