// Logical devices and waiting for the register.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "driver/Ping.h"
#include "driver/Zelvox.h"

namespace zel {
namespace {

class LogicalDevicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FHome = ::testing::TempDir() + "/zelvox-ld-" + std::to_string(::getpid());
    std::filesystem::remove_all(FHome);
    ::setenv("XDG_CONFIG_HOME", FHome.c_str(), 1);
  }
  void TearDown() override { std::filesystem::remove_all(FHome); }
  std::string FHome;
};

TEST_F(LogicalDevicesTest, AddEnumerateActivateAndDeleteAcrossInstances) {
  TZelvox a;
  a.put_LDName("Касса 1");
  a.put_LDComNumber(3);
  a.put_LDBaudrate(4);
  a.put_LDTimeout(500);
  ASSERT_EQ(a.AddLD(), 0);
  EXPECT_EQ(a.get_LDNumber(), 1);
  a.put_LDName("Касса 2");
  a.put_LDComNumber(7);
  ASSERT_EQ(a.AddLD(), 0);
  EXPECT_EQ(a.get_LDNumber(), 2);
  EXPECT_EQ(a.get_LDCount(), 2);

  TZelvox b;  // another instance reads the same list
  b.put_LDIndex(1);
  ASSERT_EQ(b.EnumLD(), 0);
  EXPECT_EQ(b.get_LDName(), "Касса 2");
  EXPECT_EQ(b.get_LDComNumber(), 7);
  b.put_LDNumber(2);
  ASSERT_EQ(b.SetActiveLD(), 0);
  EXPECT_EQ(b.get_ComNumber(), 7);  // the active device's settings are the link's
  EXPECT_EQ(b.get_BaudRate(), 4);
  EXPECT_EQ(b.get_Timeout(), 500);
  ASSERT_EQ(a.GetActiveLD(), 0);
  EXPECT_EQ(a.get_LDNumber(), 2);

  a.put_LDNumber(1);
  a.put_LDName("Склад");
  ASSERT_EQ(a.SetParamLD(), 0);
  b.put_LDNumber(1);
  ASSERT_EQ(b.GetParamLD(), 0);
  EXPECT_EQ(b.get_LDName(), "Склад");

  ASSERT_EQ(b.DeleteLD(), 0);
  EXPECT_EQ(b.get_LDCount(), 1);
  EXPECT_EQ(b.GetParamLD(), -14);
  b.put_LDIndex(5);
  EXPECT_EQ(b.EnumLD(), -14);
  ASSERT_EQ(a.AddLD(), 0);
  EXPECT_EQ(a.get_LDNumber(), 1);  // the freed number is reused
}

TEST(Waiting, WaitConnectionPollsUntilTheRegisterAnswers) {
  int calls = 0;
  TZelvox drv;
  drv.SetInProcessDevice([&](const Bytes& cmd) {
    if (++calls < 3) return Bytes{};  // no answer yet
    Bytes answer(22, 0);  // a short status of zeros
    answer[0] = cmd[0];
    return answer;
  });
  drv.put_ConnectionTimeout(5000);
  EXPECT_EQ(drv.WaitConnection(), 0) << drv.get_ResultCodeDescription();
  EXPECT_EQ(calls, 3);

  TZelvox silent;
  silent.SetInProcessDevice([](const Bytes&) { return Bytes{}; });
  silent.put_ConnectionTimeout(200);
  EXPECT_EQ(silent.WaitConnection(), -1);
}

TEST(Waiting, WaitForCheckCloseEndsWhenTheReceiptIsClosedOrTimesOut) {
  int mode = 8, polls = 0;
  TZelvox drv;
  drv.SetInProcessDevice([&](const Bytes& cmd) {
    if (++polls == 3) mode = 2;  // the receipt closes before the third poll
    Bytes answer(22, 0);  // code, error 0, operator 30, flags, mode
    answer[0] = cmd[0];
    answer[2] = 30;
    answer[5] = static_cast<std::uint8_t>(mode);
    return answer;
  });
  drv.put_ConnectionTimeout(5000);
  EXPECT_EQ(drv.WaitForCheckClose(), 0);
  EXPECT_EQ(polls, 3);
  mode = 8;
  polls = -1000;
  drv.put_ConnectionTimeout(200);
  EXPECT_EQ(drv.WaitForCheckClose(), -16);
}

TEST(Ping, TheLocalHostAnswersAndAMissingHostIsNamed) {
  EXPECT_EQ(HostOfUrl("https://user@ofd.example.ru:7790/path?x"), "ofd.example.ru");
  EXPECT_EQ(HostOfUrl("127.0.0.1"), "127.0.0.1");
  TZelvox drv;
  drv.put_URL("http://127.0.0.1/");
  drv.put_Timeout(2000);
  const int code = drv.Ping();
  if (code == -8) GTEST_SKIP() << "ICMP sockets are not allowed here: " << drv.get_ResultCodeDescription();
  ASSERT_EQ(code, 0);
  EXPECT_EQ(drv.get_PingResult(), 0);
  EXPECT_LT(drv.get_PingTime(), 2000);
  drv.put_URL("");
  EXPECT_EQ(drv.Ping(), 0);
  EXPECT_EQ(drv.get_PingResult(), 2);
}

}  // namespace
}  // namespace zel
