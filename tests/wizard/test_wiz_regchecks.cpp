#include <gtest/gtest.h>

#include <stdexcept>

#include "wizard/flow/core/RegChecks.h"
#include "wizard/flow/core/RegParams.h"
#include "wizard/flow/core/TableMap.h"

namespace zel {
namespace {

TEST(INNCheck, AcceptsOnlyRightCheckDigits) {
  const struct {
    const char* INN;
    bool Valid;
  } cases[] = {
      {"1234567894", true},
      {"1234567895", false},
      {"500100732259", true},
      {"500100732266", false},  // 12th digit right for a wrong 11th
      {"500100732258", false},
      {"12345678945", false},   // 11 digits
      {"123456789", false},
      {"1234567894 ", false},
      {"12345678a4", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsValidINN(c.INN), c.Valid) << c.INN;
  EXPECT_EQ(INNCheckDigit(10, "1234567894"), 4);
  EXPECT_EQ(INNCheckDigit(12, "123"), -1);
}

TEST(RNMCheck, MakesAndChecksTheCrcDigits) {
  const std::string inn = "1234567894", serial = "0012345678";
  // CRC over "0000000001" + "001234567894" + "00000000000012345678".
  EXPECT_EQ(MakeRNM("1", inn, serial), "0000000001010354");
  EXPECT_EQ(MakeRNM("0000000001", inn, serial), "0000000001010354");
  EXPECT_EQ(MakeRNM("1", "500100732259", "00106304241645"), "0000000001012983");

  const std::string rnm = MakeRNM("42", inn, serial);
  EXPECT_TRUE(IsValidRNM(rnm, inn, serial));
  EXPECT_FALSE(IsValidRNM(rnm.substr(0, 15), inn, serial));
  EXPECT_FALSE(IsValidRNM(rnm + "0", inn, serial));
  EXPECT_FALSE(IsValidRNM(rnm.substr(0, 10) + "999999", inn, serial));
  EXPECT_FALSE(IsValidRNM(rnm, "1234567895", serial));
  EXPECT_FALSE(IsValidRNM(rnm, inn, "0012345679"));
  EXPECT_FALSE(IsValidRNM("123", inn, serial));
}

TEST(MapTableNumber, MapsThroughModelParameters) {
  auto read = [](int param) { return param + 1000; };
  auto never = [](int) -> int { throw std::logic_error("read for an unmapped table"); };
  EXPECT_EQ(MapTableNumber(18, read), 1072);
  EXPECT_EQ(MapTableNumber(19, read), 1073);
  EXPECT_EQ(MapTableNumber(24, read), 1075);
  for (int table : {1, 10, 13, 16, 17, 21}) EXPECT_EQ(MapTableNumber(table, never), table);
}

TEST(RegParams, StartsWithNothingChosen) {
  TRegParams p;
  EXPECT_EQ(UnchosenRegField(p), "TaxSystem");
  p.TaxSystem = Bit(tsOSN);
  EXPECT_EQ(UnchosenRegField(p), "WorkMode");
  p.WorkMode = 0;
  EXPECT_EQ(UnchosenRegField(p), "WorkModeEx");
  p.WorkModeEx = 0;
  EXPECT_EQ(UnchosenRegField(p), "");  // agent signs matter for FFD 1.05 only
  p.FFD = kFFD105;
  EXPECT_EQ(UnchosenRegField(p), "Agent");
  p.Agent = 0;
  EXPECT_EQ(UnchosenRegField(p), "");

  p.X5FactoryCode = "12";
  p.User = "u";
  p.Reset();
  EXPECT_EQ(p.X5FactoryCode, "12");
  EXPECT_EQ(p.User, "");
  EXPECT_EQ(p.FFD, kNotChosen);
  EXPECT_EQ(p.WorkModeEx, kNotChosen);
}

}  // namespace
}  // namespace zel
