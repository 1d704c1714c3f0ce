// "Таблицы" and "Команда" against the virtual register.
#include <QFile>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <set>

#include "tests/testbench/pages/PageFixture.h"
#include "testbench/core/pages/tables/CommandPage.h"
#include "testbench/core/pages/tables/TablePage.h"

namespace zel {
namespace {

using CommandPageTest = PageFixture;

TEST_F(CommandPageTest, ScanListsExactlyTheCodesAnswered55AndNever16) {
  Open<TfmCommand>();
  Click("btnUnsupported");
  std::set<int> sentCodes;
  QStringList expected{"Неподдерживаемые команды"};
  for (std::size_t i = 0; i < sent.size(); ++i) {
    ASSERT_EQ(sent[i].size(), 1u);
    sentCodes.insert(sent[i][0]);
    if (answers[i].size() >= 2 && answers[i][1] == 55) expected << QString::asprintf("%.2x", sent[i][0]);
  }
  EXPECT_EQ(sentCodes.count(0x16), 0u);
  EXPECT_EQ(sentCodes.size(), 255u);
  EXPECT_GT(expected.size(), 10);
  EXPECT_EQ(MemoText().split('\n'), expected);
}

TEST_F(CommandPageTest, LinkFailureEndsTheScanWithTheSignedCode) {
  Open<TfmCommand>();
  Driver().put_Timeout(50);
  hook = [](const Bytes& c) { return c[0] == 0x05 ? Bytes{0x04} : Bytes{}; };  // an answer under another code
  Click("btnUnsupported");
  const QStringList lines = MemoText().split('\n');
  EXPECT_TRUE(lines.last().startsWith("Error: -")) << lines.last().toStdString();
  EXPECT_FALSE(MemoText().contains("FFFF"));
  EXPECT_EQ(sent.back()[0], 0x05);
}

TEST_F(CommandPageTest, RawCommandShowsTheAnswer) {
  Open<TfmCommand>();
  page->findChild<QLineEdit*>("edtCommand")->setText("13 1e 00 00 00");
  Click("btnSend");
  EXPECT_EQ(page->findChild<QLineEdit*>("edtAnswer")->text().left(5), "13 00");
}

class TablePageTest : public PageFixture {
 protected:
  void SetField(int table, int row, int field, const QString& value) {
    page->findChild<QSpinBox*>("seTableNumber")->setValue(table);
    page->findChild<QSpinBox*>("seRowNumber")->setValue(row);
    page->findChild<QSpinBox*>("seFieldNumber")->setValue(field);
    page->findChild<QLineEdit*>("edtValue")->setText(value);
    Click("btnWriteTable");
    ASSERT_EQ(Driver().get_ResultCode(), 0) << table << "." << row << "." << field;
  }
  QByteArray Export(const QString& file) {
    page->findChild<QLineEdit*>("edtFileName")->setText(file);
    Click("btnExportTables");
    EXPECT_EQ(Driver().get_ResultCode(), 0) << Driver().get_ResultCodeDescription();
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
  }
};

TEST_F(TablePageTest, ExportThenImportRestoresEveryChangedField) {
  Open<TfmTable>();
  QTemporaryDir dir;
  // Text with the separator and a quote must survive the file too.
  SetField(18, 1, 7, "ООО \"Ромашка\"; склад");
  const QByteArray saved = Export(dir.filePath("saved.csv"));
  ASSERT_TRUE(saved.contains("\"ООО \"\"Ромашка\"\"; склад\""));

  // Change a number field and text fields, then load the saved file back.
  SetField(1, 1, 1, "0");
  SetField(18, 1, 7, "ИП Иванов");
  Click("btnReadTable");
  EXPECT_EQ(page->findChild<QLineEdit*>("edtValue")->text(), "ИП Иванов");
  const QByteArray changed = Export(dir.filePath("changed.csv"));
  ASSERT_NE(changed, saved);

  page->findChild<QLineEdit*>("edtFileName")->setText(dir.filePath("saved.csv"));
  Click("btnImportTables");
  EXPECT_EQ(Driver().get_ResultCode(), 0) << Driver().get_ResultCodeDescription();
  EXPECT_EQ(Export(dir.filePath("restored.csv")), saved);
}

TEST_F(TablePageTest, LineBreaksAndQuotesInTextsRoundTrip) {
  Open<TfmTable>();
  QTemporaryDir dir;
  TDriver& d = Driver();
  const std::string text = "a\r\nb;\"c\" ";
  d.put_TableNumber(4);
  d.put_RowNumber(2);
  d.put_FieldNumber(1);
  d.put_ValueOfFieldString(text);
  ASSERT_EQ(d.WriteTable(), 0);
  const QByteArray saved = Export(dir.filePath("saved.csv"));
  d.put_ValueOfFieldString("x");
  ASSERT_EQ(d.WriteTable(), 0);
  page->findChild<QLineEdit*>("edtFileName")->setText(dir.filePath("saved.csv"));
  Click("btnImportTables");
  ASSERT_EQ(d.get_ResultCode(), 0) << d.get_ResultCodeDescription();
  d.put_TableNumber(4);
  d.put_RowNumber(2);
  d.put_FieldNumber(1);
  ASSERT_EQ(d.ReadTable(), 0);
  EXPECT_EQ(d.get_ValueOfFieldString(), text);

  // A file cut inside a quote changes nothing.
  QFile cut(dir.filePath("cut.csv"));
  ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
  cut.write("Table;Row;Field;Name;Value\n4;2;1;\"Строка\";\"y\"\n4;3;1;\"Строка\";\"open");
  cut.close();
  page->findChild<QLineEdit*>("edtFileName")->setText(dir.filePath("cut.csv"));
  Click("btnImportTables");
  EXPECT_EQ(d.get_ResultCode(), -6);
  d.put_TableNumber(4);
  d.put_RowNumber(2);
  d.put_FieldNumber(1);
  ASSERT_EQ(d.ReadTable(), 0);
  EXPECT_EQ(d.get_ValueOfFieldString(), text);
}

}  // namespace
}  // namespace zel
