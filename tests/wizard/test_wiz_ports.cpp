#include <gtest/gtest.h>

#include "tests/support/PtyPair.h"
#include "tests/support/TempConfig.h"
#include "wizard/device/core/ComportUtils.h"

namespace zel {
namespace {

TEST(ComNumberFromName, ReadsTheFirstComPart) {
  const struct {
    const char* Name;
    int Number;
  } cases[] = {
      {"USB-SERIAL CH340 (COM12)", 12},
      {"Communications Port (COM1)", 1},
      {"Dual (COM3) (COM4)", 3},
      {"Printer Port (LPT1)", -1},
      {"Odd (LPT1) (COM5)", -1},
      {"No parentheses", -1},
      {"Unclosed (COM7", -1},
      {"Empty (COM)", -1},
      {"Letters (COMx)", -1},
      {"Blank (COM 7)", -1},
      {"Huge (COM99999999999)", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(ComNumberFromName(c.Name), c.Number) << c.Name;
}

TEST(ParseVidPid, ReadsFourHexDigitsAfterVidAndPid) {
  const struct {
    const char* HW;
    std::uint16_t Vid, Pid;
  } cases[] = {
      {"USB\\VID_1234&PID_ABCD&REV_0100", 0x1234, 0xABCD},
      {"usb\\vid_1234&pid_abcd&rev_0100", 0x1234, 0xABCD},
      {"ACPI\\PNP0501", 0, 0},
      {"USB\\PID_ABCD", 0, 0},  // PID only counts after a VID
      {"USB\\VID_12G4&PID_0001", 0, 1},
      {"USB\\VID_0E8D&PID_20", 0x0E8D, 0},
  };
  for (const auto& c : cases) {
    const TVidPid v = ParseVidPid(c.HW);
    EXPECT_EQ(v.Vid, c.Vid) << c.HW;
    EXPECT_EQ(v.Pid, c.Pid) << c.HW;
  }
}

TEST(MakePortRec, BuildsNamesTheParsersReadBack) {
  TTtyDeviceInfo usb{"/dev/ttyUSB0", "FT232R_USB_UART (COM1)", "0e8d", "2012", ""};
  const TSerialPortRec rec = MakePortRec(usb, 33);
  EXPECT_EQ(rec.ComNumber, 33);  // a product text cannot forge another number
  EXPECT_EQ(rec.Name, "COM33");
  EXPECT_EQ(rec.FriendlyName.substr(rec.FriendlyName.size() - 7), "(COM33)");
  EXPECT_EQ(GetVID(rec), 0x0E8D);
  EXPECT_EQ(GetPID(rec), 0x2012);

  const TSerialPortRec uart = MakePortRec({"/dev/ttyS0", "", "", "", "pci-0000:00:16.3"}, 1);
  EXPECT_EQ(uart.FriendlyName, "ttyS0 (COM1)");
  EXPECT_EQ(GetVID(uart), 0);
}

TEST(EnumPorts, ListsPinnedPortsWhoseDeviceExists) {
  test::ScopedConfigHome home;
  test::PtyPair pty;
  test::LinkCom(200, pty.SlavePath());
  test::LinkCom(201, home.Path() + "/missing-device");

  TSerialPorts ports;
  ports.Add({"COM999", "stale", "", 999, ""});
  ports.EnumPorts();
  EXPECT_EQ(ports.IndexOfComNumber(999), -1);  // cleared first
  EXPECT_EQ(ports.IndexOfComNumber(201), -1);
  const int i = ports.IndexOfComNumber(200);
  ASSERT_GE(i, 0);
  EXPECT_EQ(ports[i].Name, "COM200");
  EXPECT_EQ(ComNumberFromName(ports[i].FriendlyName), 200);
  for (int k = 1; k < ports.Count(); ++k) EXPECT_LE(ports[k - 1].ComNumber, ports[k].ComNumber);
}

}  // namespace
}  // namespace zel
