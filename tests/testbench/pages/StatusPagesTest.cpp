// "Полное состояние", "Запросы" and "Состояние ФН" against the virtual register.
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QMessageBox>

#include "tests/testbench/pages/PageFixture.h"
#include "testbench/core/Dialogs.h"
#include "testbench/core/PageCatalogue.h"
#include "testbench/core/pages/status/DeviceStatusPage.h"
#include "testbench/core/pages/status/ExtendedServicePage.h"
#include "testbench/core/pages/status/TagTree.h"
#include "testbench/core/pages/status/FullStatusPage.h"
#include "testbench/fiscal/pages/FNPage.h"

namespace zel {
namespace {

constexpr std::uint8_t kGetCashReg = 0x1A, kGetTableStruct = 0x2D, kReadSerialNumber = 0x0F;

using FullStatusTest = PageFixture;

TEST_F(FullStatusTest, WalksTablesUntil93AndStillRunsTheRegisters) {
  Open<TfmFullStatus>();
  Click("btnGetStatus");
  const QString text = MemoText();
  int tableWalks = 0;
  bool ended93 = false;
  for (std::size_t i = 0; i < sent.size(); ++i)
    if (sent[i][0] == kGetTableStruct) {
      ++tableWalks;
      ended93 = answers[i].size() >= 2 && answers[i][1] == 93;
    }
  EXPECT_GT(tableWalks, 1);
  EXPECT_TRUE(ended93) << "the table walk ends on the register's 93";
  EXPECT_TRUE(text.contains("ТАБЛИЦА 1. "));
  EXPECT_TRUE(text.contains(" ДЕНЕЖНЫЕ РЕГИСТРЫ:"));
  EXPECT_TRUE(text.contains(" 255."));
  EXPECT_TRUE(text.contains(" ОПЕРАЦИОННЫЕ РЕГИСТРЫ:"));
  EXPECT_FALSE(text.contains("<Прервано"));
  EXPECT_TRUE(Button("btnGetStatus")->isEnabled());
  EXPECT_FALSE(Button("btnStop")->isEnabled());
}

TEST_F(FullStatusTest, StopDuringCashRegistersEndsTheReport) {
  Open<TfmFullStatus>();
  int cashRegs = 0;
  hook = [&](const Bytes& c) {
    if (c[0] == kGetCashReg && ++cashRegs == 5) {
      EXPECT_TRUE(Button("btnStop")->isEnabled());
      Click("btnStop");
    }
    return Bytes{};
  };
  Click("btnGetStatus");
  const QStringList lines = MemoText().split('\n');
  EXPECT_EQ(lines.last(), "<Прервано пользователем>");
  EXPECT_FALSE(MemoText().contains("ОПЕРАЦИОННЫЕ РЕГИСТРЫ:"));
  EXPECT_EQ(cashRegs, 5);
  EXPECT_TRUE(Button("btnGetStatus")->isEnabled());
}

using DeviceStatusTest = PageFixture;

TEST_F(DeviceStatusTest, ReportsAndNoStaleSerialAfterAFailedRead) {
  Open<TfmDeviceStatus>();
  Click("btnLongStatus");
  EXPECT_TRUE(MemoText().contains("Запрос состояния:"));
  EXPECT_TRUE(MemoText().contains("Информация о ключах"));
  Click("btnModelParams");
  EXPECT_TRUE(MemoText().contains("Параметры Модели:"));
  Click("btnErrorDescriptions");
  EXPECT_TRUE(MemoText().contains(" 00: "));

  Driver().put_SerialNumber("0012345678");
  ASSERT_EQ(Driver().SetSerialNumber(), 0) << Driver().get_ResultCodeDescription();
  Driver().put_SerialNumber("");
  Click("btnSerialNumber");
  const QString good = MemoText();
  EXPECT_TRUE(good.contains("0012345678")) << good.toStdString();
  ASSERT_FALSE(good.contains("не введен")) << good.toStdString();
  hook = [](const Bytes& c) { return c[0] == kReadSerialNumber ? Bytes{kReadSerialNumber, 0x8C} : Bytes{}; };
  Click("btnSerialNumber");
  EXPECT_TRUE(MemoText().contains("не введен")) << MemoText().toStdString();
}

using FNPageTest = PageFixture;

TEST_F(FNPageTest, StatusFindAndKeyUpdate) {
  ASSERT_NE(FindPageFactory("TfmFN"), nullptr) << "the page registers itself with the catalogue";
  Open<TfmFN>();
  Click("btnFNGetStatus");
  EXPECT_TRUE(MemoText().contains("Состояние фазы жизни")) << MemoText().toStdString();
  EXPECT_TRUE(MemoText().contains("Номер последнего ФД"));
  // Saved as UTF-8 text, line for line.
  QTemporaryDir dir;
  dialogs::PushFileName(dir.filePath("fn.txt"));
  Click("btnSaveAs");
  QFile saved(dir.filePath("fn.txt"));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(saved.readAll()), MemoText() + "\n");
  Click("btnFNGetFreeMemoryResource");
  EXPECT_TRUE(MemoText().contains("Ресурс данных 5 летнего хранения"));
  Click("btnFNUpdateOKPKeys");
  EXPECT_TRUE(MemoText().contains("Результат обновления ключей ОКП: ")) << MemoText().toStdString();
  const Bytes expected{0xFE, 0x1A, 0x6E, 0x3B, 0xD9, 0x47};
  EXPECT_EQ(sent.back(), expected);
}

// A registered register with one sale: document 3 is the receipt.
TEST_F(FNPageTest, FoundReceiptAndItsQRCode) {
  TDriver& d = Driver();
  const std::vector<std::pair<const char*, std::vector<std::pair<const char*, const char*>>>> steps = {
      {"FNBeginRegistrationReport", {{"ReportTypeInt", "0"}}},
      {"FNBuildRegistrationReport",
       {{"INN", "7707083893"}, {"KKTRegistrationNumber", "0000000001012345"}, {"TaxType", "1"}, {"WorkMode", "0"}}},
      {"FNBeginOpenSession", {}},
      {"OpenSession", {}},
      {"FNOperation", {{"CheckType", "1"}, {"Price", "100.50"}, {"Quantity", "2"}, {"StringForPrinting", "Товар"}}},
      {"FNCloseCheckEx", {{"Summ1", "500"}, {"StringForPrinting", ""}}},
  };
  for (const auto& [method, in] : steps) {
    for (const auto& [name, value] : in) ASSERT_TRUE(d.SetPropertyText(name, value)) << name;
    ASSERT_EQ(d.Call(method), 0) << method << ": " << d.get_ResultCodeDescription();
  }
  Open<TfmFN>();
  page->findChild<QLineEdit*>("edtDocumentNumber")->setText("3");
  Click("btnFNFindDocument");
  EXPECT_TRUE(MemoText().contains("Тип фиск. документа")) << MemoText().toStdString();
  EXPECT_TRUE(MemoText().contains("Сумма операции          : 201.00")) << MemoText().toStdString();
  Click("btnFNReadFiscalBarcode");
  EXPECT_TRUE(MemoText().contains("&s=201.00&fn=")) << MemoText().toStdString();
  EXPECT_TRUE(MemoText().contains("&i=3&")) << MemoText().toStdString();
  page->findChild<QLineEdit*>("edtDocumentNumber")->setText("1");
  Click("btnFNReadFiscalBarcode");
  EXPECT_EQ(d.get_ResultCode(), 8) << "the registration report has no QR code";
  EXPECT_TRUE(MemoText().isEmpty());
}

TEST_F(FNPageTest, CancelledCloseFiscalModeSendsNothing) {
  Open<TfmFN>();
  Click("btnFNGetStatus");
  const QString before = MemoText();
  sent.clear();
  dialogs::PushAnswer(QMessageBox::Cancel);
  Click("btnFNCloseFiscalMode");
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(MemoText(), before);
}

TEST_F(FNPageTest, BadDocumentNumberStopsBeforeTheDriver) {
  Open<TfmFN>();
  page->findChild<QLineEdit*>("edtDocumentNumber")->setText("1.5");
  sent.clear();
  dialogs::ClearShown();
  Click("btnFNFindDocument");
  EXPECT_TRUE(sent.empty());
  ASSERT_FALSE(dialogs::Shown().empty());
  EXPECT_TRUE(dialogs::Shown().back().Text.contains("edtDocumentNumber"));
}

using ExtendedServiceTest = PageFixture;

TEST_F(ExtendedServiceTest, TagTreeRulesAndNoPartialStructure) {
  auto* p = Open<TfmExtendedService>();
  dialogs::ClearShown();
  p->AddNode({1224, TTagKind::Text, 0, "x"});
  ASSERT_EQ(dialogs::Shown().size(), 1u);
  EXPECT_EQ(dialogs::Shown().back().Text, "Only STLV tag is root.");
  p->AddNode({1224, TTagKind::STLV, 0, {}});
  p->AddNode({1225, TTagKind::Text, 0, "ООО Поставщик"});
  p->AddNode({1171, TTagKind::Text, 0, "+79990000000"});
  EXPECT_EQ(p->Tree()->topLevelItem(0)->child(0)->text(0), "1225 [Text]: ООО Поставщик");

  constexpr std::uint8_t kSendTLV[] = {0xFF, 0x0C};
  auto tlvSends = [&] {
    int n = 0;
    for (const Bytes& c : sent) n += c.size() > 1 && c[0] == kSendTLV[0] && c[1] == kSendTLV[1];
    return n;
  };
  // A tag the driver refuses (its number does not fit) stops the sending.
  p->AddNode({99999999, TTagKind::Byte, 1, {}});
  sent.clear();
  Click("btnSendTags");
  EXPECT_EQ(tlvSends(), 0);
  EXPECT_NE(Driver().get_ResultCode(), 0);

  Click("btnClearTags");
  p->AddNode({1224, TTagKind::STLV, 0, {}});
  p->AddNode({1225, TTagKind::Text, 0, "ООО Поставщик"});
  sent.clear();
  Click("btnSendTags");
  EXPECT_EQ(tlvSends(), 1);
}

TEST_F(ExtendedServiceTest, ServiceSwitchKeepsThePasswordAndOSUAnswer) {
  Open<TfmExtendedService>();
  Driver().put_Password(30);
  Click("btnFNTimeout30");
  EXPECT_EQ(Driver().get_Password(), 30);
  Click("btnOSUSupport");
  EXPECT_FALSE(page->findChild<QLineEdit*>("edtOSUSupport")->text().isEmpty());

  const QString text = QString("Длинная строка ").repeated(10);
  page->findChild<QPlainTextEdit*>("memLongData")->setPlainText(text);
  Click("btnSendLongData");
  EXPECT_EQ(MemoText("memLongAnswer"), text);
}

}  // namespace
}  // namespace zel
