// Receipts with items, payments and change; non-resettable totals.
#include "emulator/model/Registers.h"
#include "emulator/model/StateFile.h"
#include "tests/emulator/model/DeviceFixture.h"

namespace zel::emu::test {
namespace {

class SaleTest : public DeviceTest {
 protected:
  int Item(int sign, std::int64_t price, double quantity) {
    return Call("FNOperation", {{"CheckType", std::int64_t{sign}}, {"Price", price}, {"Quantity", quantity},
                                {"Department", std::int64_t{1}}, {"StringForPrinting", std::string("Товар")},
                                {"Password", kCashier}})
        .error;
  }
  TReply Close(std::int64_t cash, std::int64_t card = 0) {
    return Call("FNCloseCheckEx", {{"Summ1", cash}, {"Summ2", card}, {"Password", kCashier}});
  }
  std::int64_t CashReg(int n) { return model_->Snapshot().cashRegisters[static_cast<std::size_t>(n)]; }
};

TEST_F(SaleTest, SaleWithChangeThenPurchaseLimitedByTheDrawer) {
  Register();
  EXPECT_EQ(Item(1, 10000, 2.5), 62) << "no receipt without a shift";
  ASSERT_EQ(Call("OpenSession").error, 0);
  ASSERT_EQ(Item(1, 10000, 2.5), 0);
  EXPECT_EQ(Mode(), 8);
  EXPECT_EQ(Item(3, 100, 1), 115) << "a sale receipt takes no purchase item";
  EXPECT_EQ(Item(5, 100, 1), 51);
  EXPECT_EQ(Close(20000, 4999).error, 51) << "not paid in full";
  EXPECT_EQ(Close(0, 30000).error, 51) << "no change from a card payment";
  const TReply closed = Close(30000);
  ASSERT_EQ(closed.error, 0);
  EXPECT_EQ(closed.Int("Change"), 5000);
  EXPECT_EQ(closed.Int("ReceiptNumber"), 1);
  EXPECT_EQ(Mode(), 2);
  EXPECT_EQ(CashReg(reg::kCashInDrawer), 25000);
  EXPECT_EQ(CashReg(reg::kSaleBase), 25000);

  const TReply doc = Call("FNFindDocument", {{"DocumentNumber", closed.Int("DocumentNumber")}});
  ASSERT_EQ(doc.error, 0);
  EXPECT_EQ(doc.Int("DocumentType"), 3);
  EXPECT_EQ(doc.Int("OperationType"), 1);
  EXPECT_EQ(doc.Int("Summ1"), 25000);
  EXPECT_EQ(doc.Int("SessionNumber"), 1);
  EXPECT_EQ(doc.Int("FiscalSign"), closed.Int("FiscalSign"));

  // a purchase paid in cash cannot take more than the drawer holds
  ASSERT_EQ(Item(3, 30000, 1), 0);
  EXPECT_EQ(Close(30000).error, 51);
  ASSERT_EQ(Close(0, 30000).error, 0);
  EXPECT_EQ(CashReg(reg::kCashInDrawer), 25000);
  EXPECT_NE(TapeText().find("СДАЧА 50.00"), std::string::npos);

  // totals by kind, and by payment type, survive a restart
  const TReply totals = Call("FNGetNonClearableSumm");
  EXPECT_EQ(totals.Int("Summ1"), 25000);
  EXPECT_EQ(totals.Int("Summ3"), 30000);
  model_->Restore(LoadStateText(SaveStateText(model_->Snapshot())));
  const TReply purchases = Call("FNGetNonClearableSummEx", {{"CheckType", std::int64_t{3}}});
  EXPECT_EQ(purchases.Int("Summ1"), 0);
  EXPECT_EQ(purchases.Int("Summ2"), 30000);
  EXPECT_EQ(Call("FNGetNonClearableSummEx", {{"CheckType", std::int64_t{6}}}).error, 51);
  const TReply reg = Call("GetCashRegEx", {{"RegisterNumber", std::int64_t{4096 + 2 * 16 + 1}}});
  EXPECT_EQ(reg.Int("ContentsOfCashRegister"), 30000);
  EXPECT_EQ(reg.Str("NameCashRegEx"), "Необнуляемая сумма расходов, вид оплаты 2");
  EXPECT_EQ(Call("GetCashRegEx", {{"RegisterNumber", std::int64_t{4095}}}).error, 51);
}

TEST_F(SaleTest, StorageFiguresAndInterfaceSettings) {
  EXPECT_EQ(Call("FNGetDocumentSize").error, 8);
  model_->HoldOfd(true);
  Register();
  EXPECT_GT(Call("FNGetDocumentSize").Int("DocumentSize"), 0);
  EXPECT_EQ(Call("FNGetUnconfirmedDocCount").Int("DocumentCount"), 1);
  EXPECT_EQ(Call("FNGetFreeMemoryResource").Int("FN30DayResource"), 999);
  ASSERT_EQ(Call("SetExchangeParam", {{"PortNumber", std::int64_t{2}}, {"BaudRate", std::int64_t{9}},
                                      {"Timeout", std::int64_t{500}}, {"TCPPort", std::int64_t{7000}}}).error, 0);
  EXPECT_EQ(Call("SetExchangeParam", {{"PortNumber", std::int64_t{3}}}).error, 51);
  EXPECT_EQ(Call("SetExchangeParam", {{"PortNumber", std::int64_t{0}}, {"Password", kCashier}}).error, 79);
  const TReply tcp = Call("GetExchangeParam", {{"PortNumber", std::int64_t{2}}});
  EXPECT_EQ(tcp.Int("BaudRate"), 9);
  EXPECT_EQ(tcp.Int("Timeout"), 500);
  EXPECT_EQ(tcp.Int("TCPPort"), 7000);
}

}  // namespace
}  // namespace zel::emu::test
