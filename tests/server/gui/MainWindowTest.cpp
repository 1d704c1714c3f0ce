// The server's main window under the offscreen platform: start-up, rows that
// follow the port registry and the client list, editing, applying settings
// with connected clients, and closing.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QRegularExpression>
#include <QTabWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

#include <deque>
#include <memory>
#include <optional>
#include <thread>

#include "common/Translate.h"
#include "server/core/Settings.h"
#include "server/core/TcpServer.h"
#include "server/core/Zelserv.h"
#include "server/gui/MainWindow.h"
#include "server/gui/MessageBoxes.h"
#include "tests/server/FakeDevice.h"
#include "tests/server/RpcClient.h"
#include "tests/server/TestEnv.h"

// Qt's font configuration keeps a cache for the whole process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace zel {
namespace {

const char kDropClients[] = "К серверу подключены клиенты и они будут отключены.\r\nВы уверены ?";

struct TShown {
  TMessageKind Kind;
  QString Text;
};

class MainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "server_gui_test";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qApp) new QApplication(argc, argv);  // lives for the whole process
    SetTextDomain("Zelserv");
    SetLanguage("ru");
  }

  void SetUp() override {
    SetMessageHandler([this](TMessageKind kind, const QString& text) {
      FShown.push_back({kind, text});
      if (FAnswers.empty()) return kind != TMessageKind::Question;
      const bool answer = FAnswers.front();
      FAnswers.pop_front();
      return answer;
    });
  }
  void TearDown() override {
    FWindow.reset();
    SetMessageHandler({});
  }

  // Stored settings for the next window: TCP on an ephemeral local port.
  static TServerSettings Stored() {
    TServerSettings s;
    s.TCPEnabled = true;
    s.TCPPort = 0;
    s.BindAddress = "127.0.0.1";
    return s;
  }

  TfmMain& Open(const std::vector<std::string>& switches = {}, bool tray = true) {
    FWindow = std::make_unique<TfmMain>(switches, tray);
    return *FWindow;
  }

  template <class T>
  T* Child(const char* name) {
    T* widget = FWindow->findChild<T*>(QString::fromLatin1(name));
    if (!widget) ADD_FAILURE() << "no control " << name;
    return widget;
  }

  static QStringList Row(QTreeWidget* list, int index) {
    QStringList texts;
    if (QTreeWidgetItem* row = list->topLevelItem(index))
      for (int c = 0; c < list->columnCount(); ++c) texts << row->text(c);
    return texts;
  }

  QTreeWidgetItem* PortRow(const QString& caption) {
    auto found = Child<QTreeWidget>("lvPorts")->findItems(caption, Qt::MatchExactly, 0);
    return found.isEmpty() ? nullptr : found.front();
  }

  int Questions() const {
    int n = 0;
    for (const auto& s : FShown) n += s.Kind == TMessageKind::Question && s.Text == kDropClients;
    return n;
  }

  test::TConfigHome FHome;
  test::TFakeFactory FFakes;
  std::vector<TShown> FShown;
  std::deque<bool> FAnswers;
  std::unique_ptr<TfmMain> FWindow;
};

bool WaitFor(const std::function<bool()>& pred) { return QTest::qWaitFor(pred, 5000); }

TEST_F(MainWindowTest, StartUpTakesStoredSettingsOrSwitchesAndStaysHiddenBehindTheTray) {
  struct {
    std::vector<std::string> switches;
    bool tray;
    bool visible, tcp;
    int timeout;
    bool autoUnlock;
  } cases[] = {
      {{}, true, false, true, 7, true},         // stored settings, hidden
      {{"/p20"}, true, false, false, 20, false}, // switches replace them
      {{}, false, true, true, 7, true},         // no tray: the window shows
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.switches.empty() ? "stored" : c.switches.front());
    TServerSettings stored = Stored();
    stored.CloseTimeout = 7400;
    stored.AutoPortClose = true;
    SaveSettings(stored);
    TfmMain& w = Open(c.switches, c.tray);

    EXPECT_EQ(w.isVisible(), c.visible);
    EXPECT_EQ(w.TrayIcon()->isVisible(), c.tray);
    EXPECT_EQ(Child<QCheckBox>("chbTCPEnabled")->isChecked(), c.tcp);
    EXPECT_EQ(Child<QSpinBox>("udTimeout")->value(), c.timeout);
    EXPECT_EQ(Child<QCheckBox>("chbAutoUnlock")->isChecked(), c.autoUnlock);
    EXPECT_FALSE(Child<QPushButton>("btnApply")->isEnabled());
    EXPECT_EQ(w.Server().Active(), c.tcp);
    EXPECT_EQ(ServerSettings().CloseTimeout, c.timeout == 7 ? 7400 : c.timeout * 1000);
    EXPECT_EQ(LoadSettings(), ServerSettings()) << "start-up saves what it applied";
    FWindow.reset();
  }
}

TEST_F(MainWindowTest, RowsFollowLocksAndClientsFromOtherThreadsWithinOneCycle) {
  Open();
  auto* ports = Child<QTreeWidget>("lvPorts");
  auto* clients = Child<QTreeWidget>("lvClients");
  auto first = std::make_unique<TZelserv>();
  TZelserv second;
  std::thread([&] {
    first->Connect(4242, "Cash desk", "SHOP-1");
    second.Connect(77, "Back office", "SHOP-2");
    ASSERT_EQ(first->LockPort(3), 0);
  }).join();
  QCoreApplication::processEvents();
  EXPECT_EQ(Row(ports, 0), QStringList({"COM 3", "занят", "SHOP-1", "4242", "Cash desk"}));
  EXPECT_EQ(Row(clients, 0), QStringList({"1", "SHOP-1", "4242", "Cash desk"}));
  EXPECT_EQ(Row(clients, 1), QStringList({"2", "SHOP-2", "77", "Back office"}));
  EXPECT_EQ(Child<QLineEdit>("edtClientCount")->text(), "2");

  std::thread([&] { first.reset(); }).join();  // unlocks, releases COM 3, leaves
  QCoreApplication::processEvents();
  EXPECT_EQ(ports->topLevelItemCount(), 0);
  EXPECT_EQ(Row(clients, 0), QStringList({"1", "SHOP-2", "77", "Back office"}));
  EXPECT_EQ(clients->topLevelItemCount(), 1);
  EXPECT_EQ(Child<QLineEdit>("edtClientCount")->text(), "1");
}

TEST_F(MainWindowTest, CancelKeepsTheOldTimeoutAndOkAppliesIt) {
  TfmMain& w = Open();
  w.ShowWindow();
  auto* timeout = Child<QSpinBox>("udTimeout");
  auto* edit = Child<QLineEdit>("edtTimeout");
  auto* apply = Child<QPushButton>("btnApply");
  edit->selectAll();
  QTest::keyClicks(edit, "2x5");
  EXPECT_EQ(edit->text(), "25") << "letters are rejected";
  EXPECT_TRUE(apply->isEnabled());

  QTest::mouseClick(Child<QPushButton>("btnCancel"), Qt::LeftButton);
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(ServerSettings().CloseTimeout, 10000);
  w.ShowWindow();
  EXPECT_EQ(timeout->value(), 10) << "reopening shows the kept value";
  EXPECT_FALSE(apply->isEnabled());

  edit->selectAll();
  QTest::keyClicks(edit, "99999");
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_LE(timeout->value(), 32767);
  edit->selectAll();
  QTest::keyClicks(edit, "30");
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(timeout->value(), 30);
  EXPECT_EQ(ServerSettings().CloseTimeout, 10000) << "Enter only takes the value";
  QTest::mouseClick(Child<QPushButton>("btnOK"), Qt::LeftButton);
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(ServerSettings().CloseTimeout, 30000);
  EXPECT_EQ(LoadSettings().CloseTimeout, 30000);
}

TEST_F(MainWindowTest, CheckBoxesGreyTheirDependentControls) {
  const struct {
    const char* box;
    std::vector<const char*> dependents;
  } cases[] = {{"chbAutoUnlock", {"chbAutoCancel"}}, {"chbTCPEnabled", {"edtTCPPort", "lblTCPPort"}}};
  Open().ShowWindow();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box);
    auto* box = Child<QCheckBox>(c.box);
    box->setChecked(true);
    for (const char* d : c.dependents) EXPECT_TRUE(Child<QWidget>(d)->isEnabled()) << d;
    box->click();
    for (const char* d : c.dependents) EXPECT_FALSE(Child<QWidget>(d)->isEnabled()) << d;
    EXPECT_TRUE(Child<QPushButton>("btnApply")->isEnabled());
  }
}

TEST_F(MainWindowTest, UnlockButtonFollowsTheSelectedPortAndUnlocksIt) {
  Open().ShowWindow();
  TZelserv holder, other;
  holder.Connect(10, "Till", "SHOP-1");
  ASSERT_EQ(holder.LockPort(3), 0);
  ASSERT_EQ(other.OpenPort(5, 2, 100), 0);
  QCoreApplication::processEvents();
  auto* ports = Child<QTreeWidget>("lvPorts");
  auto* unlock = Child<QPushButton>("btnUnlockPort");
  ASSERT_NE(PortRow("COM 3"), nullptr);
  ASSERT_NE(PortRow("COM 5"), nullptr);

  ports->setCurrentItem(PortRow("COM 5"));
  EXPECT_FALSE(unlock->isEnabled());
  ports->setCurrentItem(PortRow("COM 3"));
  EXPECT_TRUE(unlock->isEnabled());
  QTest::mouseClick(unlock, Qt::LeftButton);
  EXPECT_FALSE(holder.Port()->Locked());
  ASSERT_TRUE(WaitFor([&] { return PortRow("COM 3")->text(1) == "свободен"; }));
  EXPECT_FALSE(unlock->isEnabled());

  ASSERT_EQ(other.LockPort(5), 0);  // another port's lock leaves the button alone
  ASSERT_TRUE(WaitFor([&] { return PortRow("COM 5")->text(1) == "занят"; }));
  EXPECT_FALSE(unlock->isEnabled());
}

TEST_F(MainWindowTest, QuestionOnlyWhenClientsWouldBeDroppedAndNoKeepsThem) {
  enum TEdit { etTimeout, etTCPOff };
  const struct {
    const char* name;
    bool client;
    TEdit edit;
    std::optional<bool> answer;
    bool asked, connected, listening;
  } cases[] = {
      {"timeout only", true, etTimeout, std::nullopt, false, true, true},
      {"TCP off, no clients", false, etTCPOff, std::nullopt, false, false, false},
      {"TCP off, No", true, etTCPOff, false, true, true, true},
      {"TCP off, Yes", true, etTCPOff, true, true, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SaveSettings(Stored());
    TfmMain& w = Open();
    w.ShowWindow();
    std::unique_ptr<test::TRpcClient> rpc;
    if (c.client) {
      rpc = std::make_unique<test::TRpcClient>(w.Server().BoundPort());
      ASSERT_EQ(rpc->Code("Connect", R"([501,"Cash desk","TILL-1"])"), 0);
    }
    FShown.clear();
    if (c.answer) FAnswers.push_back(*c.answer);
    if (c.edit == etTimeout)
      Child<QSpinBox>("udTimeout")->setValue(33);
    else
      Child<QCheckBox>("chbTCPEnabled")->setChecked(false);
    const bool applied = !c.answer || *c.answer;
    QTest::mouseClick(Child<QPushButton>("btnApply"), Qt::LeftButton);

    EXPECT_EQ(Questions(), c.asked ? 1 : 0);
    EXPECT_EQ(FShown.size(), c.asked ? 1u : 0u);
    EXPECT_EQ(w.Server().Active(), c.listening);
    EXPECT_EQ(ServerSettings().TCPEnabled, c.listening);
    EXPECT_EQ(LoadSettings().TCPEnabled, c.listening) << "declining saves nothing";
    EXPECT_EQ(Child<QPushButton>("btnApply")->isEnabled(), !applied);
    if (c.client) {
      EXPECT_EQ(w.Server().ConnectionCount(), c.connected ? 1 : 0);
      if (c.connected)
        EXPECT_EQ(rpc->Code("OpenPort", "[3,2,100]"), 0) << "the client still works";
      else
        EXPECT_TRUE(rpc->ClosedByServer(5000));
    }
    rpc.reset();
    FWindow.reset();
  }
}

TEST_F(MainWindowTest, ApplyRejectsBadPortTextAndSwitchesTcpOffWhenTheListenerCannotStart) {
  TTCPServer occupier;  // holds a port the window then asks for
  occupier.SetBindAddress("127.0.0.1");
  occupier.SetPort(0);
  occupier.SetEnabled(true);
  occupier.Update();
  const struct {
    QString text;
    const char* message;
    bool tcpAfter;
    int portAfter;
  } cases[] = {
      {"21x", "Неверный номер порта TCP: 21x", true, 0},
      {"70000", "Неверный номер порта TCP: 70000", true, 0},
      {QString::number(occupier.BoundPort()), "Ошибка TCP сервера: ", false, occupier.BoundPort()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    SaveSettings(Stored());
    TfmMain& w = Open();
    w.ShowWindow();
    FShown.clear();
    Child<QLineEdit>("edtTCPPort")->setText(c.text);
    EXPECT_FALSE(w.ApplySettings());
    ASSERT_EQ(FShown.size(), 1u);
    EXPECT_EQ(FShown[0].Kind, TMessageKind::Error);
    EXPECT_TRUE(FShown[0].Text.startsWith(QString::fromUtf8(c.message))) << FShown[0].Text.toStdString();
    EXPECT_EQ(ServerSettings().TCPEnabled, c.tcpAfter);
    EXPECT_EQ(Child<QCheckBox>("chbTCPEnabled")->isChecked(), c.tcpAfter);
    EXPECT_EQ(ServerSettings().TCPPort, c.portAfter) << "a bad port text is never taken";
    EXPECT_EQ(LoadSettings().TCPPort, 0) << "nothing saved";
    FWindow.reset();
  }
}

TEST_F(MainWindowTest, ClosingAsksWhileClientsAreConnectedAndReleasesThemFirst) {
  SaveSettings(Stored());
  TfmMain& w = Open();
  test::TRpcClient rpc(w.Server().BoundPort());
  ASSERT_EQ(rpc.Code("Connect", R"([501,"Cash desk","TILL-1"])"), 0);
  ASSERT_EQ(rpc.Code("LockPort", "[3]"), 0);
  TPrinterPortsLink registry;
  ASSERT_TRUE(registry.Owner().ItemByPortNumber(3)->Locked());

  FAnswers = {false};
  EXPECT_FALSE(w.CloseProgram());
  EXPECT_EQ(Questions(), 1);
  EXPECT_EQ(rpc.Code("OpenPort", "[3,2,100]"), 0) << "still served";

  FAnswers = {true};
  EXPECT_TRUE(w.CloseProgram());
  EXPECT_EQ(Questions(), 2);
  EXPECT_TRUE(rpc.ClosedByServer(5000));
  EXPECT_EQ(registry.Owner().ItemByPortNumber(3), nullptr) << "the client's lock and port are released";
  EXPECT_FALSE(w.TrayIcon()->isVisible());
}

TEST_F(MainWindowTest, CaptionAboutTrayMenuAndMinimising) {
  TfmMain& w = Open();
  const QString bits = sizeof(void*) == 8 ? " (64-bit)" : " (32-bit)";
  EXPECT_EQ(w.windowTitle(), "Zelserv " ZEL_VERSION + bits);
  EXPECT_EQ(w.TrayIcon()->toolTip(), "Zelserv");

  QStringList items;
  for (QAction* a : w.PopupMenu()->actions()) items << a->text();
  EXPECT_EQ(items, QStringList({"&Закрыть", "", "&Свойства", "О программе..."}));
  EXPECT_EQ(w.PopupMenu()->defaultAction()->text(), "&Свойства");

  w.PopupMenu()->actions()[3]->trigger();
  ASSERT_EQ(FShown.size(), 1u);
  EXPECT_EQ(FShown[0].Kind, TMessageKind::About);
  EXPECT_TRUE(FShown[0].Text.contains("Версия: " ZEL_VERSION + bits)) << FShown[0].Text.toStdString();

  EXPECT_FALSE(w.isVisible());
  w.PopupMenu()->defaultAction()->trigger();
  EXPECT_TRUE(w.isVisible());
  w.setWindowState(Qt::WindowMinimized);
  EXPECT_TRUE(WaitFor([&] { return !w.isVisible(); })) << "minimising hides into the tray";
  emit w.TrayIcon()->activated(QSystemTrayIcon::Trigger);
  EXPECT_TRUE(w.isVisible());
  EXPECT_FALSE(w.isMinimized());
}

TEST_F(MainWindowTest, EveryTextOfTheWindowHasAnEnglishTranslation) {
  SetLanguage("en");
  TfmMain& w = Open();
  QStringList texts;
  for (auto* label : w.findChildren<QLabel*>()) texts << label->text();
  for (auto* button : w.findChildren<QAbstractButton*>()) texts << button->text();
  for (auto* tabs : w.findChildren<QTabWidget*>())
    for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i);
  for (auto* list : w.findChildren<QTreeWidget*>())
    for (int i = 0; i < list->columnCount(); ++i) texts << list->headerItem()->text(i);
  for (QAction* a : w.PopupMenu()->actions()) texts << a->text();
  w.ShowAbout();
  SetLanguage("ru");
  ASSERT_EQ(FShown.size(), 1u);
  texts << FShown[0].Text;
  EXPECT_TRUE(texts.contains("&Properties")) << "the catalogue was found";
  const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
  for (const QString& t : texts) EXPECT_FALSE(t.contains(cyrillic)) << t.toStdString();
}

}  // namespace
}  // namespace zel
