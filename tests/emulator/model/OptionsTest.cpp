// zelvox-emu's command line.
#include <gtest/gtest.h>

#include "emulator/app/EmuOptions.h"

namespace zel::emu {
namespace {

TEST(EmuOptions, ParsesLinesRegisterAndFaults) {
  const TEmuOptions o = ParseEmuOptions({"--com", "5", "--tcp=0", "--protocol", "2", "--baud", "115200", "--announce", "lo",
                                         "--state", "s.txt", "--tape", "t.txt", "--drop-byte", "3", "--drop-byte", "9",
                                         "--busy", "2", "--busy-code", "75", "--unplug-after", "4", "--ofd-hold"});
  EXPECT_EQ(o.comNumber, 5);
  EXPECT_EQ(o.tcpPort, 0);
  EXPECT_EQ(o.protocolType, 2);
  EXPECT_EQ(o.baudRate, 115200);
  EXPECT_TRUE(o.announce);
  EXPECT_EQ(o.announceInterface, "lo");
  EXPECT_EQ(o.stateFile, "s.txt");
  EXPECT_EQ(o.dropBytes, (std::vector<std::uint64_t>{3, 9}));
  EXPECT_EQ(o.busyCount, 2);
  EXPECT_EQ(o.busyCode, 75);
  EXPECT_EQ(o.unplugAfter, 4);
  EXPECT_TRUE(o.ofdHold);
  EXPECT_TRUE(ParseEmuOptions({"--help"}).help);
}

TEST(EmuOptions, RefusesWhatItCannotServe) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{}, "nothing to serve"},
      {{"--tcp", "70000"}, "--tcp"},
      {{"--com"}, "needs N"},
      {{"--pty", "--bogus"}, "unknown option --bogus"},
      {{"--pty", "--busy-code", "77"}, "80 or 75"},
      {{"--pty", "--announce", "lo"}, "--tcp"},
      {{"--pty=1"}, "takes no value"},
      {{"--pty", "--protocol", "x"}, "--protocol"},
  };
  for (const auto& [args, message] : cases) {
    try {
      ParseEmuOptions(args);
      ADD_FAILURE() << "accepted " << (args.empty() ? "" : args[0]);
    } catch (const std::invalid_argument& e) {
      EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace zel::emu
