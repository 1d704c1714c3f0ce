// Settings file and command-line switches.
#include <gtest/gtest.h>

#include <fstream>

#include "server/core/Settings.h"
#include "tests/server/TestEnv.h"

namespace zel {
namespace {

TEST(SettingsTest, DefaultsWithoutAFile) {
  test::TConfigHome home;
  const TServerSettings s = LoadSettings();
  EXPECT_EQ(s.TCPPort, 211);
  EXPECT_FALSE(s.TCPEnabled);
  EXPECT_FALSE(s.AutoPortClose);
  EXPECT_FALSE(s.AutoRecCancel);
  EXPECT_EQ(s.CloseTimeout, 10000);
  EXPECT_EQ(s.BindAddress, "");
  EXPECT_EQ(s.AllowedNetworks, "");
}

TEST(SettingsTest, SaveAndLoadRoundTripInTheUsersFile) {
  test::TConfigHome home;
  TServerSettings s;
  s.TCPPort = 2002;
  s.TCPEnabled = true;
  s.AutoPortClose = true;
  s.AutoRecCancel = true;
  s.CloseTimeout = 30000;
  s.BindAddress = "127.0.0.1";
  s.AllowedNetworks = "10.0.0.0/8, ::1";
  s.MaxConnections = 5;
  s.MaxLineLength = 1000;
  SaveSettings(s);
  EXPECT_EQ(LoadSettings(), s);
  std::ifstream file(home.Path() + "/Veltrona/Zelserv.ini");
  std::string text((std::istreambuf_iterator<char>(file)), {});
  EXPECT_NE(text.find("[Zelvox]"), std::string::npos) << text;
  EXPECT_NE(text.find("A4\\Params\\TCPPort=2002"), std::string::npos) << text;
}

TEST(SettingsTest, AValueThatDoesNotReadEndsLoadingAndNonZeroIsTrue) {
  test::TConfigHome home;
  std::filesystem::create_directories(home.Path() + "/Veltrona");
  std::ofstream(home.Path() + "/Veltrona/Zelserv.ini") << "[Zelvox]\n"
                                                          "A4\\Params\\TCPPort=2002\n"
                                                          "A4\\Params\\TCPEnabled=7\n"
                                                          "A4\\Params\\AutoPortClose=yes\n"
                                                          "A4\\Params\\AutoRecCancel=1\n"
                                                          "A4\\Params\\CloseTimeout=5000\n";
  const TServerSettings s = LoadSettings();
  EXPECT_EQ(s.TCPPort, 2002);
  EXPECT_TRUE(s.TCPEnabled);
  EXPECT_FALSE(s.AutoPortClose);
  EXPECT_FALSE(s.AutoRecCancel) << "read after the bad value: stays default";
  EXPECT_EQ(s.CloseTimeout, 10000);
}

TEST(SettingsTest, CommandLineSwitches) {
  struct Case {
    std::vector<std::string> args;
    int port;
    bool tcp, autoClose, autoCancel;
    int timeout;
  };
  const Case cases[] = {
      {{"/t2002", "/a", "/p30"}, 2002, true, true, false, 30000},
      {{"/p"}, 211, false, false, false, 10000},
      {{"/P30"}, 211, false, false, false, 10000},
      {{"-Embedding"}, 211, false, false, false, 10000},
      {{"/t"}, 211, true, false, false, 10000},
      {{"-t0"}, 0, false, false, false, 10000},
      {{"/r", "x", "/"}, 211, false, false, true, 10000},
      {{"/pabc"}, 211, false, false, false, 10000},
      {{"/p99999999999"}, 211, false, false, false, 10000},
      {{"/p0"}, 211, false, false, false, 0},
  };
  for (const Case& c : cases) {
    const TServerSettings s = SettingsFromCommandLine(c.args);
    const std::string label = ::testing::PrintToString(c.args);
    EXPECT_EQ(s.TCPPort, c.port) << label;
    EXPECT_EQ(s.TCPEnabled, c.tcp) << label;
    EXPECT_EQ(s.AutoPortClose, c.autoClose) << label;
    EXPECT_EQ(s.AutoRecCancel, c.autoCancel) << label;
    EXPECT_EQ(s.CloseTimeout, c.timeout) << label;
  }
}

}  // namespace
}  // namespace zel
