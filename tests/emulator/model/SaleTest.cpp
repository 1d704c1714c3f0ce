// Receipts with items, payments and change. The command catalogue has no
// rows for these operations yet, so the test drives the model by name.
#include "emulator/model/Registers.h"
#include "tests/emulator/model/DeviceFixture.h"

namespace zel::emu::test {
namespace {

class SaleTest : public DeviceTest {
 protected:
  int Run(const std::string& op, TFieldValues in, TFieldValues* out = nullptr) {
    if (!in.Has("Password")) in.Set("Password", kCashier);
    TFieldValues ignored;
    return model_->Execute(op, in, out ? *out : ignored);
  }
  TFieldValues Item(int sign, std::int64_t price, double quantity) {
    TFieldValues v;
    v.Set("CheckType", sign);
    v.Set("Price", price);
    v.Set("Quantity", quantity);
    v.Set("StringForPrinting", "Товар");
    return v;
  }
  TFieldValues Pay(std::int64_t cash, std::int64_t card = 0) {
    TFieldValues v;
    v.Set("Summ1", cash);
    v.Set("Summ2", card);
    return v;
  }
  std::int64_t CashReg(int n) { return model_->Snapshot().cashRegisters[static_cast<std::size_t>(n)]; }
};

TEST_F(SaleTest, SaleWithChangeThenPurchaseLimitedByTheDrawer) {
  Register();
  EXPECT_EQ(Run("FNOperation", Item(1, 10000, 2.5)), 62) << "no receipt without a shift";
  ASSERT_EQ(Call("OpenSession").error, 0);
  ASSERT_EQ(Run("FNOperation", Item(1, 10000, 2.5)), 0);
  EXPECT_EQ(Mode(), 8);
  EXPECT_EQ(Run("FNOperation", Item(3, 100, 1)), 115) << "a sale receipt takes no purchase item";
  EXPECT_EQ(Run("FNCloseCheckEx", Pay(20000, 4999)), 51) << "not paid in full";
  EXPECT_EQ(Run("FNCloseCheckEx", Pay(0, 30000)), 51) << "no change from a card payment";
  TFieldValues closed;
  ASSERT_EQ(Run("FNCloseCheckEx", Pay(30000), &closed), 0);
  EXPECT_EQ(closed.Int("Change"), 5000);
  EXPECT_EQ(Mode(), 2);
  EXPECT_EQ(CashReg(reg::kCashInDrawer), 25000);
  EXPECT_EQ(CashReg(reg::kSaleBase), 25000);

  const TReply found = Call("FNGetStatus");
  EXPECT_EQ(found.Int("DocumentNumber"), closed.Int("DocumentNumber"));
  EXPECT_EQ(Call("FNGetCurrentSessionParams").Int("ReceiptNumber"), 1);
  const TReply doc = Call("FNFindDocument", {{"DocumentNumber", closed.Int("DocumentNumber")}});
  ASSERT_EQ(doc.error, 0);
  EXPECT_EQ(doc.Int("DocumentType"), 3);
  EXPECT_EQ(doc.Int("OperationType"), 1);
  EXPECT_EQ(doc.Int("Summ1"), 25000);
  EXPECT_EQ(doc.Int("SessionNumber"), 1);
  EXPECT_EQ(doc.Int("FiscalSign"), closed.Int("FiscalSign"));

  // a purchase paid in cash cannot take more than the drawer holds
  ASSERT_EQ(Run("FNOperation", Item(3, 30000, 1)), 0);
  EXPECT_EQ(Run("FNCloseCheckEx", Pay(30000)), 51);
  ASSERT_EQ(Run("FNCloseCheckEx", Pay(0, 30000)), 0);
  EXPECT_EQ(CashReg(reg::kCashInDrawer), 25000);
  EXPECT_NE(TapeText().find("СДАЧА 50.00"), std::string::npos);
}

}  // namespace
}  // namespace zel::emu::test
