// A program may end while the test bench's driver still holds its serial
// port open: the instance is destroyed with the other objects of the process
// and must find everything its port uses still alive.
#include <gtest/gtest.h>

#include <cstdlib>

#include "testbench/core/Driver.h"
#include "tests/support/PtyPair.h"
#include "tests/support/TempConfig.h"

namespace zel {
namespace {

TEST(DriverExitTest, ProgramEndsCleanlyWithTheDriverLinked) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process, as a program starts
  EXPECT_EXIT(
      {
        test::ScopedConfigHome home;
        test::PtyPair line;
        test::LinkCom(7, line.SlavePath());
        Driver().put_ComNumber(7);
        if (Driver().Connect() != 0 || !Driver().get_Connected()) std::_Exit(3);
        std::exit(0);  // no FreeDriver: the port is still open
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace zel
