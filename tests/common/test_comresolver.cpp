// COM numbers to device paths and back.
#include "common/ComResolver.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/support/TempConfig.h"

namespace zel {
namespace {

TEST(ComResolver, DefaultMappingBothWays) {
  test::ScopedConfigHome home;
  const std::pair<int, const char*> cases[] = {
      {1, "/dev/ttyS0"},    {12, "/dev/ttyS11"},  {32, "/dev/ttyS31"},  {33, "/dev/ttyUSB0"},
      {40, "/dev/ttyUSB7"}, {64, "/dev/ttyUSB31"}, {65, "/dev/ttyACM0"}, {96, "/dev/ttyACM31"},
  };
  for (auto [number, device] : cases) {
    EXPECT_EQ(ComDevicePath(number), device) << number;
    EXPECT_EQ(ComNumberOfDevice(device), number) << device;
  }
  for (int number : {0, -1, 97, 255, 256}) EXPECT_EQ(ComDevicePath(number), "") << number;
  for (const char* device : {"/dev/ttyS32", "/dev/ttyS01", "/dev/ttyUSB", "/dev/ttyAMA0", "/dev/ttyS1x", ""})
    EXPECT_EQ(ComNumberOfDevice(device), 0) << device;
}

TEST(ComResolver, LinkDirFollowsXdgConfigHome) {
  test::ScopedConfigHome home;
  EXPECT_EQ(ComLinkDir(), home.Path() + "/veltrona/com");
  EXPECT_EQ(ComLinkPath(12), home.Path() + "/veltrona/com/COM12");
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string keep = old;
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(ComLinkDir(), std::string(std::getenv("HOME") ? std::getenv("HOME") : "/") + "/.config/veltrona/com");
  ::setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
}

TEST(ComResolver, PinnedLinkWinsBothWays) {
  test::ScopedConfigHome home;
  test::TempDir dir;
  const std::string device = dir / "ttyFAKE0";
  std::ofstream(device).put('x');
  test::LinkCom(12, device);
  EXPECT_EQ(ComDevicePath(12), ComLinkPath(12));
  EXPECT_EQ(std::filesystem::read_symlink(ComLinkPath(12)).string(), device);
  EXPECT_EQ(ComNumberOfDevice(device), 12);
  EXPECT_EQ(ComNumberOfDevice(ComLinkPath(12)), 12);

  // A symlink to the device (as under /dev/serial/by-id) finds the number too.
  const std::string byId = dir / "by-id-register";
  std::filesystem::create_symlink(device, byId);
  EXPECT_EQ(ComNumberOfDevice(byId), 12);

  // Several links: the lowest number; a relinked number no longer reaches its default.
  test::LinkCom(5, device);
  EXPECT_EQ(ComNumberOfDevice(device), 5);
  test::LinkCom(33, device);
  EXPECT_EQ(ComNumberOfDevice("/dev/ttyUSB0"), 0);

  // A dangling link still decides: the pinned device is just absent.
  RemoveComLink(12);
  EXPECT_EQ(ComDevicePath(12), "/dev/ttyS11");
  test::LinkCom(12, dir / "gone");
  EXPECT_EQ(ComDevicePath(12), ComLinkPath(12));
  RemoveComLink(12);
  RemoveComLink(12);  // absent: nothing to do
}

TEST(ComResolver, BadLinkRequestsRaise) {
  test::ScopedConfigHome home;
  EXPECT_THROW(CreateComLink(0, "/dev/ttyS0"), std::runtime_error);
  EXPECT_THROW(CreateComLink(256, "/dev/ttyS0"), std::runtime_error);
  EXPECT_THROW(CreateComLink(3, ""), std::runtime_error);
  EXPECT_THROW(RemoveComLink(-4), std::runtime_error);
}

}  // namespace
}  // namespace zel
