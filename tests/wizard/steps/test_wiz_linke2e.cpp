// OFD link set-up end to end: the virtual register served on a TCP port of 127.0.0.1,
// the settings written through the driver, the register restarted, and the connection
// check reaching it with a driver of its own.
#include <gtest/gtest.h>

#include "emulator/app/EmuServer.h"
#include "wizard/flow/device/LANCheck.h"
#include "wizard/flow/device/NetworkLink.h"
#include "wizard/flow/device/OFDLink.h"

namespace zel {
namespace {

class LinkE2E : public ::testing::Test {
 protected:
  LinkE2E() : emu(Options()) {
    emu.Start();
    port = std::to_string(emu.TcpPort());
    drv.put_ConnectionType(6);
    drv.put_ComputerName("127.0.0.1");
    drv.put_TCPPort(emu.TcpPort());
    drv.put_TCPConnectionTimeout(3000);
  }
  ~LinkE2E() override { emu.Stop(); }

  static emu::TEmuOptions Options() {
    emu::TEmuOptions o;
    o.tcpPort = 0;
    o.listenAddress = "127.0.0.1";
    return o;
  }
  TNetSettings Fixed(ENetKind kind) {
    TNetSettings s;
    s.Kind = kind;
    s.DHCP = false;
    s.IP = "127.0.0.1";
    s.Mask = "255.0.0.0";
    s.Gateway = "127.0.0.1";
    s.Port = port;
    return s;
  }
  void Check(const TCheckTarget& target, std::uint64_t dhcpTimeoutMs = 5000) {
    TLANCheckOptions o;
    o.DhcpTimeoutMs = dhcpTimeoutMs;
    o.ConnectTimeoutMs = 3000;
    RunLANCheck(dev, state, target, o);
  }

  emu::TEmuServer emu;
  std::string port;
  TZelvox drv;
  TDeviceTables dev{drv};
  TTaskState state;
};

TEST_F(LinkE2E, EthernetWithFixedAddressIsReachedAfterTheRestart) {
  TRegParams r;
  r.OFDServer = "ofd.example";
  r.OFDPort = 7790;
  WriteOFDLink(dev, r, true, kFFD105);
  const TCheckTarget t = ApplyNetSettings(dev, Fixed(ENetKind::Ethernet));
  EXPECT_TRUE(emu.Model().NetworkRestartPending());
  emu.Model().Restart();
  Check(t);
  EXPECT_TRUE(state.Succeeded()) << state.Text();
  EXPECT_EQ(state.Text(), "Связь успешно установлена: 127.0.0.1:" + port + "\r\nНажмите \"Далее\"");
  EXPECT_EQ(dev.ReadStr(19, 1, 1), "ofd.example");
  EXPECT_EQ(dev.ReadInt(19, 1, 2), 7790);
}

TEST_F(LinkE2E, EthernetWithDhcpWaitsForTheLeaseThenConnects) {
  ApplyNetSettings(dev, Fixed(ENetKind::Ethernet));  // the address the lease will give
  TNetSettings dhcp;
  dhcp.Port = port;
  ApplyNetSettings(dev, dhcp);
  emu.Model().SetDhcpDelay(200);
  emu.Model().Restart();
  Check({});
  EXPECT_TRUE(state.Succeeded()) << state.Text();
  EXPECT_NE(state.Text().find("127.0.0.1:" + port), std::string::npos);

  emu.Model().SetDhcpState(2);  // the lease never comes
  emu.Model().Restart();
  Check({}, 300);
  EXPECT_FALSE(state.Succeeded());
  EXPECT_EQ(state.Text(), "Не удается получить IP по DHCP 2");
}

TEST_F(LinkE2E, RndisUsesTheTypedAddressAfterTheRestart) {
  const TCheckTarget t = ApplyNetSettings(dev, Fixed(ENetKind::RNDIS));
  EXPECT_EQ(dev.ReadInt(21, 1, 9), 1);
  const int before = emu.Model().Restarts();
  emu.Model().Restart();
  EXPECT_EQ(emu.Model().Restarts(), before + 1);
  Check(t);
  EXPECT_TRUE(state.Succeeded()) << state.Text();
}

}  // namespace
}  // namespace zel
