#include <gtest/gtest.h>

#include <sstream>

#include "driver/cli/Cli.h"

namespace zel {
namespace {

struct CliRun {
  int Status;
  std::string Out, Err;
};

CliRun RunArgs(std::vector<std::string> args) {
  TZelvox drv;
  drv.SetInProcessDevice([](const Bytes& cmd) {
    if (cmd[0] == 0x13) return Bytes{0x13, 0x00, 0x1E};
    return Bytes{cmd[0], 55};
  });
  std::ostringstream out, err;
  const int status = RunCli(args, drv, out, err);
  return {status, out.str(), err.str()};
}

TEST(Cli, SetsCallsAndPrintsLeftToRight) {
  const CliRun r = RunArgs({"Password=30", "Beep", "OperatorNumber", "ecrinput"});
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "Beep: (0) Ошибок нет\nOperatorNumber=30\nECRInput=13 1E 00 00 00\n");
}

TEST(Cli, FailuresAndBadArgumentsGiveNonZeroStatus) {
  struct Case {
    std::vector<std::string> Args;
    int Status;
    const char* Text;  // expected in out or err
  };
  const std::vector<Case> cases = {
      {{"GetECRStatus", "Beep"}, 1, "GetECRStatus: (55) Команда не поддерживается в данной реализации ККТ"},
      {{"LoadFont"}, 1, "LoadFont: (-7)"},
      {{"ECRMode=x"}, 2, "cannot set ECRMode"},
      {{"Nonsense"}, 2, "unknown method or property: Nonsense"},
      {{}, 2, "usage:"},
  };
  for (const auto& c : cases) {
    const CliRun r = RunArgs(c.Args);
    EXPECT_EQ(r.Status, c.Status) << c.Text;
    EXPECT_NE((r.Out + r.Err).find(c.Text), std::string::npos) << r.Out << r.Err;
    EXPECT_EQ(r.Out.find("Beep:"), std::string::npos);  // nothing runs after a failure
  }
}

TEST(Cli, ListsMethodsAndPropertiesWithTypes) {
  const CliRun r = RunArgs({"--list"});
  EXPECT_EQ(r.Status, 0);
  EXPECT_NE(r.Out.find("  FNAcceptMakringCode  (marking)\n"), std::string::npos);
  EXPECT_NE(r.Out.find("  Summ1: Currency\n"), std::string::npos);
  EXPECT_NE(r.Out.find("  ECRModeDescription: WideString\n"), std::string::npos);
}

}  // namespace
}  // namespace zel
