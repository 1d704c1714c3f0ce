// The driver against the zelvox-emu program: a registration over a pty (as a
// COM number) and over TCP, the registration kept by the state file across a
// restart, and injected faults coming back as the right codes in time.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "driver/Zelvox.h"
#include "tests/support/EmuProcess.h"

namespace zel {
namespace {

using namespace std::chrono_literals;

// One zelvox-emu process, ready within 5 s or not at all.
class TEmulator : public test::TEmuProcess {
 public:
  explicit TEmulator(const std::vector<std::string>& args) : TEmuProcess(ZEL_EMU_PROGRAM, args), FReady(WaitReady(5000)) {}
  bool Ready() const { return FReady; }

 private:
  bool FReady;
};

class EmulatorE2ETest : public ::testing::Test {
 protected:
  void SetUp() override {
    FHome = ::testing::TempDir() + "/zelvox-e2e-" + std::to_string(::getpid());
    std::filesystem::remove_all(FHome);
    std::filesystem::create_directories(FHome);
    ::setenv("XDG_CONFIG_HOME", FHome.c_str(), 1);  // COM links and state stay in the test's folder
  }
  void TearDown() override { std::filesystem::remove_all(FHome); }

  static void Register(TZelvox& drv) {
    drv.put_ReportTypeInt(0);
    ASSERT_EQ(drv.FNBeginRegistrationReport(), 0) << drv.get_ResultCodeDescription();
    drv.put_TagNumber(1021);
    drv.put_TagType(7);
    drv.put_TagValueStr("Кассир Иванов");
    ASSERT_EQ(drv.FNSendTag(), 0) << drv.get_ResultCodeDescription();
    drv.put_INN("7707083893");
    drv.put_KKTRegistrationNumber("0000000001012345");
    drv.put_TaxType(1);
    drv.put_WorkMode(0);
    drv.put_Timeout(10000);
    ASSERT_EQ(drv.FNBuildRegistrationReport(), 0) << drv.get_ResultCodeDescription();
    drv.put_INN("");
    ASSERT_EQ(drv.FNGetFiscalizationResult(), 0);
    EXPECT_EQ(drv.get_INN(), "7707083893");
    EXPECT_EQ(drv.get_KKTRegistrationNumber(), "0000000001012345");
    EXPECT_EQ(drv.get_TaxType(), 1);
  }

  std::string FHome;
};

TEST_F(EmulatorE2ETest, RegistrationOverAComNumberIsKeptAcrossARestart) {
  const std::string state = FHome + "/register.state";
  {
    TEmulator emu({"--com", "71", "--state", state});
    ASSERT_TRUE(emu.Ready());
    TZelvox drv;
    drv.put_ComNumber(71);
    drv.put_BaudRate(6);
    Register(drv);
    drv.Disconnect();
  }
  TEmulator emu({"--com", "71", "--state", state});
  ASSERT_TRUE(emu.Ready());
  TZelvox drv;
  drv.put_ComNumber(71);
  ASSERT_EQ(drv.FNGetStatus(), 0) << drv.get_ResultCodeDescription();
  EXPECT_EQ(drv.get_FNLifeState(), 3);  // still in fiscal mode
  ASSERT_EQ(drv.FNGetFiscalizationResult(), 0);
  EXPECT_EQ(drv.get_INN(), "7707083893");
}

TEST_F(EmulatorE2ETest, RegistrationStraightOverTcp) {
  TEmulator emu({"--tcp", "0"});
  ASSERT_TRUE(emu.Ready());
  ASSERT_GT(emu.TcpPort(), 0);
  TZelvox drv;
  drv.put_ConnectionType(6);
  drv.put_IPAddress("127.0.0.1");
  drv.put_TCPPort(emu.TcpPort());
  Register(drv);
}

TEST_F(EmulatorE2ETest, EveryFrameProtocolOverAComNumber) {
  for (const char* protocol : {"0", "1", "2"}) {
    SCOPED_TRACE(protocol);
    TEmulator emu({"--com", "72", "--protocol", protocol});
    ASSERT_TRUE(emu.Ready());
    TZelvox drv;
    drv.put_ComNumber(72);
    drv.put_ProtocolType(std::atoi(protocol));
    ASSERT_EQ(drv.GetDeviceMetrics(), 0) << drv.get_ResultCodeDescription();
    EXPECT_EQ(drv.get_UDescription(), "ZELVOX-01F");
    drv.put_TableNumber(10);
    drv.put_RowNumber(1);
    drv.put_FieldNumber(10);
    ASSERT_EQ(drv.ReadTable(), 0) << drv.get_ResultCodeDescription();
    EXPECT_EQ(drv.get_FieldName(), "Таймаут ФН");
  }
}

TEST_F(EmulatorE2ETest, InjectedFaultsGiveTheirCodesInTime) {
  struct Case {
    std::vector<std::string> Args;
    int Code;
  };
  const std::vector<Case> cases = {
      {{"--busy", "1"}, 80},
      {{"--busy", "1", "--busy-code", "75"}, 75},
      {{"--silence", "100"}, -1},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"--tcp", "0"};
    args.insert(args.end(), c.Args.begin(), c.Args.end());
    TEmulator emu(args);
    ASSERT_TRUE(emu.Ready());
    TZelvox drv;
    drv.put_ConnectionType(6);
    drv.put_IPAddress("127.0.0.1");
    drv.put_TCPPort(emu.TcpPort());
    drv.put_Timeout(300);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(drv.Beep(), c.Code) << c.Args[0];
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s) << c.Args[0];
  }
}

TEST_F(EmulatorE2ETest, AnUnpluggedRegisterIsNoLink) {
  TEmulator emu({"--com", "73", "--unplug-after", "1"});
  ASSERT_TRUE(emu.Ready());
  TZelvox drv;
  drv.put_ComNumber(73);
  drv.put_Timeout(300);
  EXPECT_EQ(drv.Beep(), 0);
  ASSERT_TRUE(emu.WaitForLine("unplugged"));
  const auto start = std::chrono::steady_clock::now();
  const int code = drv.Beep();
  EXPECT_LT(code, 0) << drv.get_ResultCodeDescription();  // -1 no answer, or -2 once the port is gone
  EXPECT_FALSE(drv.get_Connected());
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}

}  // namespace
}  // namespace zel
