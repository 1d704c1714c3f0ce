// The service, report and X5 pages of the wizard's window against a zelvox-emu
// process over TCP: archive closing, settlement report, and the X5 flow from the
// parameters file to the registration report file.
#include <gtest/gtest.h>
#include <iconv.h>

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <fstream>
#include <memory>
#include <sstream>

#include "driver/Zelvox.h"
#include "tests/wizard/search/EmuProcess.h"
#include "tests/wizard/support/WizardWindowProbe.h"
#include "wizard/flow/core/RegChecks.h"
#include "wizard/flow/core/RegReport.h"
#include "wizard/flow/core/X5Files.h"
#include "wizard/flow/registration/DeviceTables.h"
#include "wizard/flow/registration/Registration.h"
#include "wizard/flow/steps/PageList.h"
#include "wizard/flow/ui/Controller.h"
#include "wizard/flow/ui/MainWindow.h"
#include "wizard/flow/ui/WizDialogs.h"

// Failures show texts, not code units.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace zel {
namespace {

using test::EmuProcess;

const std::string kINN = "1234567894";
const std::string kSerial = "0012345678";

// UTF-8 text as Windows-1251 bytes (what the chain's systems read).
std::string Cp1251(const std::string& utf8) {
  iconv_t cd = iconv_open("CP1251", "UTF-8");
  std::string in = utf8, out(utf8.size() * 2 + 4, '\0');
  char* src = in.data();
  char* dst = out.data();
  size_t left = in.size(), room = out.size();
  const size_t rc = iconv(cd, &src, &left, &dst, &room);
  iconv_close(cd);
  EXPECT_NE(rc, static_cast<size_t>(-1)) << utf8;
  out.resize(out.size() - room);
  return out;
}

std::string Lines1251(const std::vector<std::string>& lines) {
  std::string all;
  for (const auto& l : lines) all += l + "\r\n";
  return Cp1251(all);
}

std::string ReadAll(const QString& path) {
  std::ifstream f(path.toStdString(), std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

void WriteAll(const QString& path, const std::string& bytes) {
  std::ofstream f(path.toStdString(), std::ios::binary);
  f << bytes;
}

class ServicePages : public ::testing::Test, public test::TWizardWindowProbe {
 protected:
  void Start(bool x5, std::vector<std::string> more = {}) {
    tape = dir.filePath("tape.txt");
    std::vector<std::string> args{"--tcp", "0", "--tape", tape.toStdString(), "--ofd-pace", "1000"};
    args.insert(args.end(), more.begin(), more.end());
    emu = std::make_unique<EmuProcess>(args);
    const int port = emu->TcpPort();
    SetDriverSetup([port](TZelvox& d) {
      d.put_ConnectionType(6);
      d.put_ComputerName("127.0.0.1");
      d.put_TCPPort(port);
      d.put_TCPConnectionTimeout(3000);
    });
    if (x5) WriteAll(dir.filePath("X5.ini"), "");
    wizdlg::ClearShown();
    wizdlg::ClearAnswers();
    window = std::make_unique<TfmMain>(dir.path());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  void TearDown() override {
    window.reset();
    SetDriverSetup({});
    emu.reset();
  }

  // A driver of the test's own on the same register.
  void Probe(TZelvox& d) {
    d.put_ConnectionType(6);
    d.put_ComputerName("127.0.0.1");
    d.put_TCPPort(emu->TcpPort());
    d.put_TCPConnectionTimeout(3000);
  }
  // Registers the register outside the wizard (a fiscal register to serve).
  void RegisterDirectly() {
    TZelvox d;
    Probe(d);
    TRegDevice dev(d);
    TRegParams r;
    r.FirstTime = true;
    r.INN = kINN;
    r.RNM = MakeRNM("1", kINN, kSerial);
    r.User = "ООО Ромашка";
    r.Address = "г. Москва, ул. Лесная, 5";
    r.PayPlace = "Магазин";
    r.Cashier = "Старший кассир";
    r.TaxSystem = Bit(tsOSN);
    r.WorkMode = r.WorkModeEx = r.Agent = 0;
    r.FFD = kFFD105;
    Register(dev, r);
    d.Disconnect();
  }

  QString LastMessage() { return wizdlg::Shown().empty() ? QString() : wizdlg::Shown().back().Text; }
  std::string Tape() { return ReadAll(tape); }
  // With ZEL_WIZARD_SHOTS set, a widget is saved there under the given name (docs screenshots).
  void Shot(QWidget* w, const char* name) {
    const QByteArray dirName = qgetenv("ZEL_WIZARD_SHOTS");
    if (!dirName.isEmpty()) w->grab().save(QString("%1/%2.png").arg(QString::fromLocal8Bit(dirName), name));
  }

  // Over TCP from the start to the work-type page, then the chosen work type.
  void ToWorkType(int row) {
    ASSERT_TRUE(On<TfmConnectDevice>());
    Next();
    ASSERT_TRUE(On<TfmSelectPortType>());
    Ctl<QListWidget>(Page<TfmSelectPortType>(), "lbPortType")->setCurrentRow(1);
    Next();
    ASSERT_TRUE(On<TfmTCPParams>());
    Ctl<QLineEdit>(Page<TfmTCPParams>(), "edtIP")->setText("127.0.0.1");
    Ctl<QLineEdit>(Page<TfmTCPParams>(), "edtPort")->setText(QString::number(emu->TcpPort()));
    Next();
    ASSERT_TRUE(On<TfmSelectWorkType>()) << LastMessage().toStdString();
    Ctl<QListWidget>(Page<TfmSelectWorkType>(), "lbWorkType")->setCurrentRow(row);
    Next();
  }
  // Through the state check once the OFD has taken every document.
  template <class T>
  void PassStateCheck() {
    ASSERT_TRUE(On<T>());
    auto* update = Ctl<QPushButton>(Page<T>(), "btnUpdate");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
          if (update->isEnabled()) update->click();
          return Button("btnNext")->isEnabled();
        },
        5000));
    Next();
  }

  QTemporaryDir dir;
  QString tape;
  std::unique_ptr<EmuProcess> emu;
  std::unique_ptr<TfmMain> window;
  QWidget* WizardWindow() override { return window.get(); }
};

TEST_F(ServicePages, SerialIsWrittenOnlyToARegisterWithoutOne) {
  Start(false, {"--serial", "none"});
  ToWorkType(0);
  PassStateCheck<TFmCheckStatusBeforeRegistration>();
  ASSERT_TRUE(On<TfmEnterSerial>()) << LastMessage().toStdString();
  auto* page = Page<TfmEnterSerial>();
  auto* serial = Ctl<QLineEdit>(page, "edtSerial");
  EXPECT_TRUE(serial->isEnabled());
  EXPECT_TRUE(Ctl<QLabel>(page, "lblEntered")->isHidden());
  wizdlg::ClearShown();
  Next();  // nothing typed: nothing written
  ASSERT_TRUE(On<TfmSelectClientType>());
  EXPECT_TRUE(wizdlg::Shown().empty());
  Back();
  ASSERT_TRUE(On<TfmEnterSerial>());

  serial->setText("0000");
  Next();
  EXPECT_TRUE(On<TfmEnterSerial>());
  EXPECT_TRUE(LastMessage().contains("\"0000\"")) << LastMessage().toStdString();

  serial->setText("12;34;0012345678");  // as a scanner sends it
  QTest::keyClick(serial, Qt::Key_Return);
  EXPECT_EQ(serial->text(), "0012345678");
  EXPECT_TRUE(On<TfmEnterSerial>()) << "Enter only takes the serial out of the scan";
  Next();
  ASSERT_TRUE(On<TfmSelectClientType>()) << LastMessage().toStdString();
  EXPECT_EQ(LastMessage(), "Заводской номер успешно введен!\r\nПерезагрузите устройство");
  {
    TZelvox d;
    Probe(d);
    ASSERT_EQ(d.ReadSerialNumber(), 0);
    EXPECT_EQ(d.get_SerialNumber(), "0012345678");
    d.Disconnect();
  }
  Back();
  ASSERT_TRUE(On<TfmEnterSerial>());
  EXPECT_FALSE(serial->isEnabled());
  EXPECT_EQ(serial->text(), "0012345678");
  EXPECT_FALSE(Ctl<QLabel>(page, "lblEntered")->isHidden());
}

TEST_F(ServicePages, ArchiveClosesOncePerPassAndItsX5ReportStaysSavable) {
  Start(true);
  RegisterDirectly();
  ToWorkType(4);
  PassStateCheck<TFmCheckStatusBeforeCloseFN>();
  ASSERT_TRUE(On<TfmBeforeCloseFN>());
  auto* before = Page<TfmBeforeCloseFN>();
  wizdlg::ClearShown();
  Next();
  EXPECT_TRUE(On<TfmBeforeCloseFN>());
  EXPECT_EQ(LastMessage(), "Введите имя и должность кассира");
  Ctl<QLineEdit>(before, "edtCashier")->setText("Кассир Петров");
  Next();
  ASSERT_TRUE(On<TfmCloseFN>()) << LastMessage().toStdString();
  auto* page = Page<TfmCloseFN>();
  auto* status = Ctl<QLabel>(page, "lblStatus");
  auto* save = Ctl<QPushButton>(page, "btnSaveX5");
  EXPECT_EQ(status->text(), "Архив ФН успешно закрыт ");
  EXPECT_FALSE(save->isHidden());
  EXPECT_FALSE(Ctl<QLineEdit>(page, "edtX5FactoryCode")->isHidden());

  // Shown again in the same pass: the outcome stays, nothing is closed again.
  Back();
  ASSERT_TRUE(On<TfmBeforeCloseFN>());
  Next();
  ASSERT_TRUE(On<TfmCloseFN>());
  EXPECT_EQ(status->text(), "Архив ФН успешно закрыт ");
  EXPECT_FALSE(save->isHidden());
  const std::string printed = Tape();
  const auto first = printed.find("ОТЧЕТ О ЗАКРЫТИИ ФН");
  ASSERT_NE(first, std::string::npos) << printed;
  EXPECT_EQ(printed.find("ОТЧЕТ О ЗАКРЫТИИ ФН", first + 1), std::string::npos) << "closed twice";

  Ctl<QLineEdit>(page, "edtX5FactoryCode")->setText(" 12 ");
  const QString file = dir.filePath("close.txt");
  wizdlg::PushFileName(file);
  save->click();
  const TX5CloseFNRec& x5 = page->Closing().X5;
  const QDate day(x5.DateTime.Year, x5.DateTime.Month, x5.DateTime.Day);
  EXPECT_EQ(wizdlg::LastProposedName(), day.toString("yyyyMMdd") + "_03_12_" + QString::fromStdString(kSerial) + ".txt");
  const std::string bytes = ReadAll(file);
  const std::string expectedHead = Lines1251({"Отчёт о закрытии архива", std::string(37, '='), "Тип документа: 3",
                                              "наименование пользователя: ООО Ромашка",
                                              "адрес: г. Москва, ул. Лесная, 5", "место расчетов: Магазин",
                                              "ИНН пользователя: " + kINN, "рег. номер ККТ: " + MakeRNM("1", kINN, kSerial),
                                              "зав. номер ККТ: " + kSerial, "версия ФФД: 2", "номер смены: " +
                                              std::to_string(x5.SessionNumber), "кассир: Старший кассир", "ИНН кассира: "});
  EXPECT_EQ(bytes.substr(0, expectedHead.size()), expectedHead);
  EXPECT_EQ(bytes, Lines1251(X5CloseReportLines(x5)));
  EXPECT_EQ(x5.DocNumber, 2);
  EXPECT_FALSE(x5.FiscalSign.empty());

  Next();
  EXPECT_TRUE(On<TfmSelectWorkType>());
}

TEST_F(ServicePages, SettlementReportIsRefusedOutsideFiscalModeAndPrintsInIt) {
  Start(false);
  ToWorkType(3);
  ASSERT_TRUE(On<TfmCalculationStateReport>());
  wizdlg::ClearShown();
  Next();
  EXPECT_TRUE(On<TfmCalculationStateReport>());
  ASSERT_FALSE(wizdlg::Shown().empty());
  EXPECT_TRUE(LastMessage().startsWith("Ошибка ")) << LastMessage().toStdString();
  EXPECT_EQ(Tape().find("ОТЧЕТ О ТЕКУЩЕМ СОСТОЯНИИ РАСЧЕТОВ"), std::string::npos);

  RegisterDirectly();
  Next();
  EXPECT_EQ(LastMessage(), "Отчет успешно распечатан");
  EXPECT_TRUE(On<TfmSelectWorkType>());
  EXPECT_NE(Tape().find("ОТЧЕТ О ТЕКУЩЕМ СОСТОЯНИИ РАСЧЕТОВ"), std::string::npos);
}

// The registration parameters as the chain prepares them (Windows-1251, CR LF).
std::string RegParamsFile(const std::string& rnm, const std::string& port) {
  return Lines1251({"наименование пользователя: ООО Ромашка", "Адрес: г. Москва, ул. Лесная, 5", "ИНН пользователя: " + kINN,
                    "рег. номер ККТ: " + rnm, "системы налогообложения: 2", "Признак банковского агента: 0",
                    "Признак банковского субагента: 0", "признак платежного агента: 1", "Признак платежного субагента: 0",
                    "автономный режим: 0", "признак АС БСО: 0", "признак шифрования: 1", "автоматический режим: 0",
                    "признак услуги: 1", "признак расчетов в интернете: 0", "признак лотереи: 0",
                    "признак развозной торговли: 1", "признак продажи подакцизных товаров: 1", "признак проведения игр: 0",
                    "признак платежный терминал: 0", "признак установки принтера в автомате: 0",
                    "место расчетов: Магазин", "наименование ОФД: ООО ОФД", "ИНН ОФД: 7704211201",
                    "Сервер ОФД: ofd.example.invalid", "Порт: " + port});
}

TEST_F(ServicePages, X5FlowFromTheParametersFileToTheRegistrationReportFile) {
  Start(true);
  ToWorkType(0);
  PassStateCheck<TFmCheckStatusBeforeRegistration>();
  ASSERT_TRUE(On<TfmEnterSerial>());
  auto* serial = Ctl<QLineEdit>(Page<TfmEnterSerial>(), "edtSerial");
  EXPECT_FALSE(serial->isEnabled());  // the register has its serial
  EXPECT_EQ(serial->text(), QString::fromStdString(kSerial));
  EXPECT_FALSE(Ctl<QLabel>(Page<TfmEnterSerial>(), "lblEntered")->isHidden());
  Next();

  // The register's parameters file.
  ASSERT_TRUE(On<TfmKKTParamsX5>()) << LastMessage().toStdString();
  auto* params = Page<TfmKKTParamsX5>();
  Ctl<QLineEdit>(params, "edtFactoryCode")->setText("12");
  Ctl<QLineEdit>(params, "edtAutomatNumber")->setText("A-17");
  Ctl<QComboBox>(params, "cbbModelFN")->setCurrentIndex(1);
  Next();  // the save dialog is cancelled: nothing written, the step stays
  EXPECT_TRUE(On<TfmKKTParamsX5>());
  const QString paramsFile = dir.filePath("params.txt");
  wizdlg::PushFileName(paramsFile);
  Next();
  ASSERT_TRUE(On<TfmOpenRegParamsX5>()) << LastMessage().toStdString();
  EXPECT_EQ(wizdlg::LastProposedName(),
            QDate::currentDate().toString("yyyyMMdd") + "_04_12_" + QString::fromStdString(kSerial) + ".txt");
  std::string fnSerial, model, modelNumber;
  {
    TZelvox d;
    Probe(d);
    ASSERT_EQ(d.FNGetSerial(), 0);
    fnSerial = d.get_SerialNumber();
    ASSERT_EQ(d.GetDeviceMetrics(), 0);
    model = d.get_UDescription();
    modelNumber = std::to_string(d.get_UModel());
    d.Disconnect();
  }
  EXPECT_EQ(ReadAll(paramsFile),
            Lines1251({"Параметры ФР", std::string(36, '='), "Код завода: 12", "зав. номер ККТ: " + kSerial,
                       "Модель ККТ: " + model, "зав. номер ФН: " + fnSerial,
                       "Модель ФН: ФН Шифровальное (криптографическое) средство защиты фискальных данных фискальный "
                       "накопитель ФН-1.05",
                       "Версия модели: " + modelNumber, "Номер автомата: A-17", "Производитель: Кордел"}));

  // A faulty file changes nothing; the good one is taken.
  const std::string rnm = MakeRNM("0000000001", kINN, kSerial);
  const QString bad = dir.filePath("bad.txt"), good = dir.filePath("good.txt");
  WriteAll(bad, RegParamsFile(rnm, "70000"));
  WriteAll(good, RegParamsFile(rnm, "7779"));
  wizdlg::ClearShown();
  wizdlg::PushFileName(bad);
  Next();
  EXPECT_TRUE(On<TfmOpenRegParamsX5>());
  EXPECT_FALSE(LastMessage().isEmpty());
  EXPECT_TRUE(Controller().RegParams.User.empty()) << "a faulty file must not fill the record";
  wizdlg::ClearShown();
  wizdlg::PushFileName(good);
  Next();
  ASSERT_TRUE(On<TfmRegParamsX5>()) << LastMessage().toStdString();
  EXPECT_TRUE(wizdlg::Shown().empty()) << "a right RNM asks nothing";

  // Cashier and FFD version.
  auto* reg = Page<TfmRegParamsX5>();
  EXPECT_TRUE(Ctl<QComboBox>(reg, "cbbReasonCode")->isHidden());  // a new registration
  Next();
  EXPECT_EQ(LastMessage(), "Введите ФИО кассира!");
  Ctl<QLineEdit>(reg, "edtCashierName")->setText("Иванов И.И.");
  Ctl<QLineEdit>(reg, "edtCashierPosition")->setText("Кассир");
  Ctl<QLineEdit>(reg, "edtCashierINN")->setText("12345678901");
  Next();
  EXPECT_EQ(LastMessage(), "Некорректный ИНН кассира!");
  Ctl<QLineEdit>(reg, "edtCashierINN")->clear();
  Ctl<QComboBox>(reg, "cbbFFD")->setCurrentIndex(kFFD105);
  Next();

  // Preview, registration, result.
  ASSERT_TRUE(On<TfmFiscalizationBefore>()) << LastMessage().toStdString();
  auto* preview = Ctl<QPlainTextEdit>(Page<TfmFiscalizationBefore>(), "memReport");
  EXPECT_EQ(preview->lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_TRUE(preview->toPlainText().contains("Кассир:                 : Кассир Иванов И.И.")) << preview->toPlainText().toStdString();
  Shot(window.get(), "tamarex-report-preview");
  Next();
  ASSERT_TRUE(On<TfmFiscalizationInfo>()) << LastMessage().toStdString();
  auto* info = Page<TfmFiscalizationInfo>();
  const TRegParams& r = Controller().RegParams;
  EXPECT_EQ(r.DocType, kX5DocRegistration);
  EXPECT_EQ(r.WorkModeEx, Bit(wmxExcise)) << "derived from the file's signs";
  const std::vector<std::string>& lines = info->Lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(Ctl<QPlainTextEdit>(info, "memReport")->toPlainText().split('\n').size(), static_cast<int>(lines.size()));
  for (const auto& l : lines) EXPECT_LE(QString::fromStdString(l).size(), 48) << l;  // the register's font 1
  Shot(window.get(), "tamarex-report-result");

  // The X5 registration report file, byte for byte.
  const QString x5File = dir.filePath("x5report.txt");
  wizdlg::PushFileName(x5File);
  Ctl<QPushButton>(info, "btnSaveX5")->click();
  const QDate day(r.DateTime.Year, r.DateTime.Month, r.DateTime.Day);
  EXPECT_EQ(wizdlg::LastProposedName(), day.toString("yyyyMMdd") + "_01_12_" + QString::fromStdString(kSerial) + ".txt");
  const std::string stamp = FormatDateTime(r.DateTime);
  EXPECT_EQ(ReadAll(x5File),
            Lines1251({"Отчёт о регистрации", std::string(36, '='), "наименование пользователя: ООО Ромашка",
                       "адрес: г. Москва, ул. Лесная, 5", "ИНН пользователя: " + kINN, "рег. номер ККТ: " + rnm,
                       "зав. номер ККТ: " + kSerial, "системы налогообложения: 2", "признак лотереи: 0",
                       "признак проведения игр: 0", "признак банковского агента: 0", "признак банковского субагента: 0",
                       "признак платежного агента: 1", "признак платежного субагента: 0", "признак развозной торговли: 1",
                       "признак платежный терминал: 0", "признак продажи подакцизных товаров: 1", "Тип документа: 1",
                       "автономный режим: 0", "признак услуги: 1", "признак шифрования: 1",
                       "признак расчетов в интернете: 0", "автоматический режим: 0", "номер автомата: A-17",
                       "ИНН ОФД: 7704211201", "признак установки принтера в автомате: 0", "признак АС БСО: 0",
                       "место расчетов: Магазин", std::string("адрес сайта ФНС: ") + kX5TaxOfficeURL,
                       std::string("адрес электронной почты отправителя чека: ") + kX5SenderEmail,
                       "наименование ОФД: ООО ОФД", "версия ККТ: " + r.VersionKKT, "версия ФФД ККТ: 2", "версия ФФД: 2",
                       "зав. номер ФН: " + fnSerial, "дата, время: " + stamp,
                       "порядковый номер ФД: " + std::to_string(r.DocNumber), "ФП документа: " + r.FiscalSign,
                       "кассир: Кассир Иванов И.И."}));

  // Printed on the register and saved as text.
  Ctl<QPushButton>(info, "btnPrint")->click();
  const std::string printed = Tape();
  EXPECT_NE(printed.find("ОТЧЕТ О РЕГИСТРАЦИИ"), std::string::npos) << printed;
  EXPECT_NE(printed.find("Кассир Иванов И.И."), std::string::npos) << printed;
  const QString text = dir.filePath("Fiscalization.txt");
  wizdlg::PushFileName(dir.filePath("Fiscalization"));  // the extension is added
  Ctl<QPushButton>(info, "btnSave")->click();
  EXPECT_EQ(wizdlg::LastProposedName(), "Fiscalization.txt");
  std::string expectedText;
  for (const auto& l : lines) expectedText += l + "\n";
  EXPECT_EQ(ReadAll(text), expectedText);

  // The saved report as the operator opens it.
  QPlainTextEdit viewer;
  viewer.setWindowTitle("Fiscalization.txt");
  viewer.setLineWrapMode(QPlainTextEdit::NoWrap);
  viewer.setFont(Ctl<QPlainTextEdit>(info, "memReport")->font());
  viewer.setPlainText(QString::fromStdString(ReadAll(text)));
  viewer.resize(520, 640);
  viewer.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
  Shot(&viewer, "tamarex-report-saved");

  Next();
  EXPECT_TRUE(On<TfmFinalMessage>());
}

TEST(ReportWidth, AWidthBelowOneFallsBackToForty) {
  struct Case {
    int PrintWidth, CharWidth, Expected;
  };
  for (const Case& c : {Case{576, 12, 48}, Case{576, 0, 40}, Case{0, 12, 40}, Case{5, 12, 40}, Case{576, -3, 40}})
    EXPECT_EQ(CharsPerLine(c.PrintWidth, c.CharWidth), c.Expected) << c.PrintWidth << "/" << c.CharWidth;
}

}  // namespace
}  // namespace zel
