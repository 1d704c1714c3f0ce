// Linked into every test program: the environment a test run needs, also
// when a test binary is started by hand (ctest cannot pass several variables
// through test discovery reliably).
#include <cstdlib>

namespace {
struct TTestEnvironment {
  TTestEnvironment() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("ZEL_LOCALE_DIR", ZEL_TEST_LOCALE_DIR, 0);
  }
} gTestEnvironment;
}  // namespace
