// The wizard's window against the in-process virtual register: a whole new
// registration through the pages, the state gate, and the navigation rules.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <memory>

#include "tests/wizard/support/WizardWindowProbe.h"
#include "wizard/flow/core/RegChecks.h"
#include "wizard/flow/registration/Registration.h"
#include "wizard/flow/steps/PageList.h"
#include "wizard/flow/ui/Controller.h"
#include "wizard/flow/ui/MainWindow.h"
#include "wizard/flow/ui/WizDialogs.h"
#include "RecordingRegister.h"

namespace zel {
namespace {

using test::TRecordingRegister;

const std::string kINN = "1234567894";

// A probe that finds the virtual register at once (the driver reaches it in process).
class TFoundProbe : public ISearchDevice {
 public:
  void Search() override { FState = {true, true, "ZELVOX-01F COM7 115200", 16, false, 1}; }
  void Stop() override {}
  void Added() override { FState.Added = true; }
  std::string GetName() const override { return "ZELVOX-01F"; }
  std::string GetSerial() const override { return "0012345678"; }
  TSearchState GetState() const override { return FState; }
  TSearchParamsRec GetParams() const override { return FParams; }
  void SetParams(const TSearchParamsRec& value) override { FParams = value; }
  std::vector<int> GetBaudrates() const override { return {115200}; }

 private:
  TSearchState FState;
  TSearchParamsRec FParams;
};

// A probe that runs until it is told to stop.
class TEndlessProbe : public TFoundProbe {
 public:
  static inline int Stopped = 0;
  void Search() override {}
  void Stop() override { ++Stopped; }
};

TSearchSource OnePortWithTheRegister() {
  TSearchSource source;
  source.Ports = [] {
    TSerialPorts ports;
    TSerialPortRec port;
    port.Name = "COM7";
    port.FriendlyName = "Virtual (COM7)";
    port.ComNumber = 7;
    ports.Add(port);
    return ports;
  };
  source.Factory = [] { return std::make_shared<TFoundProbe>(); };
  return source;
}

const std::string kSerial = "0012345678";

class WizardFlow : public ::testing::Test, public test::TWizardWindowProbe {
 protected:
  void Start(bool cashCore = false) {
    reg = std::make_unique<TRecordingRegister>(cashCore);
    SetDriverSetup([this](TZelvox& d) { reg->Attach(d); });
    SetSearchSource(OnePortWithTheRegister());
    wizdlg::ClearShown();
    wizdlg::ClearAnswers();
    window = std::make_unique<TfmMain>(dir.path());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  void TearDown() override {
    window.reset();
    SetDriverSetup({});
    SetSearchSource({});
  }

  QString Caption() { return window->findChild<QLabel*>("pnlTop")->text(); }
  // With ZEL_WIZARD_SHOTS set, the window of each step is saved there (docs screenshots).
  void Shot() {
    const QByteArray dirName = qgetenv("ZEL_WIZARD_SHOTS");
    if (dirName.isEmpty() || !shots) return;
    // Let layouts settle after labels were shown or hidden, as the screen would.
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    window->grab().save(QString("%1/tamarex-%2.png").arg(QString::fromLocal8Bit(dirName)).arg(++shotNo, 2, 10, QChar('0')));
  }
  QString LastMessage() { return wizdlg::Shown().empty() ? QString() : wizdlg::Shown().back().Text; }

  // From the start to the work-type page.
  void ToWorkType() {
    ASSERT_TRUE(On<TfmConnectDevice>());
    Next();
    ASSERT_TRUE(On<TfmSelectPortType>());
    Next();
    ASSERT_TRUE(On<TfmSearchDevice>());
    EXPECT_FALSE(Button("btnMenu")->isEnabled());  // while the probes run
    ASSERT_TRUE(QTest::qWaitFor([this] { return Button("btnNext")->isEnabled(); }, 5000));
    EXPECT_TRUE(Button("btnMenu")->isEnabled());
    Next();
    ASSERT_TRUE(On<TfmSelectWorkType>()) << LastMessage().toStdString();
  }
  void ChooseWorkType(int row) {
    Ctl<QListWidget>(Page<TfmSelectWorkType>(), "lbWorkType")->setCurrentRow(row);
    Next();
  }
  void FillUser() {
    Ctl<QLineEdit>(Page<TfmUserParams>(), "edtUser")->setText("ООО Ромашка");
    Ctl<QLineEdit>(Page<TfmUserParams>(), "edtOperator")->setText("Иванов И.И.");
    Ctl<QLineEdit>(Page<TfmUserParams>(), "edtAddress")->setText("г. Москва, ул. Лесная, 5");
    Ctl<QLineEdit>(Page<TfmUserParams>(), "edtPaymentPlace")->setText("Магазин");
    Ctl<QLineEdit>(Page<TfmUserParams>(), "edtSenderEmail")->setText("shop@example.invalid");
  }
  void Tick(const char* name, bool on = true) { Ctl<QCheckBox>(Page<TfmWorkMode>(), name)->setChecked(on); }

  QTemporaryDir dir;
  bool shots = false;
  int shotNo = 0;
  std::unique_ptr<TRecordingRegister> reg;
  std::unique_ptr<TfmMain> window;
  QWidget* WizardWindow() override { return window.get(); }
};

class NewRegistrationFlow : public WizardFlow, public ::testing::WithParamInterface<std::tuple<bool, int>> {};

TEST_P(NewRegistrationFlow, EveryStepToTheReadBack) {
  const auto [cashCore, ffd] = GetParam();
  shots = !cashCore && ffd == kFFD105;
  Start(cashCore);
  Shot();
  EXPECT_EQ(Caption(), "Подключите устройство");
  ToWorkType();
  Shot();
  EXPECT_EQ(Ctl<QLabel>(Page<TfmSelectWorkType>(), "lblDevice")->text(), "ZELVOX-01F, зав. номер " + QString::fromStdString(kSerial));
  EXPECT_EQ(Ctl<QListWidget>(Page<TfmSelectWorkType>(), "lbWorkType")->count(), 6);  // the model has an OFD table
  ChooseWorkType(0);
  ASSERT_TRUE(On<TFmCheckStatusBeforeRegistration>());
  Shot();
  EXPECT_TRUE(Button("btnNext")->isEnabled());
  Next();
  ASSERT_TRUE(On<TfmEnterSerial>());
  Shot();
  Next();
  ASSERT_TRUE(On<TfmSelectClientType>());
  Shot();
  Next();
  ASSERT_TRUE(On<TfmFFD>());
  Shot();
  Ctl<QListWidget>(Page<TfmFFD>(), "lbFFD")->setCurrentRow(ffd == kFFD12 ? 1 : 0);
  wizdlg::ClearShown();
  Next();
  // Firmware "3.2" of a register without the cash core is asked about for FFD 1.2 only.
  EXPECT_EQ(wizdlg::Shown().size(), !cashCore && ffd == kFFD12 ? 1u : 0u);
  ASSERT_TRUE(On<TfmOFDParams>());
  Shot();
  FillOFD();
  Next();
  ASSERT_TRUE(On<TfmUserParams>());
  Shot();
  FillUser();
  Shot();
  Next();
  ASSERT_TRUE(On<TfmINN>()) << LastMessage().toStdString();
  Shot();
  const std::string rnm = MakeRNM("0000000001", kINN, kSerial);
  Ctl<QLineEdit>(Page<TfmINN>(), "edtINN")->setText(QString::fromStdString(kINN));
  Ctl<QLineEdit>(Page<TfmINN>(), "edtRNM")->setText(QString::fromStdString(rnm));
  Shot();
  wizdlg::ClearShown();
  Next();
  ASSERT_TRUE(On<TfmWorkMode>()) << LastMessage().toStdString();
  Shot();
  EXPECT_TRUE(wizdlg::Shown().empty());  // a right RNM asks nothing
  Tick("cbTax0");
  Tick("cbTax5");
  Tick("cbWorkMode2");
  Tick("cbWorkMode3");
  Ctl<QLineEdit>(Page<TfmWorkMode>(), "edtAutomatNumber")->setText("A-17");
  Tick("cbWorkModeEx0");
  if (ffd == kFFD105) Tick("cbAgent2");
  Shot();
  Next();
  ASSERT_TRUE(On<TfmFiscalizationBefore>()) << LastMessage().toStdString();
  Shot();
  Next();
  ASSERT_TRUE(On<TfmFiscalizationInfo>()) << LastMessage().toStdString();
  Shot();
  EXPECT_EQ(Caption(), "Печать чека о фискализации");

  const TRegParams& back = Controller().RegParams;
  EXPECT_EQ(back.INN, kINN);
  EXPECT_EQ(back.RNM, rnm);
  EXPECT_EQ(back.TaxSystem, Bit(tsOSN) | Bit(tsPSN));
  EXPECT_EQ(back.WorkMode, Bit(wmAutomatic) | Bit(wmServices));
  EXPECT_EQ(back.User, "ООО Ромашка");
  EXPECT_EQ(back.Cashier, "Иванов И.И.");
  EXPECT_EQ(back.Address, "г. Москва, ул. Лесная, 5");
  EXPECT_EQ(back.KKTSerial, kSerial);
  EXPECT_EQ(back.DocType, 1);
  const auto doc = reg->Model.Snapshot().fn.documents.back();
  EXPECT_EQ(doc.type, 1);
  TZelvox probe;
  reg->Attach(probe);
  TRegDevice dev(probe);
  EXPECT_EQ(dev.TableReadInt(cashCore ? 13 : 18, 1, 21), Bit(wmxExcise));
  EXPECT_EQ(cashCore ? dev.TableReadInt(10, 1, 29) : dev.ReadFFD(), ffd);
  EXPECT_EQ(dev.TableReadStr(24, 1, 1), "A-17");
  EXPECT_EQ(dev.TableReadStr(18, 1, 14), "Магазин");
  EXPECT_EQ(dev.TableReadInt(18, 1, 16), !cashCore && ffd == kFFD105 ? Bit(agPayAgent) : 0);

  Next();
  ASSERT_TRUE(On<TfmFinalMessage>());
  Shot();
  Next();
  EXPECT_TRUE(On<TfmConnectDevice>());
}

INSTANTIATE_TEST_SUITE_P(CashCoreAndFFD, NewRegistrationFlow,
                         ::testing::Combine(::testing::Bool(), ::testing::Values(kFFD105, kFFD12)));

// A registered register with an open shift and documents the OFD has not confirmed.
TEST_F(WizardFlow, StateGateRefusesOpenShiftAndPendingDocumentsAndOffersTheSkip) {
  Start();
  reg->Model.HoldOfd(true);
  {
    TZelvox d;
    reg->Attach(d);
    TRegDevice dev(d);
    TRegParams r;
    r.FirstTime = true;
    r.INN = kINN;
    r.RNM = MakeRNM("1", kINN, kSerial);
    r.TaxSystem = 1;
    r.WorkMode = r.WorkModeEx = r.Agent = 0;
    r.FFD = kFFD105;
    Register(dev, r);
    ASSERT_EQ(d.OpenSession(), 0) << d.get_ResultCodeDescription();
  }
  ToWorkType();
  ChooseWorkType(1);
  ASSERT_TRUE(On<TFmCheckStatusBeforeReRegistration>());
  auto* status = Ctl<QLabel>(Page<TFmCheckStatusBeforeReRegistration>(), "lblOFDStatus");
  EXPECT_EQ(status->text(), "Внимание! Смена не закрыта.\r\nПродолжение невозможно");
  EXPECT_FALSE(Button("btnNext")->isEnabled());
  auto* closeShift = Ctl<QPushButton>(Page<TFmCheckStatusBeforeReRegistration>(), "btnCloseShift");
  auto* skip = Ctl<QPushButton>(Page<TFmCheckStatusBeforeReRegistration>(), "btnSkip");
  EXPECT_TRUE(closeShift->isEnabled());
  EXPECT_TRUE(skip->isHidden());
  Next();  // disabled: nothing happens
  EXPECT_TRUE(On<TFmCheckStatusBeforeReRegistration>());

  closeShift->click();
  const int pending = static_cast<int>(reg->Model.UnsentDocuments());
  ASSERT_GT(pending, 0);
  EXPECT_EQ(status->text(), QString("Внимание! Есть неотправленные сообщения для ОФД (%1 шт.)\r\nПродолжение невозможно").arg(pending));
  EXPECT_FALSE(closeShift->isEnabled());
  EXPECT_FALSE(Button("btnNext")->isEnabled());
  EXPECT_FALSE(skip->isHidden());
  skip->click();
  EXPECT_TRUE(On<TfmSelectClientType>());
}

TEST_F(WizardFlow, X5ModeFromTheFileBesideTheProgram) {
  const QString bits = QString(" (%1-bit)").arg(sizeof(void*) * 8);
  Start();
  EXPECT_EQ(window->windowTitle(), "Tamarex " ZEL_VERSION + bits);
  window.reset();
  QFile x5(dir.filePath("X5.ini"));
  ASSERT_TRUE(x5.open(QIODevice::WriteOnly));
  x5.close();
  Start();
  EXPECT_EQ(window->windowTitle(), "Tamarex " ZEL_VERSION + bits + " [X5]");
  ToWorkType();
  ChooseWorkType(2);  // a re-registration goes to the X5 files
  EXPECT_TRUE(On<TfmKKTParamsX5>());
}

// The OFD link set-up runs OFD data, network type and settings, the link check and the OFD queue.
TEST_F(WizardFlow, OFDLinkSetUpEndsWithTheQueueState) {
  Start();
  reg->Model.HoldOfd(true);
  {
    TZelvox d;
    reg->Attach(d);
    TRegDevice dev(d);
    TRegParams r;
    r.FirstTime = true;
    r.INN = kINN;
    r.RNM = MakeRNM("1", kINN, kSerial);
    r.TaxSystem = 1;
    r.WorkMode = r.WorkModeEx = r.Agent = 0;
    r.FFD = kFFD105;
    Register(dev, r);
  }
  ToWorkType();
  ChooseWorkType(5);
  EXPECT_TRUE(Controller().IsOFDSettingMode);
  for (TParamPageClass page : {&TfmOFDParams::staticMetaObject, &TfmSelectNetType::staticMetaObject,
                               &TfmEthernetParams::staticMetaObject, &TfmCheckEthernet::staticMetaObject}) {
    ASSERT_EQ(Controller().CurrentPage->metaObject(), page) << page->className();
    if (page == &TfmOFDParams::staticMetaObject) FillOFD();
    // The link check ends (here refused: nothing listens) before "Далее" is offered.
    ASSERT_TRUE(QTest::qWaitFor([this] { return Button("btnNext")->isEnabled(); }, 15000));
    Next();
  }
  ASSERT_TRUE(On<TfmOFDExchangeState>());
  EXPECT_EQ(Ctl<QLabel>(Page<TfmOFDExchangeState>(), "lblState")->text(),
            QString("Кол-во неотправленных документов в ОФД: %1\r\nПроверьте настройки соединения с Интернет")
                .arg(reg->Model.UnsentDocuments()));
  Next();  // not blocked here
  EXPECT_TRUE(On<TfmFinalMessage>());
}

TEST_F(WizardFlow, ClosingStopsTheSearchBeforeTheDriverGoes) {
  Start();
  TSearchSource endless = OnePortWithTheRegister();
  endless.Factory = [] { return std::make_shared<TEndlessProbe>(); };
  SetSearchSource(endless);
  Next();
  Next();
  ASSERT_TRUE(On<TfmSearchDevice>());
  EXPECT_FALSE(Button("btnNext")->isEnabled());
  EXPECT_FALSE(Button("btnMenu")->isEnabled());
  TEndlessProbe::Stopped = 0;
  window->close();
  EXPECT_GE(TEndlessProbe::Stopped, 1);
  window.reset();
  EXPECT_FALSE(DriverExists());
}

TEST_F(WizardFlow, NavigationRules) {
  Start();
  EXPECT_FALSE(Button("btnPrev")->isEnabled());
  ToWorkType();
  Back();  // the work-type page always returns to the start
  EXPECT_TRUE(On<TfmConnectDevice>());
  ToWorkType();
  ChooseWorkType(0);
  Next();
  Next();
  Next();
  Next();
  ASSERT_TRUE(On<TfmOFDParams>());
  FillOFD();
  Next();
  ASSERT_TRUE(On<TfmUserParams>());
  // A refused Next stays, with the reason shown.
  Ctl<QLineEdit>(Page<TfmUserParams>(), "edtUser")->clear();
  Next();
  EXPECT_TRUE(On<TfmUserParams>());
  EXPECT_EQ(LastMessage(), "Введите значение \"Наименование организации\"!");
  FillUser();
  Ctl<QLineEdit>(Page<TfmUserParams>(), "edtSenderEmail")->setText("@example.invalid");
  Next();
  EXPECT_EQ(LastMessage(), "Введен некорректный E-mail отправителя");
  FillUser();
  Next();
  ASSERT_TRUE(On<TfmINN>());
  // A wrong RNM asks; Cancel stays silently.
  Ctl<QLineEdit>(Page<TfmINN>(), "edtINN")->setText(QString::fromStdString(kINN));
  Ctl<QLineEdit>(Page<TfmINN>(), "edtRNM")->setText("0000000001000000");
  wizdlg::ClearShown();
  wizdlg::PushAnswer(QMessageBox::Cancel);
  Next();
  EXPECT_TRUE(On<TfmINN>());
  EXPECT_EQ(wizdlg::Shown().size(), 1u);
  Ctl<QLineEdit>(Page<TfmINN>(), "edtRNM")->setText(QString::fromStdString(MakeRNM("1", kINN, kSerial)));
  Next();
  ASSERT_TRUE(On<TfmWorkMode>());
  // Going back and forth keeps what the operator ticked.
  Tick("cbTax5");
  Tick("cbWorkMode1");
  Back();
  ASSERT_TRUE(On<TfmINN>());
  EXPECT_EQ(Ctl<QLineEdit>(Page<TfmINN>(), "edtINN")->text(), QString::fromStdString(kINN));
  Next();
  ASSERT_TRUE(On<TfmWorkMode>());
  EXPECT_TRUE(Ctl<QCheckBox>(Page<TfmWorkMode>(), "cbTax5")->isChecked());
  EXPECT_TRUE(Ctl<QCheckBox>(Page<TfmWorkMode>(), "cbWorkMode1")->isChecked());
  // Home from any page, and on from there.
  Button("btnHome")->click();
  EXPECT_TRUE(On<TfmConnectDevice>());
  EXPECT_EQ(Controller().NextPageClass, &TfmSelectWorkType::staticMetaObject);
  Next();
  EXPECT_TRUE(On<TfmSelectPortType>());
  // No page is its own way back.
  for (int i = 0; i < window->Pages().Count(); ++i) EXPECT_NE(window->Pages().GetItem(i)->PrevPage, window->Pages().GetItem(i));
}

TEST_F(WizardFlow, UserDataRules) {
  Start();
  ToWorkType();
  ChooseWorkType(0);
  for (int i = 0; i < 4; ++i) Next();
  ASSERT_TRUE(On<TfmOFDParams>());
  FillOFD();
  Next();
  ASSERT_TRUE(On<TfmUserParams>());
  struct {
    const char* Address;
    const char* Place;
    const char* Email;
    const char* CashierINN;
    int Answer;             // to "no place of settlement, continue?"
    const char* Refusal;    // nullptr: accepted
  } cases[] = {
      {"ул. Лесная, 5", "Магазин", "a@b", "", QMessageBox::Ok, nullptr},
      {"", "", "a@b", "", QMessageBox::Ok, nullptr},  // neither: the address is not required
      {"", "Магазин", "a@b", "", QMessageBox::Ok, "Введите значение \"Адрес организации\"!"},
      {"ул. Лесная, 5", "", "a@b", "", QMessageBox::Cancel, "Введите значение \"Место расчетов\"!"},
      {"ул. Лесная, 5", "", "a@b", "", QMessageBox::Ok, nullptr},
      {"ул. Лесная, 5", "Магазин", "", "", QMessageBox::Ok, "Введите значение \"E-mail отправителя\"!"},
      {"ул. Лесная, 5", "Магазин", "@b", "", QMessageBox::Ok, "Введен некорректный E-mail отправителя"},
      {"ул. Лесная, 5", "Магазин", "a@", "", QMessageBox::Ok, "Введен некорректный E-mail отправителя"},
      {"ул. Лесная, 5", "Магазин", "ab", "", QMessageBox::Ok, "Введен некорректный E-mail отправителя"},
      {"ул. Лесная, 5", "Магазин", "a@b", "1234567895", QMessageBox::Ok, "Введен невалидный \"ИНН кассира\" !"},
      {"ул. Лесная, 5", "Магазин", "a@b", "1234567894", QMessageBox::Ok, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Address) + "|" + c.Place + "|" + c.Email + "|" + c.CashierINN);
    ASSERT_TRUE(On<TfmUserParams>());
    Ctl<QLineEdit>(Page<TfmUserParams>(), "edtUser")->setText("ООО Ромашка");
    Ctl<QLineEdit>(Page<TfmUserParams>(), "edtOperator")->setText("Иванов");
    Ctl<QLineEdit>(Page<TfmUserParams>(), "edtAddress")->setText(c.Address);
    Ctl<QLineEdit>(Page<TfmUserParams>(), "edtPaymentPlace")->setText(c.Place);
    Ctl<QLineEdit>(Page<TfmUserParams>(), "edtSenderEmail")->setText(c.Email);
    Ctl<QLineEdit>(Page<TfmUserParams>(), "edtCashierINN")->setText(c.CashierINN);
    wizdlg::ClearShown();
    wizdlg::ClearAnswers();
    wizdlg::PushAnswer(c.Answer);
    Next();
    if (c.Refusal) {
      EXPECT_TRUE(On<TfmUserParams>());
      EXPECT_EQ(LastMessage(), c.Refusal);
    } else {
      EXPECT_TRUE(On<TfmINN>()) << LastMessage().toStdString();
      EXPECT_EQ(Controller().RegParams.CashierINN, c.CashierINN);
      Back();
    }
  }
}

TEST_F(WizardFlow, ReregistrationReasonsAreCheckedAndChosenInTheDialog) {
  Start();
  {
    TZelvox d;
    reg->Attach(d);
    TRegDevice dev(d);
    TRegParams r;
    r.FirstTime = true;
    r.INN = kINN;
    r.RNM = MakeRNM("1", kINN, kSerial);
    r.TaxSystem = Bit(tsUSNIncome);
    r.WorkMode = Bit(wmServices);
    r.WorkModeEx = 0;
    r.Agent = 0;
    r.FFD = kFFD12;
    Register(dev, r);
  }
  ToWorkType();
  ChooseWorkType(1);
  ASSERT_TRUE(On<TFmCheckStatusBeforeReRegistration>());
  Ctl<QPushButton>(Page<TFmCheckStatusBeforeReRegistration>(), "btnSkip")->click();  // the registration is unsent
  ASSERT_TRUE(On<TfmSelectClientType>());
  Next();
  Ctl<QListWidget>(Page<TfmFFD>(), "lbFFD")->setCurrentRow(1);
  Next();
  ASSERT_TRUE(On<TfmOFDParams>());
  FillOFD();
  Next();
  ASSERT_TRUE(On<TfmUserParams>());
  FillUser();
  Next();
  ASSERT_TRUE(On<TfmINN>());
  // Without FN replacement the INN and RNM are the register's and cannot be changed.
  EXPECT_FALSE(Ctl<QLineEdit>(Page<TfmINN>(), "edtINN")->isEnabled());
  EXPECT_EQ(Ctl<QLineEdit>(Page<TfmINN>(), "edtINN")->text(), QString::fromStdString(kINN));
  Next();
  ASSERT_TRUE(On<TfmWorkMode>()) << LastMessage().toStdString();
  // The register's tax system and work mode are shown.
  EXPECT_TRUE(Ctl<QCheckBox>(Page<TfmWorkMode>(), "cbTax1")->isChecked());
  EXPECT_TRUE(Ctl<QCheckBox>(Page<TfmWorkMode>(), "cbWorkMode3")->isChecked());
  EXPECT_TRUE(Ctl<QComboBox>(Page<TfmWorkMode>(), "cbReasonCode")->isVisible());
  Next();
  EXPECT_TRUE(LastMessage().contains("32. Иные причины"));
  auto* reasons = Ctl<QLineEdit>(Page<TfmWorkMode>(), "edtReasonCodes");
  reasons->setText("4194304");  // reason 23 does not exist
  Next();
  EXPECT_EQ(LastMessage(), "Введены некорректные коды причин изменения сведений о ККТ");
  EXPECT_TRUE(On<TfmWorkMode>());
  reasons->setText("4");
  SetReasonCodesRunner([](TfmReasonCodes& dialog) {
    EXPECT_EQ(dialog.GetCode(), 4u);
    dialog.findChild<QCheckBox*>("cbReason31")->setChecked(true);
    return true;
  });
  Ctl<QPushButton>(Page<TfmWorkMode>(), "btnReasonCodes")->click();
  SetReasonCodesRunner({});
  EXPECT_EQ(reasons->text(), "2147483652");
  Ctl<QComboBox>(Page<TfmWorkMode>(), "cbReasonCode")->setCurrentIndex(2);
  Next();
  ASSERT_TRUE(On<TfmFiscalizationBefore>()) << LastMessage().toStdString();
  Next();
  ASSERT_TRUE(On<TfmFiscalizationInfo>()) << LastMessage().toStdString();
  const auto doc = reg->Model.Snapshot().fn.documents.back();
  EXPECT_EQ(doc.type, 11);
  EXPECT_EQ(doc.reason, 4);
  EXPECT_EQ(doc.reasonEx, 2147483652u);
  EXPECT_EQ(reg->Count("FNBuildReregistrationReport"), 1);
}

}  // namespace
}  // namespace zel
