// The OFD link set-up work type through the wizard's window: a zelvox-emu process
// reached over TCP, the OFD data and network pages filled in, the register
// restarted with a signal where the operator would power-cycle it, the connection
// check awaited, and the register's tables read back with a driver of the test's own.
#include <gtest/gtest.h>
#include <signal.h>

#include <QCheckBox>
#include <QFile>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <memory>
#include <variant>

#include "driver/Zelvox.h"
#include "tests/wizard/search/EmuProcess.h"
#include "tests/wizard/support/WizardWindowProbe.h"
#include "wizard/flow/device/DeviceTables.h"
#include "wizard/flow/device/LANCheck.h"
#include "wizard/flow/steps/PageList.h"
#include "wizard/flow/ui/Controller.h"
#include "wizard/flow/ui/MainWindow.h"
#include "wizard/flow/ui/WizDialogs.h"

namespace zel {
namespace {

using test::EmuProcess;

constexpr int kCheckWaitMs = 20000;
const QString kOk = "Связь успешно установлена: 127.0.0.1:%1\r\nНажмите \"Далее\"";

// A driver of the test's own on the register's TCP port.
class TRegisterReader {
 public:
  explicit TRegisterReader(int port) {
    FDriver.put_ConnectionType(6);
    FDriver.put_ComputerName("127.0.0.1");
    FDriver.put_TCPPort(port);
    FDriver.put_TCPConnectionTimeout(3000);
    FDriver.put_Password(30);
  }
  ~TRegisterReader() { FDriver.Disconnect(); }
  // The link is let go after each access: the wizard and its check share the register.
  std::int64_t Int(int table, int field) {
    const std::int64_t v = FTables.ReadInt(table, 1, field);
    FDriver.Disconnect();
    return v;
  }
  std::string Str(int table, int field) {
    const std::string v = FTables.ReadStr(table, 1, field);
    FDriver.Disconnect();
    return v;
  }
  void Write(int table, int field, std::int64_t value) {
    FTables.WriteInt(table, 1, field, value);
    FDriver.Disconnect();
  }

 private:
  TZelvox FDriver;
  TDeviceTables FTables{FDriver};
};

// The address the register's DHCP lease gives: 127.0.0.1.
void SeedLeaseAddress(int port) {
  TRegisterReader reader(port);
  for (int i = 0; i < 4; ++i) reader.Write(16, 3 + i, i == 0 ? 127 : i == 3 ? 1 : 0);
}

struct TCell {
  int Table, Field;
  std::variant<std::int64_t, std::string> Value;
};

struct TLinkCase {
  const char* Name;
  int NetRow;  // 0 Ethernet, 2 RNDIS
  bool DHCP;
  std::vector<std::string> EmuArgs;
  bool Restart;       // the operator power-cycles the register after the settings box
  bool ClosedPort;    // the port typed is one nobody listens on
  int DhcpTimeoutMs;
  QString Status;     // %1 is the port typed; a prefix for failures
  bool Ok;
  std::vector<TCell> Cells;  // %port cells use -1: the port typed
};

class OfdLinkSetUp : public ::testing::Test, public test::TWizardWindowProbe {
 protected:
  void TearDown() override {
    window.reset();
    SetDriverSetup({});
    SetLANCheckOptions({});
  }

  QString LastMessage() { return wizdlg::Shown().empty() ? QString() : wizdlg::Shown().back().Text; }
  void Shot(const char* name) {
    const QByteArray dirName = qgetenv("ZEL_WIZARD_SHOTS");
    if (!dirName.isEmpty()) window->grab().save(QString("%1/tamarex-ofd-%2.png").arg(QString::fromLocal8Bit(dirName), name));
  }

  // From the start over TCP to the OFD data page of the OFD link set-up work type.
  void ToOFDPage(int port) {
    wizdlg::ClearShown();
    wizdlg::ClearAnswers();
    window = std::make_unique<TfmMain>(dir.path());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    Next();
    ASSERT_TRUE(On<TfmSelectPortType>());
    Ctl<QListWidget>(Page<TfmSelectPortType>(), "lbPortType")->setCurrentRow(1);
    Next();
    ASSERT_TRUE(On<TfmTCPParams>());
    Ctl<QLineEdit>(Page<TfmTCPParams>(), "edtIP")->setText("127.0.0.1");
    Ctl<QLineEdit>(Page<TfmTCPParams>(), "edtPort")->setText(QString::number(port));
    Next();
    ASSERT_TRUE(On<TfmSelectWorkType>()) << LastMessage().toStdString();
    auto* work = Ctl<QListWidget>(Page<TfmSelectWorkType>(), "lbWorkType");
    ASSERT_EQ(work->count(), 6) << "the register offers the OFD link set-up";
    work->setCurrentRow(5);
    Next();
    ASSERT_TRUE(On<TfmOFDParams>()) << LastMessage().toStdString();
  }

  void FillOFD() { TWizardWindowProbe::FillOFD("ОФД Пример"); }

  void FillNet(QWidget* page, bool dhcp, const QString& port) {
    if (auto* box = page->findChild<QCheckBox*>("chbDHCP"); box && box->isChecked() != dhcp) box->click();
    Ctl<QLineEdit>(page, "edtIP")->setText("127.0.0.1");
    Ctl<QLineEdit>(page, "edtMask")->setText("255.0.0.0");
    Ctl<QLineEdit>(page, "edtGateway")->setText("127.0.0.1");
    Ctl<QLineEdit>(page, "edtDNS")->setText("127.0.0.53");
    Ctl<QLineEdit>(page, "edtPort")->setText(port);
  }

  // On through the OFD data, network type and settings pages to the check page.
  void ToCheckPage(int emuPort, int netRow, bool dhcp, int typedPort, bool shots) {
    ToOFDPage(emuPort);
    if (HasFatalFailure()) return;
    FillOFD();
    if (shots) Shot("params");
    Next();
    ASSERT_TRUE(On<TfmSelectNetType>()) << LastMessage().toStdString();
    Ctl<QListWidget>(Page<TfmSelectNetType>(), "lbNetType")->setCurrentRow(netRow);
    if (shots) Shot("nettype");
    Next();
    QWidget* netPage = netRow == 2 ? static_cast<QWidget*>(Page<TfmRNDISParams>()) : Page<TfmEthernetParams>();
    ASSERT_EQ(Controller().CurrentPage, netPage);
    FillNet(netPage, dhcp, QString::number(typedPort));
    if (shots) Shot(netRow == 2 ? "rndis" : "ethernet");
    Next();
    ASSERT_TRUE(netRow == 2 ? On<TfmCheckRNDIS>() : On<TfmCheckEthernet>()) << LastMessage().toStdString();
    EXPECT_TRUE(LastMessage().endsWith("успешно записаны.\r\nПерезагрузите устройство и нажмите \"ОК\""))
        << LastMessage().toStdString();
  }

  QTemporaryDir dir;
  std::unique_ptr<TfmMain> window;
  QWidget* WizardWindow() override { return window.get(); }
};

TEST_F(OfdLinkSetUp, NetworkLinks) {
  const std::vector<TCell> fixedCells = {{16, 1, 1},  {16, 3, 127}, {16, 4, 0},   {16, 5, 0},   {16, 6, 1},
                                         {16, 11, 255}, {16, 12, 0}, {16, 7, 127}, {16, 10, 1}, {16, 15, 127},
                                         {16, 18, 53}, {21, 3, 1},  {21, 4, -1},  {21, 6, 0}};
  std::vector<TCell> ethernetFixed = fixedCells, rndis = fixedCells;
  ethernetFixed.push_back({21, 9, 0});
  rndis.push_back({21, 9, 1});
  const TLinkCase cases[] = {
      {"Ethernet, DHCP after the restart", 0, true, {"--restart-required", "--dhcp-delay", "200"}, true, false, 10000,
       kOk, true, {{16, 1, 0}, {21, 3, 1}, {21, 4, -1}, {21, 6, 0}, {21, 9, 0}}},
      {"Ethernet, fixed address", 0, false, {}, false, false, 10000, kOk, true, ethernetFixed},
      {"RNDIS after the restart", 2, false, {"--restart-required"}, true, false, 10000, kOk, true, rndis},
      {"Ethernet, DHCP never answers", 0, true, {"--restart-required"}, false, false, 400,
       "Не удается получить IP по DHCP 0", false, {{16, 1, 0}}},
      {"Ethernet, connection refused", 0, false, {}, false, true, 10000, "Ошибка подключения к : 127.0.0.1:%1, ", false,
       {{16, 1, 1}, {21, 4, -1}}},
  };
  for (const TLinkCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<std::string> args = {"--tcp", "0"};
    args.insert(args.end(), c.EmuArgs.begin(), c.EmuArgs.end());
    EmuProcess reg(args);
    const int port = c.ClosedPort ? test::ClosedTcpPort() : reg.TcpPort();
    TRegisterReader reader(reg.TcpPort());
    SeedLeaseAddress(reg.TcpPort());
    TLANCheckOptions options;
    options.DhcpTimeoutMs = static_cast<std::uint64_t>(c.DhcpTimeoutMs);
    options.ConnectTimeoutMs = 3000;
    SetLANCheckOptions(options);

    ToCheckPage(reg.TcpPort(), c.NetRow, c.DHCP, port, c.Ok);
    if (HasFatalFailure()) return;
    if (c.Restart) {
      ASSERT_EQ(kill(reg.Pid(), SIGUSR1), 0);
    }

    ASSERT_TRUE(QTest::qWaitFor([this] { return Button("btnNext")->isEnabled(); }, kCheckWaitMs));
    QWidget* check = Controller().CurrentPage;
    const QString status = Ctl<QLabel>(check, "lblStatus")->text();
    const QString expected = c.Status.contains("%1") ? c.Status.arg(port) : c.Status;
    if (c.Ok)
      EXPECT_EQ(status.toStdString(), expected.toStdString());
    else
      EXPECT_TRUE(status.startsWith(expected)) << status.toStdString();
    EXPECT_TRUE(Ctl<QPushButton>(check, "btnRetry")->isEnabled());
    EXPECT_FALSE(Ctl<QPushButton>(check, "btnStop")->isEnabled());
    if (c.Ok) Shot("check");
    Next();  // offered whatever the outcome
    EXPECT_TRUE(On<TfmOFDExchangeState>());

    // The OFD link is written in this flow as well as the network settings.
    EXPECT_EQ(reader.Str(19, 1), "ofd.example");
    EXPECT_EQ(reader.Int(19, 2), 7790);
    for (const TCell& cell : c.Cells) {
      SCOPED_TRACE(std::to_string(cell.Table) + "/" + std::to_string(cell.Field));
      if (const auto* v = std::get_if<std::int64_t>(&cell.Value))
        EXPECT_EQ(reader.Int(cell.Table, cell.Field), *v == -1 ? port : *v);
      else
        EXPECT_EQ(reader.Str(cell.Table, cell.Field), std::get<std::string>(cell.Value));
    }
    window.reset();
  }
}

// "Остановить" ends a check waiting for DHCP; the operator may go on or retry.
TEST_F(OfdLinkSetUp, StopAndRetryTheCheck) {
  EmuProcess reg({"--tcp", "0", "--restart-required"});
  SeedLeaseAddress(reg.TcpPort());
  TLANCheckOptions options;
  options.DhcpTimeoutMs = 60000;
  SetLANCheckOptions(options);
  ToCheckPage(reg.TcpPort(), 0, true, reg.TcpPort(), false);
  if (HasFatalFailure()) return;
  auto* check = Page<TfmCheckEthernet>();
  auto* status = Ctl<QLabel>(check, "lblStatus");
  ASSERT_TRUE(QTest::qWaitFor([&] { return status->text() == "Ожидание получения IP адреса..."; }, kCheckWaitMs));
  EXPECT_FALSE(Button("btnNext")->isEnabled());
  EXPECT_FALSE(Ctl<QPushButton>(check, "btnRetry")->isEnabled());
  Ctl<QPushButton>(check, "btnStop")->click();
  ASSERT_TRUE(QTest::qWaitFor([this] { return Button("btnNext")->isEnabled(); }, kCheckWaitMs));
  EXPECT_EQ(status->text(), "Операция отменена");

  ASSERT_EQ(kill(reg.Pid(), SIGUSR1), 0);  // restarted now: the retry finds the address
  Ctl<QPushButton>(check, "btnRetry")->click();
  EXPECT_FALSE(Button("btnNext")->isEnabled());
  ASSERT_TRUE(QTest::qWaitFor([this] { return Button("btnNext")->isEnabled(); }, kCheckWaitMs));
  EXPECT_EQ(status->text().toStdString(), kOk.arg(reg.TcpPort()).toStdString());
}

// A bad value anywhere keeps the operator on the page with nothing written.
TEST_F(OfdLinkSetUp, BadSettingsWriteNothing) {
  EmuProcess reg({"--tcp", "0"});
  TRegisterReader reader(reg.TcpPort());
  ToOFDPage(reg.TcpPort());
  if (HasFatalFailure()) return;
  FillOFD();
  Ctl<QLineEdit>(Page<TfmOFDParams>(), "edtOFDPort")->setText("70000");
  Next();
  EXPECT_TRUE(On<TfmOFDParams>());
  EXPECT_NE(reader.Str(19, 1), "ofd.example") << "the OFD link waits for valid data";
  Ctl<QLineEdit>(Page<TfmOFDParams>(), "edtOFDPort")->setText("7790");
  Next();
  ASSERT_TRUE(On<TfmSelectNetType>()) << LastMessage().toStdString();
  Next();
  ASSERT_TRUE(On<TfmEthernetParams>());
  auto* page = Page<TfmEthernetParams>();
  FillNet(page, false, "7779");
  EXPECT_TRUE(Ctl<QLineEdit>(page, "edtIP")->isEnabled());
  const struct {
    const char* Field;
    const char* Value;
  } bad[] = {{"edtGateway", "127.0.0"}, {"edtMask", "255.0.0.256"}, {"edtDNS", "1..2.3"}, {"edtPort", "0"}, {"edtPort", "65536"}};
  for (const auto& b : bad) {
    SCOPED_TRACE(std::string(b.Field) + " = " + b.Value);
    FillNet(page, false, "7779");
    Ctl<QLineEdit>(page, b.Field)->setText(b.Value);
    const std::size_t shown = wizdlg::Shown().size();
    Next();
    EXPECT_TRUE(On<TfmEthernetParams>());
    EXPECT_EQ(wizdlg::Shown().size(), shown + 1) << "the error is shown";
    EXPECT_EQ(reader.Int(16, 1), 0) << "still on DHCP: nothing written";
    EXPECT_NE(reader.Int(21, 4), 7779);
  }
  Ctl<QCheckBox>(page, "chbDHCP")->click();
  EXPECT_FALSE(Ctl<QLineEdit>(page, "edtIP")->isEnabled()) << "the address follows the DHCP box";
}

// The template list, the entry values behind its placeholder, and a template saved
// and opened again through the page's buttons.
TEST_F(OfdLinkSetUp, TemplatesOnThePage) {
  EmuProcess reg({"--tcp", "0"});
  ToOFDPage(reg.TcpPort());
  if (HasFatalFailure()) return;
  auto* page = Page<TfmOFDParams>();
  auto* list = Ctl<QComboBox>(page, "cbTemplate");
  auto* name = Ctl<QLineEdit>(page, "edtOFDName");
  ASSERT_EQ(list->count(), 3) << "the placeholder and the two templates installed with the folder";
  EXPECT_EQ(list->itemText(0), "--Выбрать шаблон--");
  EXPECT_EQ(list->itemText(1), "ЯРУС (ОФД-Я)") << "the preferred OFD comes first";
  EXPECT_EQ(list->itemText(2), "ОФД Восток");
  const QString onEntry = name->text();

  list->setCurrentIndex(2);
  emit list->activated(2);
  EXPECT_EQ(name->text(), "АО \"ОФД Восток\"");
  EXPECT_EQ(Ctl<QLineEdit>(page, "edtOFDPort")->text(), "21101");
  list->setCurrentIndex(0);
  emit list->activated(0);
  EXPECT_EQ(name->text(), onEntry) << "the placeholder brings back the values shown on entry";

  FillOFD();
  wizdlg::PushFileName(dir.path() + "/mine");
  Ctl<QPushButton>(page, "btnSaveTemplate")->click();
  ASSERT_TRUE(QFile::exists(dir.path() + "/mine.xml")) << "saved with the default extension";
  name->clear();
  Ctl<QLineEdit>(page, "edtPortKM")->clear();
  wizdlg::PushFileName(dir.path() + "/mine.xml");
  Ctl<QPushButton>(page, "btnOpenTemplate")->click();
  EXPECT_EQ(name->text(), "ОФД Пример");
  EXPECT_EQ(Ctl<QLineEdit>(page, "edtPortKM")->text(), "7791");

  // A malformed file is reported and the fields keep their values.
  QFile broken(dir.path() + "/broken.xml");
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("<OFDParams><OFDName>x</OFDParams>");
  broken.close();
  const std::size_t shown = wizdlg::Shown().size();
  wizdlg::PushFileName(broken.fileName());
  Ctl<QPushButton>(page, "btnOpenTemplate")->click();
  EXPECT_EQ(wizdlg::Shown().size(), shown + 1);
  EXPECT_EQ(name->text(), "ОФД Пример");
}

}  // namespace
}  // namespace zel
