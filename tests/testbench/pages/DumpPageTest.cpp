// "Дамп" and its viewer against the virtual register.
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest/QTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "emulator/model/StateFile.h"
#include "tests/testbench/pages/PageFixture.h"
#include "testbench/core/pages/tables/DumpPage.h"
#include "testbench/core/pages/tables/DumpViewer.h"

namespace zel {
namespace {

TEST(DumpViewerTest, RowsOfSixteenUnderTheirOffsets) {
  struct Case {
    std::size_t Size;
    int Rows;
    QString LastOffset;
    int FilledInLastRow;
  };
  for (const Case& c : {Case{0, 1, "000000", 0}, Case{16, 1, "000000", 16}, Case{17, 2, "000010", 1}}) {
    SCOPED_TRACE(c.Size);
    Bytes data(c.Size);
    for (std::size_t i = 0; i < c.Size; ++i) data[i] = static_cast<std::uint8_t>(0xF0 + i);
    TfmDump viewer(nullptr, data, {4, "04h"});
    QTableWidget* grid = viewer.Grid();
    ASSERT_EQ(grid->rowCount(), c.Rows);
    EXPECT_EQ(grid->columnCount(), 17);
    const int last = c.Rows - 1;
    EXPECT_EQ(grid->item(last, 0)->text(), c.LastOffset);
    int filled = 0;
    for (int col = 1; col <= 16; ++col) filled += grid->item(last, col)->text().isEmpty() ? 0 : 1;
    EXPECT_EQ(filled, c.FilledInLastRow);
  }
  TfmDump viewer(nullptr, Bytes(17, 0xAB), {4, "04h"});
  EXPECT_EQ(viewer.Grid()->item(1, 1)->text(), "AB");
  EXPECT_EQ(viewer.Grid()->horizontalHeaderItem(16)->text(), "0F");
}

class DumpPageTest : public PageFixture {
 protected:
  TfmReadDump* OpenNonVolatile() {
    auto* p = Open<TfmReadDump>();
    page->findChild<QComboBox*>("cbDeviceCode")->setCurrentIndex(4);  // 04h
    return p;
  }
};

TEST_F(DumpPageTest, DownloadsTheWholeAreaOnAWorker) {
  TfmReadDump* p = OpenNonVolatile();
  const std::string state = emu::SaveStateText(model.Snapshot());
  Click("btnDownload");
  EXPECT_FALSE(Button("btnDownload")->isEnabled());
  QTRY_VERIFY_WITH_TIMEOUT(!p->Downloading() && Button("btnDownload")->isEnabled(), 10000);
  EXPECT_EQ(std::string(p->Data().begin(), p->Data().end()), state);
  EXPECT_FALSE(Button("btnStop")->isEnabled());
  EXPECT_EQ(sent.back()[0], 0x03) << "the stream is ended after the last block";
}

TEST_F(DumpPageTest, StopKeepsButtonsOffUntilTheWorkerEnds) {
  TfmReadDump* p = OpenNonVolatile();
  std::atomic<bool> release{false};
  std::atomic<int> blocks{0};
  hook = [&](const Bytes& c) {
    if (c[0] == 0x02 && ++blocks == 2)
      for (int i = 0; i < 500 && !release; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return Bytes{};
  };
  Click("btnDownload");
  QTRY_VERIFY_WITH_TIMEOUT(blocks >= 2, 5000);
  Click("btnStop");
  QTest::qWait(50);
  EXPECT_TRUE(p->Downloading());
  EXPECT_FALSE(Button("btnDownload")->isEnabled()) << "the worker still writes the buffer";
  EXPECT_FALSE(Button("btnView")->isEnabled());
  release = true;
  QTRY_VERIFY_WITH_TIMEOUT(!p->Downloading() && Button("btnView")->isEnabled(), 10000);
  EXPECT_EQ(p->Data().size(), 64u);
}

TEST_F(DumpPageTest, SingleBlockAndUnknownArea) {
  OpenNonVolatile();
  Click("btnDampRequest");
  EXPECT_NE(page->findChild<QLineEdit*>("edtBlockCount")->text(), "");
  Click("btnGetData");
  EXPECT_EQ(page->findChild<QLineEdit*>("edtBlockNumber")->text(), "1");
  EXPECT_EQ(MemoText().split('\n').size(), 2) << "32 bytes in slices of 16";
  Click("btnInterruptDataStream");
  Click("btnGetData");
  EXPECT_EQ(page->findChild<QLineEdit*>("edtBlockNumber")->text(), "");
  page->findChild<QComboBox*>("cbDeviceCode")->setCurrentIndex(6);
  Click("btnDampRequest");
  EXPECT_EQ(page->findChild<QLineEdit*>("edtBlockCount")->text(), "");
}

}  // namespace
}  // namespace zel
