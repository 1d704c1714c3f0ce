// zelvox-cli and the driver against a zelvox-emu process over every connection
// type: on a pty as a COM number (0), through a zelserv process (1 and 2) and
// straight over TCP (6). A registration reads back what was written, injected
// faults come back as their codes within bounded time, and a register that
// vanishes mid-link is no link until it is back.
#include <gtest/gtest.h>

#include <errno.h>
#include <unistd.h>

#include <chrono>

#include "driver/Zelvox.h"
#include "tests/e2e/Rig.h"

namespace zel::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kCliLimitMs = 30000;  // a hung call fails the test instead of hanging it

TRunResult Cli(const TRig& rig, const std::vector<std::string>& args) {
  std::vector<std::string> all = rig.LinkArgs();
  all.insert(all.end(), args.begin(), args.end());
  return RunProgram(ZEL_CLI_PROGRAM, all, kCliLimitMs);
}

class ConnectionTypeTest : public ::testing::TestWithParam<int> {};

std::string TypeName(const ::testing::TestParamInfo<int>& info) { return "Type" + std::to_string(info.param); }

TEST_P(ConnectionTypeTest, RegistrationReadsBackWhatWasWritten) {
  TRig rig(GetParam());
  const TRunResult reg = Cli(rig, {"Timeout=10000",
                                   "ReportTypeInt=0", "FNBeginRegistrationReport",
                                   "TagNumber=1021", "TagType=7", "TagValueStr=Кассир Иванов", "FNSendTag",
                                   "INN=7707083893", "KKTRegistrationNumber=0000000001012345", "TaxType=9", "WorkMode=2",
                                   "FNBuildRegistrationReport", "DocumentNumber", "FiscalSign"});
  ASSERT_EQ(reg.Status, 0) << reg.Output;
  EXPECT_NE(reg.Output.find("FNBuildRegistrationReport: (0) "), std::string::npos) << reg.Output;
  const int document = NumberAfter(reg.Output, "DocumentNumber=");
  EXPECT_GT(document, 0) << reg.Output;

  // A fresh process and link: what the register keeps, not what the driver remembers.
  const TRunResult back = Cli(rig, {"FNGetFiscalizationResult", "INN", "KKTRegistrationNumber", "TaxType", "WorkMode",
                                    "DocumentNumber", "FNGetStatus", "FNLifeState"});
  ASSERT_EQ(back.Status, 0) << back.Output;
  for (const char* line : {"INN=7707083893\n", "KKTRegistrationNumber=0000000001012345\n", "TaxType=9\n",
                           "WorkMode=2\n", "FNLifeState=3\n"})
    EXPECT_NE(back.Output.find(line), std::string::npos) << line << " in\n" << back.Output;
  EXPECT_EQ(NumberAfter(back.Output, "DocumentNumber="), document) << back.Output;
}

TEST_P(ConnectionTypeTest, InjectedFaultsGiveTheirCodesInTime) {
  struct TFault {
    std::vector<std::string> Options;
    const char* Result;  // the call's result line
  };
  const TFault faults[] = {
      {{"--busy", "1"}, "Beep: (80) "},
      {{"--busy", "1", "--busy-code", "75"}, "Beep: (75) "},
      {{"--silence", "100"}, "Beep: (-1) "},
  };
  TRig rig(GetParam());
  for (const auto& fault : faults) {
    SCOPED_TRACE(fault.Options[0] + " " + fault.Options.back());
    rig.StartRegister(fault.Options);
    const auto start = Clock::now();
    const TRunResult r = Cli(rig, {"Timeout=300", "Beep"});
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));  // 300 ms per try, a few tries
    EXPECT_EQ(r.Status, 1) << r.Output;
    EXPECT_EQ(r.Output.rfind(fault.Result, 0), 0u) << r.Output;
  }
}

// The driver keeps its link open; the register goes away under it.
TEST_P(ConnectionTypeTest, AnUnpluggedRegisterIsNoLinkUntilItIsBack) {
  TRig rig(GetParam());
  rig.StartRegister({"--unplug-after", "1"});
  TZelvox drv;
  for (const auto& arg : rig.LinkArgs()) {
    const auto eq = arg.find('=');
    ASSERT_TRUE(drv.SetPropertyText(arg.substr(0, eq), arg.substr(eq + 1))) << arg;
  }
  drv.put_Timeout(300);
  ASSERT_EQ(drv.Beep(), 0) << drv.get_ResultCodeDescription();
  ASSERT_TRUE(rig.RegisterSaid("unplugged\n", 5000));

  const auto start = Clock::now();
  const int code = drv.Beep();
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
  EXPECT_TRUE(code == -1 || code == -2) << code << " " << drv.get_ResultCodeDescription();
  EXPECT_FALSE(drv.get_Connected());

  rig.StartRegister();
  EXPECT_EQ(drv.Beep(), 0) << drv.get_ResultCodeDescription();
  EXPECT_TRUE(drv.get_Connected());
}

// Two clients of one register behind zelserv: the lock keeps the other out
// with the server's code and holder, until it is released.
TEST(ServerLinkTest, LockPortKeepsOtherClientsOutUntilUnlocked) {
  TRig rig(1);
  TZelvox first, second;
  for (TZelvox* drv : {&first, &second})
    for (const auto& arg : rig.LinkArgs()) {
      const auto eq = arg.find('=');
      ASSERT_TRUE(drv->SetPropertyText(arg.substr(0, eq), arg.substr(eq + 1))) << arg;
    }
  ASSERT_EQ(first.LockPort(), 0) << first.get_ResultCodeDescription();
  EXPECT_EQ(second.LockPort(), -18);
  const std::string holder = "." + std::to_string(::getpid()) + ".'" + program_invocation_short_name + "'";
  EXPECT_NE(second.get_ResultCodeDescription().find(holder), std::string::npos) << second.get_ResultCodeDescription();
  EXPECT_EQ(second.GetECRStatus(), 0) << "a lock refuses locks, not commands";
  ASSERT_EQ(first.UnlockPort(), 0) << first.get_ResultCodeDescription();
  EXPECT_EQ(second.LockPort(), 0) << second.get_ResultCodeDescription();
  EXPECT_EQ(second.UnlockPort(), 0);
}

// The protocol the driver asks zelserv for is the one the server speaks to the register.
TEST(ServerLinkTest, EveryFrameProtocolThroughTheServer) {
  TRig rig(1);
  for (const char* protocol : {"1", "2", "0"}) {
    SCOPED_TRACE(protocol);
    rig.StartRegister({"--protocol", protocol});
    const TRunResult r = Cli(rig, {std::string("ProtocolType=") + protocol, "GetDeviceMetrics", "UDescription"});
    EXPECT_EQ(r.Status, 0) << r.Output;
    EXPECT_NE(r.Output.find("UDescription=ZELVOX-01F\n"), std::string::npos) << r.Output;
  }
}

INSTANTIATE_TEST_SUITE_P(Transports, ConnectionTypeTest, ::testing::Values(0, 1, 2, 6), TypeName);

}  // namespace
}  // namespace zel::test
