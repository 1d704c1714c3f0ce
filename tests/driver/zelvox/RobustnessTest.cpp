// Bytes from outside (device answers, server lines, typed hex) never crash
// the driver: random and cut inputs only ever give result codes or errors.
#include <gtest/gtest.h>

#include <random>

#include "driver/HexText.h"
#include "driver/Json.h"
#include "driver/Zelvox.h"
#include "driver/catalogue/Commands.h"

namespace zel {
namespace {

Bytes RandomBytes(std::mt19937& rng, std::size_t maxSize) {
  Bytes b(rng() % (maxSize + 1));
  for (auto& x : b) x = static_cast<std::uint8_t>(rng());
  return b;
}

TEST(Robustness, EveryMethodSurvivesRandomAndCutAnswers) {
  std::mt19937 rng(20261211);
  Bytes next;
  TZelvox drv;
  drv.SetInProcessDevice([&](const Bytes& cmd) {
    // Half the time a well-formed start (the command's code and 0), then noise.
    Bytes answer;
    if (rng() % 2) {
      answer = cmd.size() > 1 && cmd[0] == 0xFF ? Bytes{0xFF, cmd[1], 0} : Bytes{cmd[0], 0};
    }
    const Bytes noise = RandomBytes(rng, 80);
    answer.insert(answer.end(), noise.begin(), noise.end());
    return answer;
  });
  drv.put_ConnectionTimeout(50);
  for (int round = 0; round < 20; ++round)
    for (const auto& m : MethodDefs()) {
      const std::string name = m.Name;
      if (name == "ShowProperties" || name == "ShowTablesDlg" || name == "FindDevice" || name.find("LD") != std::string::npos)
        continue;  // windows, port scans and the per-user device list are not about answers
      const int code = drv.Call(name);
      EXPECT_EQ(drv.get_ResultCode(), code);
      EXPECT_FALSE(drv.get_ResultCodeDescription().empty()) << name;
    }
}

TEST(Robustness, ParsersOfOutsideTextRefuseGarbageCleanly) {
  std::mt19937 rng(7);
  const std::string alphabet = "{}[]\":,0123456789abcdefABCDEF -+.eEtrufalsn\\u\n";
  for (int i = 0; i < 5000; ++i) {
    std::string text;
    const std::size_t size = rng() % 40;
    for (std::size_t k = 0; k < size; ++k) text += alphabet[rng() % alphabet.size()];
    try {
      TJson::Parse(text);
    } catch (const std::runtime_error&) {
    }
    Bytes out;
    ParseHexText(text, out);
    const Bytes raw = RandomBytes(rng, 30);
    try {
      DecodeTlvList(raw);
    } catch (const ECodecError&) {
    }
  }
  EXPECT_THROW(TJson::Parse(std::string(100, '[')), std::runtime_error);  // nesting is bounded
  EXPECT_EQ(TJson::Parse(R"({"a":[1,"\u0416\ud83d\ude00"],"b":null})").Find("a")->Items()[1].Text(), "Ж😀");
}

}  // namespace
}  // namespace zel
