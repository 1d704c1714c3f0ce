// Page list ownership, button switching, the handler pattern and the saving
// of control values, on small hand-built pages.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <stdexcept>

#include "testbench/core/ControlValues.h"
#include "testbench/core/Controls.h"
#include "testbench/core/Dialogs.h"
#include "testbench/core/Driver.h"
#include "testbench/core/PageBuilder.h"
#include "testbench/core/Pages.h"
#include "testbench/core/TabbedPage.h"

namespace zel {
namespace {

TEST(PagesTest, ListOwnsPagesAndDestroyedPagesLeaveIt) {
  auto pages = std::make_unique<TPages>();
  auto* group = new TfmTabbedPage;
  group->SetOwner(pages.get());
  QPointer<TPage> first = new TPage;
  QPointer<TPage> second = new TPage;
  for (TPage* p : {first.data(), second.data()}) {
    p->SetOwner(pages.get());
    group->AddPage(p);
  }
  EXPECT_EQ(pages->Count(), 3);
  EXPECT_EQ(second->GetIndex(), 2);
  EXPECT_EQ(group->PageAt(1), second.data());
  EXPECT_EQ(pages->PageByClass<TfmTabbedPage>(), group);

  delete first.data();
  EXPECT_EQ(pages->Count(), 2);
  EXPECT_EQ(second->GetIndex(), 1);
  EXPECT_TRUE(pages->ValidIndex(1));
  EXPECT_FALSE(pages->ValidIndex(2));
  EXPECT_FALSE(pages->ValidIndex(-1));

  pages->Clear();  // the group goes first and takes its page along
  EXPECT_EQ(pages->Count(), 0);
  EXPECT_TRUE(second.isNull());
  EXPECT_EQ(pages->PageByClass<TfmTabbedPage>(), nullptr);
}

// Three buttons, the last disabled by design.
template <class Form>
struct TButtons {
  Form form;
  QPushButton* b[3];
  TButtons() {
    auto* layout = new QVBoxLayout(&form);
    auto* box = new QGroupBox;  // buttons inside a child are reached too
    auto* inner = new QVBoxLayout(box);
    for (auto*& button : b) inner->addWidget(button = new QPushButton("b"));
    layout->addWidget(box);
    b[2]->setEnabled(false);
  }
  bool All(bool enabled) const {
    for (auto* button : b)
      if (button->isEnabled() != enabled) return false;
    return true;
  }
};

TEST(PagesTest, PageSwitchesEveryButtonButDialogRestoresOnlyWhatItDisabled) {
  TButtons<TPage> page;
  std::vector<bool> notified;
  PageNotifier().OnChange = [&](bool v) { notified.push_back(v); };
  page.form.EnableButtons(false);
  EXPECT_TRUE(page.All(false));
  page.form.EnableButtons(true);
  EXPECT_TRUE(page.All(true));  // the design-disabled one too
  EXPECT_EQ(notified, (std::vector<bool>{false, true}));

  TButtons<TBaseForm> dialog;
  dialog.form.EnableButtons(false);
  EXPECT_TRUE(dialog.All(false));
  dialog.form.EnableButtons(true);
  EXPECT_TRUE(dialog.b[0]->isEnabled());
  EXPECT_FALSE(dialog.b[2]->isEnabled());
  EXPECT_EQ(notified.size(), 2u);  // dialogs do not touch the result line
  PageNotifier().OnChange = nullptr;
}

// A page whose one button runs the action under test.
class TActionPage : public TPage {
 public:
  explicit TActionPage(std::function<void()> action) {
    TPageBuilder b(this);
    b.Edit("edtComNumber", "COM:", "ComNumber", "abc");
    FButton = b.Button("btnRun", "Run", [this, action] {
      FDisabledInside = !FButton->isEnabled();
      action();
    });
  }
  QPushButton* FButton;
  bool FDisabledInside = false;
};

TEST(PagesTest, HandlerRestoresButtonsAndShowsOnlyRealFailures) {
  struct Case {
    const char* Name;
    std::function<void(TPage&)> Action;
    const char* Message;  // nullptr: no message box
  };
  const Case cases[] = {
      {"ok", [](TPage&) {}, nullptr},
      {"silent abort", [](TPage&) { Check(-1); }, nullptr},
      {"failure", [](TPage&) { throw std::runtime_error("boom"); }, "boom"},
      {"bad bound value", [](TPage& p) { p.WriteBoundProperties(); },
       "Некорректное значение в поле \"ComNumber\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    dialogs::ClearShown();
    TActionPage* page = nullptr;
    TActionPage holder([&] { c.Action(*page); });
    page = &holder;
    std::vector<bool> notified;
    PageNotifier().OnChange = [&](bool v) { notified.push_back(v); };
    page->FButton->click();
    EXPECT_TRUE(page->FDisabledInside);
    EXPECT_TRUE(page->FButton->isEnabled());
    EXPECT_EQ(notified, (std::vector<bool>{false, true}));
    if (c.Message) {
      ASSERT_EQ(dialogs::Shown().size(), 1u);
      EXPECT_EQ(dialogs::Shown()[0].Text.toStdString(), c.Message);
    } else {
      EXPECT_TRUE(dialogs::Shown().empty());
    }
  }
  PageNotifier().OnChange = nullptr;
  FreeDriver();
}

// One control of every saved kind, a read-only one and a Tag 1000 box.
struct TForm {
  QWidget top;
  QLineEdit* edit;
  QLineEdit* readOnly;
  QLineEdit* hidden;
  QPlainTextEdit* memo;
  QSpinBox* spin;
  QComboBox* combo;
  QCheckBox* check;
  QRadioButton* radio;
  TRadioGroup* group;
  QDateTimeEdit* date;

  TForm() {
    top.setObjectName("fmTest");
    auto* layout = new QVBoxLayout(&top);
    auto* panel = new QWidget;  // unnamed: an empty segment
    auto* inner = new QVBoxLayout(panel);
    for (QWidget* w : std::initializer_list<QWidget*>{
             edit = new QLineEdit, readOnly = new QLineEdit, memo = new QPlainTextEdit,
             spin = new QSpinBox, combo = new QComboBox, check = new QCheckBox,
             radio = new QRadioButton, group = new TRadioGroup("g", {"a", "b", "c"}),
             date = new QDateTimeEdit})
      inner->addWidget(w);
    auto* excluded = new QGroupBox;
    excluded->setObjectName("grpExcluded");
    excluded->setProperty("Tag", kTagNotSaved);
    (new QVBoxLayout(excluded))->addWidget(hidden = new QLineEdit);
    inner->addWidget(excluded);
    layout->addWidget(panel);
    const char* names[] = {"edtText", "edtOut", "memText", "seCount", "cbKind",
                           "chbFlag", "rbOne", "rgChoice", "dtpWhen"};
    int i = 0;
    for (QWidget* w : std::initializer_list<QWidget*>{edit, readOnly, memo, spin, combo, check, radio,
                                                      group, date})
      w->setObjectName(names[i++]);
    hidden->setObjectName("edtHidden");
    readOnly->setReadOnly(true);
    spin->setRange(0, 1000);
    combo->addItems({"x", "y", "z"});
  }
};

TEST(ControlValuesTest, EveryKindRoundTripsUnderItsChainName) {
  QTemporaryDir dir;
  QSettings settings(dir.filePath("values.ini"), QSettings::IniFormat);
  const QDateTime when(QDate(2024, 2, 29), QTime(13, 45, 10));
  {
    TForm f;
    f.edit->setText(QString(5000, 'a'));
    f.readOnly->setText("out");
    f.hidden->setText("secret");
    f.memo->setPlainText("line1\nline2");
    f.spin->setValue(321);
    f.combo->setCurrentIndex(2);
    f.check->setChecked(true);
    f.radio->setChecked(true);
    f.group->SetItemIndex(1);
    f.date->setDateTime(when);
    SaveControls(&f.top, settings);
  }
  EXPECT_EQ(settings.value("fmTest..edtText").toString().size(), 4096);
  EXPECT_EQ(settings.value("fmTest..seCount").toInt(), 321);
  EXPECT_FALSE(settings.contains("fmTest..edtOut"));
  EXPECT_FALSE(settings.contains("fmTest..grpExcluded.edtHidden"));
  EXPECT_EQ(settings.allKeys().size(), 8);

  TForm g;
  g.hidden->setText("design");
  LoadControls(&g.top, settings);
  EXPECT_EQ(g.edit->text(), QString(4096, 'a'));
  EXPECT_EQ(g.memo->toPlainText(), "line1\nline2");
  EXPECT_EQ(g.spin->value(), 321);
  EXPECT_EQ(g.combo->currentIndex(), 2);
  EXPECT_TRUE(g.check->isChecked());
  EXPECT_TRUE(g.radio->isChecked());
  EXPECT_EQ(g.group->ItemIndex(), 1);
  EXPECT_EQ(g.date->dateTime(), when);
  EXPECT_EQ(g.hidden->text(), "design");
}

TEST(ControlValuesTest, StoredIndexesOutsideTheItemsGiveTheFirst) {
  QTemporaryDir dir;
  QSettings settings(dir.filePath("values.ini"), QSettings::IniFormat);
  for (const char* stored : {"3", "-1", "x"}) {
    SCOPED_TRACE(stored);
    settings.setValue("fmTest..cbKind", stored);
    settings.setValue("fmTest..rgChoice", stored);
    TForm f;
    f.combo->setCurrentIndex(1);
    f.group->SetItemIndex(2);
    LoadControls(&f.top, settings);
    EXPECT_EQ(f.combo->currentIndex(), 0);
    EXPECT_EQ(f.group->ItemIndex(), 0);
  }
}

}  // namespace
}  // namespace zel
