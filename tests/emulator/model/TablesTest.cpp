// Settings tables through ReadTable / WriteTable / GetTableStruct / GetFieldStruct.
#include "tests/emulator/model/DeviceFixture.h"

namespace zel::emu::test {
namespace {

class TablesTest : public DeviceTest {
 protected:
  zel::TFieldMap Cell(int t, int r, int f) {
    return {{"TableNumber", std::int64_t{t}}, {"RowNumber", std::int64_t{r}}, {"FieldNumber", std::int64_t{f}}};
  }
  TReply Write(int t, int r, int f, Bytes value, std::int64_t password = kAdmin) {
    auto m = Cell(t, r, f);
    m["FieldValue"] = std::move(value);
    m["Password"] = password;
    return Call("WriteTable", m);
  }
  Bytes Read(int t, int r, int f) {
    TReply reply = Call("ReadTable", Cell(t, r, f));
    EXPECT_EQ(reply.error, 0) << t << "/" << r << "/" << f;
    return reply.error == 0 ? std::get<Bytes>(reply.fields.at("FieldValue")) : Bytes{};
  }
};

TEST_F(TablesTest, WalkFindsEveryTableUpToTheFirstMissingNumber) {
  int last = 0;
  for (int t = 1; t < 255; ++t) {
    const TReply r = Call("GetTableStruct", {{"TableNumber", std::int64_t{t}}});
    if (r.error == 93) break;
    ASSERT_EQ(r.error, 0);
    EXPECT_FALSE(r.Str("TableName").empty());
    EXPECT_GE(r.Int("RowNumber"), 1);
    last = t;
  }
  EXPECT_EQ(last, 24);
  const TReply dhcp = Call("GetFieldStruct", {{"TableNumber", std::int64_t{16}}, {"FieldNumber", std::int64_t{24}}});
  EXPECT_EQ(dhcp.Int("FieldType"), 0);
  EXPECT_EQ(dhcp.Int("FieldSize"), 2);
  EXPECT_EQ(dhcp.Int("MAXValueOfField"), 65535);
  EXPECT_EQ(Call("GetFieldStruct", {{"TableNumber", std::int64_t{18}}, {"FieldNumber", std::int64_t{2}}}).Int("FieldType"), 1);
}

TEST_F(TablesTest, MissingCellsAnswer93) {
  const int cases[][3] = {{25, 1, 1}, {0, 1, 1}, {16, 2, 1}, {16, 1, 25}, {2, 31, 1}, {18, 1, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(Call("ReadTable", Cell(c[0], c[1], c[2])).error, 93) << c[0] << "/" << c[1] << "/" << c[2];
    EXPECT_EQ(Write(c[0], c[1], c[2], {0}).error, 93) << c[0] << "/" << c[1] << "/" << c[2];
  }
}

TEST_F(TablesTest, WritesAreCheckedAgainstLimitsTypeAndPassword) {
  struct {
    int t, r, f;
    Bytes value;
    std::int64_t password;
    int error;
  } cases[] = {
      {16, 1, 24, {0x90, 0x1F}, kAdmin, 0},      // Socks5 port 8080
      {10, 1, 10, {30}, 0, 0},                   // service switch with password 0
      {10, 1, 10, {31}, 0, 51},                  // above its maximum
      {10, 1, 10, {1}, 0, 51},                   // below its minimum
      {16, 1, 1, {1}, 0, 79},                    // other tables need the administrator
      {16, 1, 1, {1}, kCashier, 79},
      {16, 1, 2, {10}, kAdmin, 51},              // DHCP state is the register's own
      {18, 1, 4, Bytes(16, '1'), kAdmin, 51},    // FN serial too
      {16, 1, 24, {0x90}, kAdmin, 51},           // one byte for a two-byte field
      {18, 1, 12, Bytes(13, '7'), kAdmin, 51},   // text longer than the field
      {2, 5, 1, {1, 0, 0, 0}, kAdmin, 51},       // operator 1 already has password 1
  };
  for (const auto& c : cases)
    EXPECT_EQ(Write(c.t, c.r, c.f, c.value, c.password).error, c.error) << c.t << "/" << c.r << "/" << c.f;
  EXPECT_EQ(Read(16, 1, 24), (Bytes{0x90, 0x1F}));
  EXPECT_EQ(Read(10, 1, 10), Bytes{30});
}

TEST_F(TablesTest, TextCellsKeepCyrillicAndPadding) {
  // "Ромашка" in Windows-1251, shorter than the field.
  const Bytes name = {0xD0, 0xEE, 0xEC, 0xE0, 0xF8, 0xEA, 0xE0};
  ASSERT_EQ(Write(18, 1, 7, name).error, 0);
  Bytes expected = name;
  expected.resize(128, 0);
  EXPECT_EQ(Read(18, 1, 7), expected);
}

TEST_F(TablesTest, DhcpStateFollowsTheAddressMode) {
  EXPECT_EQ(Read(16, 1, 2), Bytes{10});
  model_->SetDhcpState(3);
  EXPECT_EQ(Read(16, 1, 2), Bytes{3});
  ASSERT_EQ(Write(16, 1, 1, {1}).error, 0);  // static address
  EXPECT_EQ(Read(16, 1, 2), Bytes{0});
}

TEST_F(TablesTest, ModelParametersPointAtTheTablesAndRegistersHaveNames) {
  const std::pair<int, std::int64_t> params[] = {{28, 0}, {72, 18}, {73, 19}, {75, 24}, {32, 16}, {71, 1}};
  for (auto [n, v] : params) {
    const TReply r = Call("ReadModelParamValue", {{"ModelParamNumber", std::int64_t{n}}});
    ASSERT_EQ(r.error, 0) << n;
    EXPECT_EQ(r.Int("ModelParamValue"), v) << n;
  }
  EXPECT_TRUE(std::holds_alternative<bool>(
      Call("ReadModelParamValue", {{"ModelParamNumber", std::int64_t{71}}}).fields.at("ModelParamValue")));
  EXPECT_EQ(Call("ReadModelParamValue", {{"ModelParamNumber", std::int64_t{31}}}).error, 51);
  const auto count = Call("GetDeviceMetrics").Int("ModelParamCount");
  EXPECT_EQ(Call("ReadModelParam", {{"ModelParamIndex", count - 1}}).Int("ModelParamNumber"), 75);
  EXPECT_EQ(Call("ReadModelParam", {{"ModelParamIndex", count}}).error, 51);

  EXPECT_EQ(Call("GetOperationReg", {{"RegisterNumber", std::int64_t{99}}}).error, 0);
  EXPECT_EQ(Call("GetOperationReg", {{"RegisterNumber", std::int64_t{100}}}).error, 51);
  EXPECT_EQ(Call("GetCashReg", {{"RegisterNumber", std::int64_t{241}}}).Str("NameCashReg"), "Наличность в кассе");
}

}  // namespace
}  // namespace zel::emu::test
