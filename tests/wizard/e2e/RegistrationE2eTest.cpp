// The wizard's window against virtual registers in their own processes, reached
// over TCP: what the operator enters is what a second driver reads back from
// the register afterwards.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <memory>

#include "driver/Zelvox.h"
#include "driver/catalogue/StatusRec.h"
#include "tests/wizard/search/EmuProcess.h"
#include "tests/wizard/support/WizardWindowProbe.h"
#include "wizard/flow/core/RegChecks.h"
#include "wizard/flow/registration/DeviceTables.h"
#include "wizard/flow/registration/Registration.h"
#include "wizard/flow/steps/PageList.h"
#include "wizard/flow/ui/Controller.h"
#include "wizard/flow/ui/MainWindow.h"
#include "wizard/flow/ui/WizDialogs.h"

namespace zel {
namespace {

using test::EmuProcess;

const std::string kSerial = "0012345678";
const std::string kINN = "1234567894";

// A driver of its own on the register's TCP port.
void ConnectTcp(TZelvox& d, int port) {
  d.put_ConnectionType(6);
  d.put_ProtocolType(0);
  d.put_ComputerName("127.0.0.1");
  d.put_UseIPAddress(false);
  d.put_TCPPort(port);
  d.put_TCPConnectionTimeout(2000);
  d.put_Timeout(5000);
}

struct TEntered {
  std::string RNM = MakeRNM("0000000001", kINN, kSerial);
  std::uint8_t Tax = Bit(tsOSN) | Bit(tsPSN);
  std::uint8_t Work = Bit(wmAutomatic) | Bit(wmServices);
  std::uint8_t WorkEx = Bit(wmxExcise);
  std::string Automat = "A-17";
};

class WizardE2e : public ::testing::Test, public test::TWizardWindowProbe {
 protected:
  void SetUp() override {
    SetDriverSetup({});
    SetSearchSource({});
    wizdlg::ClearShown();
    wizdlg::ClearAnswers();
  }
  void TearDown() override {
    window.reset();
    emu.reset();
  }

  void StartEmu(std::vector<std::string> more) {
    std::vector<std::string> args = {"--tcp", "0", "--serial", kSerial};
    args.insert(args.end(), more.begin(), more.end());
    emu = std::make_unique<EmuProcess>(args);
    ASSERT_GT(emu->TcpPort(), 0);
  }
  void OpenWindow() {
    window = std::make_unique<TfmMain>(dir.path());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }

  std::string LastMessage() {
    return wizdlg::Shown().empty() ? std::string() : wizdlg::Shown().back().Text.toStdString();
  }
  void Tick(const char* name) { Ctl<QCheckBox>(Page<TfmWorkMode>(), name)->setChecked(true); }

  // Start page to the work type, over the TCP page.
  void ToWorkType() {
    ASSERT_TRUE(On<TfmConnectDevice>());
    Next();
    ASSERT_TRUE(On<TfmSelectPortType>());
    Ctl<QListWidget>(Page<TfmSelectPortType>(), "lbPortType")->setCurrentRow(1);
    Next();
    ASSERT_TRUE(On<TfmTCPParams>());
    Ctl<QLineEdit>(Page<TfmTCPParams>(), "edtIP")->setText("127.0.0.1");
    Ctl<QLineEdit>(Page<TfmTCPParams>(), "edtPort")->setText(QString::number(emu->TcpPort()));
    Next();
    ASSERT_TRUE(On<TfmSelectWorkType>()) << LastMessage();
  }


  // From the work type (row) through the data steps to the read-back page.
  void RegisterThroughTheSteps(int workType, int ffd, const TEntered& e) {
    Ctl<QListWidget>(Page<TfmSelectWorkType>(), "lbWorkType")->setCurrentRow(workType);
    Next();
    if (workType == 0) {
      ASSERT_TRUE(On<TFmCheckStatusBeforeRegistration>()) << LastMessage();
      Next();
      ASSERT_TRUE(On<TfmEnterSerial>()) << LastMessage();
    } else {
      ASSERT_TRUE(On<TFmCheckStatusBeforeReRegistration>()) << LastMessage();
    }
    Next();
    ASSERT_TRUE(On<TfmSelectClientType>()) << LastMessage();
    Next();
    ASSERT_TRUE(On<TfmFFD>());
    Ctl<QListWidget>(Page<TfmFFD>(), "lbFFD")->setCurrentRow(ffd == kFFD12 ? 1 : 0);
    Next();  // the firmware question for FFD 1.2 is answered OK
    ASSERT_TRUE(On<TfmOFDParams>()) << LastMessage();
    FillOFD();
    Next();
    ASSERT_TRUE(On<TfmUserParams>()) << LastMessage();
    QWidget* user = Page<TfmUserParams>();
    Ctl<QLineEdit>(user, "edtUser")->setText("ООО Ромашка");
    Ctl<QLineEdit>(user, "edtOperator")->setText("Иванов И.И.");
    Ctl<QLineEdit>(user, "edtAddress")->setText("г. Москва, ул. Лесная, 5");
    Ctl<QLineEdit>(user, "edtPaymentPlace")->setText("Магазин");
    Ctl<QLineEdit>(user, "edtSenderEmail")->setText("shop@example.invalid");
    Next();
    ASSERT_TRUE(On<TfmINN>()) << LastMessage();
    Ctl<QLineEdit>(Page<TfmINN>(), "edtINN")->setText(QString::fromStdString(kINN));
    Ctl<QLineEdit>(Page<TfmINN>(), "edtRNM")->setText(QString::fromStdString(e.RNM));
    Next();
    ASSERT_TRUE(On<TfmWorkMode>()) << LastMessage();
    for (int bit = 0; bit < 8; ++bit) {
      const auto set = [&](const char* prefix, std::uint8_t bits) {
        if (auto* box = Page<TfmWorkMode>()->findChild<QCheckBox*>(QString::fromLatin1(prefix) + QString::number(bit)))
          box->setChecked(TestBit(bits, bit));
      };
      set("cbTax", e.Tax);
      set("cbWorkMode", e.Work);
      set("cbWorkModeEx", e.WorkEx);
    }
    Ctl<QLineEdit>(Page<TfmWorkMode>(), "edtAutomatNumber")->setText(QString::fromStdString(e.Automat));
    if (ffd == kFFD105) Tick("cbAgent2");
    Next();
    ASSERT_TRUE(On<TfmFiscalizationBefore>()) << LastMessage();
    Next();
    ASSERT_TRUE(On<TfmFiscalizationInfo>()) << LastMessage();
  }

  QTemporaryDir dir;
  std::unique_ptr<EmuProcess> emu;
  std::unique_ptr<TfmMain> window;
  QWidget* WizardWindow() override { return window.get(); }
};

// What the register holds after the wizard, read by a driver of its own.
void ExpectRegistered(int port, bool cashCore, int ffd, const TEntered& e, int reason) {
  TZelvox d;
  ConnectTcp(d, port);
  TRegDevice dev(d);
  ASSERT_EQ(d.FNGetFiscalizationResult(), 0) << d.get_ResultCodeDescription();
  EXPECT_EQ(d.get_INN(), kINN);
  EXPECT_EQ(d.get_KKTRegistrationNumber(), e.RNM);
  EXPECT_EQ(d.get_TaxType(), e.Tax);
  EXPECT_EQ(d.get_WorkMode(), e.Work);
  EXPECT_EQ(d.get_WorkModeEx(), e.WorkEx);  // taken from the table the wizard wrote
  EXPECT_EQ(d.get_RegistrationReasonCode(), reason);
  EXPECT_EQ(dev.IsCashCore(), cashCore);
  EXPECT_EQ(dev.ReadFFD(), ffd);
  EXPECT_EQ(dev.TableReadInt(cashCore ? 13 : 18, 1, 21), e.WorkEx);
  EXPECT_EQ(dev.TableReadStr(24, 1, 1), e.Automat);
  const std::pair<int, const char*> texts[] = {{7, "ООО Ромашка"}, {8, "Иванов И.И."}, {9, "г. Москва, ул. Лесная, 5"},
                                               {14, "Магазин"}, {15, "shop@example.invalid"}};
  for (const auto& [field, text] : texts) EXPECT_EQ(dev.TableReadStr(18, 1, field), text) << field;
  if (!cashCore) {
    EXPECT_EQ(dev.TableReadInt(18, 1, 16), ffd == kFFD105 ? Bit(agPayAgent) : 0);
  }
  d.Disconnect();
}

class NewRegistrationE2e : public WizardE2e, public ::testing::WithParamInterface<std::tuple<bool, int>> {};

TEST_P(NewRegistrationE2e, ReadsBackWhatWasEntered) {
  const auto [cashCore, ffd] = GetParam();
  StartEmu(cashCore ? std::vector<std::string>{"--cash-core"} : std::vector<std::string>{});
  OpenWindow();
  ToWorkType();
  const TEntered e;
  RegisterThroughTheSteps(0, ffd, e);
  EXPECT_EQ(Controller().RegParams.RNM, e.RNM);
  EXPECT_EQ(Controller().RegParams.DocType, 1);
  ExpectRegistered(emu->TcpPort(), cashCore, ffd, e, 0);
}

INSTANTIATE_TEST_SUITE_P(CashCoreAndFFD, NewRegistrationE2e,
                         ::testing::Combine(::testing::Bool(), ::testing::Values(kFFD105, kFFD12)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param) ? "CashCore" : "Plain") +
                                  (std::get<1>(info.param) == kFFD12 ? "FFD12" : "FFD105");
                         });

// A registered register gets a fresh storage: the wizard's re-registration with
// replacement puts the registration into the new storage (without the cash core
// through the registration report, with it through the re-registration report).
class FNReplacementE2e : public WizardE2e, public ::testing::WithParamInterface<bool> {};

TEST_P(FNReplacementE2e, RegistrationGoesIntoTheNewStorage) {
  const bool cashCore = GetParam();
  const std::string state = dir.filePath("register.state").toStdString();
  const std::string newFn = "9999078900005678";
  std::vector<std::string> kind;
  if (cashCore) kind.push_back("--cash-core");
  {
    kind.insert(kind.end(), {"--state", state});
    StartEmu(kind);
    TZelvox d;
    ConnectTcp(d, emu->TcpPort());
    TRegDevice dev(d);
    TRegParams r;
    r.FirstTime = true;
    r.INN = kINN;
    r.RNM = MakeRNM("0000000001", kINN, kSerial);
    r.TaxSystem = Bit(tsUSNIncome);
    r.WorkMode = 0;
    r.WorkModeEx = r.Agent = 0;
    r.FFD = kFFD105;
    Register(dev, r);
    d.Disconnect();
    emu.reset();
  }
  kind.insert(kind.end(), {"--replace-fn", newFn});
  StartEmu(kind);
  OpenWindow();
  ToWorkType();
  TEntered e;
  e.RNM = MakeRNM("0000000002", kINN, kSerial);
  RegisterThroughTheSteps(2, kFFD105, e);
  EXPECT_EQ(Controller().RegParams.FNSerial, newFn);
  EXPECT_EQ(Controller().RegParams.DocType, 2);
  EXPECT_EQ(Controller().RegParams.ReasonCode, 1);
  ExpectRegistered(emu->TcpPort(), cashCore, kFFD105, e, 1);

  TZelvox d;
  ConnectTcp(d, emu->TcpPort());
  ASSERT_EQ(d.FNGetStatus(), 0);
  EXPECT_EQ(d.get_SerialNumber(), newFn);
  EXPECT_EQ(d.get_DocumentNumber(), 1);  // the replacement report is the new storage's first document
  d.put_DocumentNumber(1);
  ASSERT_EQ(d.FNFindDocument(), 0);
  EXPECT_EQ(d.get_DocumentType(), 11);
}

INSTANTIATE_TEST_SUITE_P(Kinds, FNReplacementE2e, ::testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "CashCore" : "Plain"); });

// The report command answers "busy printing" several times: the wizard waits it
// out and the storage holds one registration.
TEST_F(WizardE2e, BusyRegisterBuildsTheReportOnce) {
  StartEmu({"--busy", "4", "--busy-command", "FNBuildRegistrationReport"});
  {  // only the report command is busy; one of its busy answers is taken here
    TZelvox d;
    ConnectTcp(d, emu->TcpPort());
    d.put_TableNumber(18);
    d.put_RowNumber(1);
    d.put_FieldNumber(2);
    EXPECT_EQ(d.ReadTable(), 0);
    EXPECT_EQ(d.FNBuildRegistrationReport(), 80);
    d.Disconnect();
  }
  OpenWindow();
  ToWorkType();
  const TEntered e;
  RegisterThroughTheSteps(0, kFFD105, e);
  ExpectRegistered(emu->TcpPort(), false, kFFD105, e, 0);
  TZelvox d;
  ConnectTcp(d, emu->TcpPort());
  ASSERT_EQ(d.FNGetStatus(), 0);
  EXPECT_EQ(d.get_DocumentNumber(), 1);
}

// Registers the register by a driver of its own; with openShift a shift is left open.
// Returns the documents the OFD has not confirmed afterwards.
int RegisterByDriver(int port, bool openShift) {
  TZelvox d;
  ConnectTcp(d, port);
  TRegDevice dev(d);
  TRegParams r;
  r.FirstTime = true;
  r.INN = kINN;
  r.RNM = MakeRNM("0000000001", kINN, kSerial);
  r.TaxSystem = Bit(tsUSNIncome);
  r.WorkMode = 0;
  r.WorkModeEx = r.Agent = 0;
  r.FFD = kFFD105;
  Register(dev, r);
  if (openShift) {
    EXPECT_EQ(d.OpenSession(), 0) << d.get_ResultCodeDescription();
  }
  EXPECT_EQ(d.FNGetInfoExchangeStatus(), 0) << d.get_ResultCodeDescription();
  const int pending = static_cast<int>(d.get_MessageCount());
  d.Disconnect();
  return pending;
}

// Shift state and unsent OFD documents as a second driver sees them.
struct TDeviceState {
  int Mode = -1;
  int Pending = -1;
};
TDeviceState ReadDeviceState(int port) {
  TZelvox d;
  ConnectTcp(d, port);
  TDeviceState s;
  EXPECT_EQ(d.GetECRStatus(), 0) << d.get_ResultCodeDescription();
  s.Mode = static_cast<int>(d.get_ECRMode());
  EXPECT_EQ(d.FNGetInfoExchangeStatus(), 0) << d.get_ResultCodeDescription();
  s.Pending = static_cast<int>(d.get_MessageCount());
  d.Disconnect();
  return s;
}

class StateGateE2e : public WizardE2e {
 protected:
  // Over the re-registration's state page of a registered register.
  void ToStatePage() {
    OpenWindow();
    ToWorkType();
    Ctl<QListWidget>(Page<TfmSelectWorkType>(), "lbWorkType")->setCurrentRow(1);
    Next();
    ASSERT_TRUE(On<TFmCheckStatusBeforeReRegistration>()) << LastMessage();
  }
  QPushButton* Button(const char* name) { return Ctl<QPushButton>(Page<TFmCheckStatusBeforeReRegistration>(), name); }
  QString Status() { return Ctl<QLabel>(Page<TFmCheckStatusBeforeReRegistration>(), "lblOFDStatus")->text(); }
  bool NextEnabled() { return window->findChild<QPushButton*>("btnNext")->isEnabled(); }
};

// An open shift stops the wizard until the page's own button has closed it; the
// OFD confirms quickly here, so nothing else holds the way.
TEST_F(StateGateE2e, OpenShiftIsClosedFromThePage) {
  StartEmu({"--ofd-pace", "1000"});
  RegisterByDriver(emu->TcpPort(), true);
  ASSERT_EQ(ReadDeviceState(emu->TcpPort()).Mode, kModeShiftOpen);
  ToStatePage();
  EXPECT_EQ(Status(), "Внимание! Смена не закрыта.\r\nПродолжение невозможно");
  EXPECT_FALSE(NextEnabled());
  EXPECT_TRUE(Button("btnSkip")->isHidden());
  Next();  // disabled: nothing happens
  EXPECT_TRUE(On<TFmCheckStatusBeforeReRegistration>());

  Button("btnCloseShift")->click();
  EXPECT_EQ(LastMessage(), "");
  // The close-shift report may still be on its way to the OFD: the page's
  // refresh shows when it has gone.
  ASSERT_TRUE(QTest::qWaitFor(
      [this] {
        if (Button("btnUpdate")->isEnabled()) Button("btnUpdate")->click();
        return NextEnabled();
      },
      5000))
      << Status().toStdString();
  EXPECT_EQ(Status(), "Смена закрыта. Все сообщения отправлены в ОФД.\r\nНажмите \"Далее\" для продолжения");
  EXPECT_FALSE(Button("btnCloseShift")->isEnabled());
  const TDeviceState after = ReadDeviceState(emu->TcpPort());
  EXPECT_EQ(after.Mode, kModeShiftClosed);
  EXPECT_EQ(after.Pending, 0);
  Next();
  EXPECT_TRUE(On<TfmSelectClientType>()) << LastMessage();
}

// Documents the OFD has not confirmed are counted on the page and keep "Далее"
// off; the skip goes on anyway. An open shift is closed first, and its report
// joins the count.
TEST_F(StateGateE2e, PendingDocumentsAreCountedAndCanBeSkipped) {
  StartEmu({"--ofd-hold"});
  const int registered = RegisterByDriver(emu->TcpPort(), true);
  ASSERT_GT(registered, 0);
  ToStatePage();
  EXPECT_FALSE(NextEnabled());
  EXPECT_TRUE(Button("btnSkip")->isHidden());  // the shift comes first
  Button("btnCloseShift")->click();
  EXPECT_EQ(LastMessage(), "");

  const TDeviceState held = ReadDeviceState(emu->TcpPort());
  EXPECT_EQ(held.Mode, kModeShiftClosed);
  EXPECT_EQ(held.Pending, registered + 1);  // the close-shift report
  EXPECT_EQ(Status(),
            QString("Внимание! Есть неотправленные сообщения для ОФД (%1 шт.)\r\nПродолжение невозможно").arg(held.Pending));
  EXPECT_FALSE(NextEnabled());
  EXPECT_FALSE(Button("btnCloseShift")->isEnabled());
  ASSERT_FALSE(Button("btnSkip")->isHidden());
  Button("btnUpdate")->click();  // still held: the same refusal
  EXPECT_FALSE(NextEnabled());
  EXPECT_TRUE(On<TFmCheckStatusBeforeReRegistration>());

  Button("btnSkip")->click();
  EXPECT_TRUE(On<TfmSelectClientType>()) << LastMessage();
  EXPECT_EQ(ReadDeviceState(emu->TcpPort()).Pending, held.Pending);  // nothing was lost on the way
}

// A 4-byte field above 2^31 (the change reasons) reads back as the number written,
// through the driver and through the wizard's table procedures.
TEST_F(WizardE2e, FourByteFieldReadsBackUnsigned) {
  StartEmu({});
  TZelvox d;
  ConnectTcp(d, emu->TcpPort());
  TRegDevice dev(d);
  dev.TableWriteIntRow1(18, 22, 0x80000004LL);
  d.put_TableNumber(18);
  d.put_RowNumber(1);
  d.put_FieldNumber(22);
  ASSERT_EQ(d.ReadTable(), 0);
  EXPECT_EQ(d.get_ValueOfFieldInteger(), 0x80000004LL);
  EXPECT_EQ(d.get_ValueOfFieldString(), "2147483652");
  EXPECT_EQ(dev.TableReadInt(18, 1, 22), 0x80000004LL);
  EXPECT_EQ(dev.TableReadIntOrZero(18, 1, 22), 0x80000004LL);
}

}  // namespace
}  // namespace zel
