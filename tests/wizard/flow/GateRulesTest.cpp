// Rules of the gate steps and of the change-reason field.
#include <gtest/gtest.h>

#include "wizard/flow/registration/GateTexts.h"
#include "wizard/flow/registration/ReasonCodes.h"

namespace zel {
namespace {

TEST(GateRules, DriverVersionGate) {
  struct {
    TVersion V;
    bool Accepted;
  } cases[] = {{{4, 13, 0, 594}, true}, {{4, 13, 0, 593}, false}, {{4, 12, 9, 9999}, false},
               {{4, 14, 0, 0}, true},   {{5, 0, 0, 0}, true},      {{3, 99, 99, 9999}, false}};
  for (const auto& c : cases) EXPECT_EQ(CompareVersions(c.V, kMinDriverVersion) >= 0, c.Accepted) << VersionText(c.V);
}

TEST(GateRules, ClockDifferenceText) {
  EXPECT_EQ(TimeDiffText(0), "время совпадает");
  EXPECT_EQ(TimeDiffText(75), "1 мин. 15 сек.");
  EXPECT_EQ(TimeDiffText(-75), "1 мин. 15 сек.");
  EXPECT_EQ(TimeDiffText(59), "59 сек.");
  EXPECT_EQ(TimeDiffText(3600), "60 мин. 0 сек.");
}

TEST(GateRules, FirmwareForFFD12) {
  for (const char* v : {"D.1", "D", "C.3", "E.3", "T.3"}) EXPECT_TRUE(FirmwareKnowsFFD12(v)) << v;
  for (const char* v : {"", "3.2", "C.2", "E.30", "d.1", "T.3 "}) EXPECT_FALSE(FirmwareKnowsFFD12(v)) << v;
}

TEST(GateRules, ExtendedReasonField) {
  struct {
    const char* Text;
    bool Ok;
    std::uint32_t Value;
  } cases[] = {{"0", true, 0},
               {"5", true, 5},
               {"2147483648", true, 1u << 31},      // "32. Иные причины"
               {"4194303", true, 0x3FFFFF},         // reasons 1..22
               {"4194304", false, 0},               // reason 23 is not defined
               {"4294967295", false, 0},            // all bits, undefined ones among them
               {"4294967296", false, 0},            // beyond 32 bits
               {"99999999999999999999", false, 0},  // what the 20-character field allows
               {"", false, 0},
               {"12a", false, 0},
               {"-1", false, 0}};
  for (const auto& c : cases) {
    std::uint32_t v = 0;
    EXPECT_EQ(ParseReasonCodes(c.Text, v), c.Ok) << c.Text;
    if (c.Ok) {
      EXPECT_EQ(v, c.Value) << c.Text;
    }
  }
}

}  // namespace
}  // namespace zel
