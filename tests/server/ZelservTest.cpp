// Port sharing, locks, timers and the server object's members, over fake
// serial ports and engines.
#include <gtest/gtest.h>

#include <unistd.h>

#include <future>
#include <memory>
#include <thread>

#include "common/Translate.h"
#include "server/core/PrinterPort.h"
#include "server/core/ServerTexts.h"
#include "server/core/Zelserv.h"
#include "tests/server/FakeDevice.h"
#include "tests/server/TestEnv.h"

namespace zel {
namespace {

using test::TFakeFactory;
using test::WaitFor;

class ZelservTest : public ::testing::Test {
 protected:
  TFakeFactory FFakes;
  TPrinterPortsLink FPorts;  // keeps the registry alive between clients
};

TEST_F(ZelservTest, ClientsOfOnePortShareObjectSerialPortAndEngineUntilBothRelease) {
  auto a = std::make_unique<TZelserv>();
  auto b = std::make_unique<TZelserv>();
  ASSERT_EQ(a->OpenPort(3, 6, 100), 0);
  ASSERT_EQ(b->OpenPort(3, 2, 200), 0);
  EXPECT_EQ(a->Port(), b->Port());
  EXPECT_EQ(FPorts.Owner().Count(), 1);
  EXPECT_EQ(a->Port()->LinkCount(), 2);
  EXPECT_EQ(a->Port()->BaudRate(), 6) << "the second client found the port open";
  auto& device = FFakes.Device(3);
  EXPECT_EQ(device.SerialPortsMade, 1);
  EXPECT_EQ(device.EnginesMade, 1);

  const int portID = a->Port()->ID();
  a.reset();
  ASSERT_NE(FPorts.Owner().ItemByID(portID), nullptr) << "B still uses the port";
  b.reset();
  EXPECT_EQ(FPorts.Owner().ItemByID(portID), nullptr);
  EXPECT_EQ(FPorts.Owner().Count(), 0);
  EXPECT_FALSE(device.Opened);
}

TEST_F(ZelservTest, LockRefusesOthersWithHolderDescriptionButTheirCommandsPass) {
  TZelserv a, b;
  a.Connect(4242, "Cash desk", "SHOP-1");
  b.Connect(77, "Back office", "SHOP-2");
  ASSERT_EQ(a.LockPort(3), 0);
  EXPECT_EQ(a.LockPort(3), 0) << "the holder may lock again";

  EXPECT_EQ(b.LockPort(3), -18);
  EXPECT_EQ(b.ResultDescription(), "Порт заблокирован SHOP-1.4242.'Cash desk'");
  EXPECT_EQ(b.ResultCode(), 0) << "a refused lock leaves ResultCode alone";

  int rc = -99;
  EXPECT_EQ(b.SendData(1000, "1100", rc), "110000");
  EXPECT_EQ(rc, 0);
  EXPECT_EQ(b.UnlockPort(), -18) << "only the holder unlocks";
  EXPECT_TRUE(a.Port()->Locked());
  EXPECT_EQ(a.UnlockPort(), 0);
  EXPECT_FALSE(a.Port()->Locked());
  EXPECT_EQ(b.LockPort(3), 0);
}

TEST_F(ZelservTest, UnlockPortByHolderOrAdministratorOnly) {
  TZelserv holder;
  ASSERT_EQ(holder.LockPort(3), 0);
  auto port = holder.Port();
  const struct {
    int id;
    bool unlocks;
  } cases[] = {{holder.ID() + 1000, false}, {holder.ID(), true}, {0, true}};
  for (const auto& c : cases) {
    ASSERT_TRUE(port->LockPort({holder.ID(), 1, "a", "b"}));
    EXPECT_EQ(port->UnlockPort(c.id), c.unlocks) << c.id;
    EXPECT_EQ(port->Locked(), !c.unlocks) << c.id;
  }
}

TEST_F(ZelservTest, ReleasedClientDropsItsLockAndClosesThePort) {
  auto a = std::make_unique<TZelserv>();
  TZelserv b;
  ASSERT_EQ(a->OpenPort(3, 2, 100), 0);
  ASSERT_EQ(a->LockPort(3), 0);
  ASSERT_EQ(b.OpenPort(3, 2, 100), 0);
  a.reset();
  EXPECT_FALSE(b.Port()->Locked());
  EXPECT_FALSE(FFakes.Device(3).Opened);
  EXPECT_EQ(b.LockPort(3), 0);
  int rc = -1;
  EXPECT_EQ(b.SendData(100, "10", rc), "1000") << "the next command reopens the port";
}

TEST_F(ZelservTest, AdminUnlockWorksForAnyClientAndForUnusedPorts) {
  TZelserv a, admin;
  ASSERT_EQ(a.LockPort(3), 0);
  EXPECT_EQ(admin.AdminUnlockPort(9), 0);
  EXPECT_EQ(FPorts.Owner().ItemByPortNumber(9), nullptr) << "no port is created for it";
  EXPECT_EQ(admin.AdminUnlockPort(3), 0);
  EXPECT_FALSE(a.Port()->Locked());
  ASSERT_EQ(a.LockPort(3), 0);
  EXPECT_EQ(admin.AdminUnlockPorts(), 0);
  EXPECT_FALSE(a.Port()->Locked());
}

TEST_F(ZelservTest, ResultCodeIsTheAnswersErrorByte) {
  const struct {
    Bytes answer;
    int code;
  } cases[] = {
      {{0x80, 0x00, 0x01}, 0},        {{0x80, 0x45}, 0x45},
      {{0xFF, 0x01, 0x2A, 0x00}, 0x2A}, {{0x80, 0x45, 0x01}, 0x45},
      {{0x80}, 0},                    {{0xFF, 0x01}, 0},
      {{}, 0},
  };
  TZelserv client;
  ASSERT_EQ(client.OpenPort(1, 2, 100), 0);
  for (const auto& c : cases) {
    FFakes.Device(1).Responder = [&](const Bytes&) { return c.answer; };
    int rc = -99;
    client.SendData(1000, "80", rc);
    EXPECT_EQ(rc, c.code) << ::testing::PrintToString(c.answer);
    EXPECT_EQ(client.ResultCode(), c.code);
  }
}

TEST_F(ZelservTest, SendDataDecodesHexAndAnswersInLowerCase) {
  TZelserv client;
  int rc = -99;
  EXPECT_EQ(client.SendData(1000, "fc", rc), "") << "no port yet";
  EXPECT_EQ(rc, 0);
  EXPECT_EQ(FPorts.Owner().Count(), 0);

  ASSERT_EQ(client.OpenPort(1, 2, 100), 0);
  FFakes.Device(1).Responder = [](const Bytes& c) { return Bytes{c.at(0), 0x00, 0xAB, 0xCD}; };
  const struct {
    const char* tx;
    int rc;
    Bytes sent;  // empty: nothing reached the engine
    const char* answer;
  } cases[] = {
      {"fc", 0, {0xFC}, "fc00abcd"},
      {"FC", 0, {0xFC}, "fc00abcd"},
      {"fc0", 0, {0xFC}, "fc00abcd"},
      {"fg", -8, {}, ""},
      {"f c", -8, {}, ""},
  };
  for (const auto& c : cases) {
    FFakes.Device(1).TakeCommands();
    EXPECT_EQ(client.SendData(1000, c.tx, rc), c.answer) << c.tx;
    EXPECT_EQ(rc, c.rc) << c.tx;
    const auto sent = FFakes.Device(1).TakeCommands();
    if (c.sent.empty()) {
      EXPECT_TRUE(sent.empty()) << c.tx;
      EXPECT_EQ(client.ResultDescription(), "Неверный формат данных");
    } else {
      ASSERT_EQ(sent.size(), 1u) << c.tx;
      EXPECT_EQ(sent[0], c.sent) << c.tx;
      EXPECT_EQ(client.RawTxData(), "02fc");
      EXPECT_EQ(client.RawAnswer(), "0602fc00abcd");
    }
  }
}

TEST_F(ZelservTest, FailedOpenLeavesResultCodeWhileLaterSuccessResetsOnlyTheText) {
  TZelserv client;
  FFakes.Device(2).OpenError = -2;
  EXPECT_EQ(client.OpenPort(2, 2, 100), -2);
  EXPECT_EQ(client.ResultCode(), -2);
  FFakes.Device(2).OpenError = 0;
  EXPECT_EQ(client.OpenPort(2, 2, 100), 0);
  EXPECT_EQ(client.ResultCode(), -2);
  EXPECT_EQ(client.ResultDescription(), "Ошибок нет");
}

TEST_F(ZelservTest, UnpluggedDeviceGivesNoLinkAndRecoversWhenBack) {
  TZelserv client;
  ASSERT_EQ(client.OpenPort(1, 2, 100), 0);
  FFakes.Device(1).Unplugged = true;
  int rc = 0;
  EXPECT_EQ(client.SendData(1000, "10", rc), "");
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(client.ResultCode(), -1);
  EXPECT_EQ(client.ResultDescription(), "Нет связи");
  FFakes.Device(1).Unplugged = false;
  EXPECT_EQ(client.SendData(1000, "10", rc), "1000");
  EXPECT_EQ(rc, 0);
}

TEST_F(ZelservTest, FirstClientsProtocolTypeWinsAndMovingToAnotherPortFreesTheOld) {
  TZelserv a, b;
  a.SetProtocolType(1);
  b.SetProtocolType(2);
  ASSERT_EQ(a.OpenPort(5, 2, 100), 0);
  ASSERT_EQ(b.OpenPort(5, 2, 100), 0);
  EXPECT_EQ(FFakes.Device(5).ProtocolType, 1);
  EXPECT_EQ(b.Port()->ProtocolType(), 1);

  ASSERT_EQ(a.OpenPort(6, 2, 100), 0);
  ASSERT_EQ(b.OpenPort(6, 2, 100), 0);
  EXPECT_EQ(FPorts.Owner().ItemByPortNumber(5), nullptr);
  EXPECT_EQ(FFakes.Device(6).ProtocolType, 1);
}

TEST_F(ZelservTest, OnePortSerialisesItsClientsWhileOtherPortsRunInParallel) {
  // Port 1's exchange waits for port 2's: it can only finish if the two run at once.
  std::promise<void> port2Done;
  auto port2Future = port2Done.get_future().share();
  FFakes.Device(1).Responder = [port2Future](const Bytes& c) {
    const bool parallel = port2Future.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    return Bytes{c.at(0), static_cast<std::uint8_t>(parallel ? 0 : 0x55)};
  };
  FFakes.Device(2).Responder = [&](const Bytes& c) {
    port2Done.set_value();
    return Bytes{c.at(0), 0};
  };
  TZelserv one, two;
  ASSERT_EQ(one.OpenPort(1, 2, 100), 0);
  ASSERT_EQ(two.OpenPort(2, 2, 100), 0);
  int rc1 = -1, rc2 = -1;
  std::thread t([&] { one.SendData(1000, "10", rc1); });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  two.SendData(1000, "10", rc2);
  t.join();
  EXPECT_EQ(rc1, 0);
  EXPECT_EQ(rc2, 0);

  // Eight clients on one port: the engine never sees two exchanges at once.
  FFakes.Device(4).DelayMs = 2;
  std::vector<std::thread> clients;
  for (int i = 0; i < 8; ++i)
    clients.emplace_back([] {
      TZelserv c;
      c.OpenPort(4, 2, 100);
      for (int n = 0; n < 20; ++n) {
        int rc;
        c.SendData(1000, "11", rc);
      }
    });
  for (auto& c : clients) c.join();
  EXPECT_EQ(FFakes.Device(4).Sends, 160);
  EXPECT_EQ(FFakes.Device(4).MaxInFlight, 1);
}

TEST_F(ZelservTest, ClientListFollowsConnectAndRelease) {
  std::vector<std::pair<int, TChangeType>> events;
  std::mutex m;
  TClientsLink clients;
  clients.Owner().SetOnChange([&](int id, TChangeType t) {
    std::lock_guard lock(m);
    events.emplace_back(id, t);
  });
  auto a = std::make_unique<TZelserv>();
  TZelserv b;
  a->Connect(1, "a", "host");
  a->Connect(2, "a2", "host");
  b.Connect(3, "b", "host");
  EXPECT_EQ(clients.Owner().Count(), 2);
  EXPECT_EQ(clients.Owner().IndexOf(b.ID()), 1);
  const int aID = a->ID();
  a.reset();
  EXPECT_EQ(clients.Owner().Count(), 1);
  EXPECT_EQ(clients.Owner().IndexOf(b.ID()), 0);
  clients.Owner().SetOnChange(nullptr);
  const std::vector<std::pair<int, TChangeType>> expected = {
      {aID, TChangeType::ctInsert}, {b.ID(), TChangeType::ctInsert}, {aID, TChangeType::ctRemove}};
  EXPECT_EQ(events, expected);
}

TEST_F(ZelservTest, VersionAndComputerName) {
  TZelserv client;
  EXPECT_EQ(client.FileVersion(), ZEL_VERSION);
  char host[256] = {};
  gethostname(host, sizeof host - 1);
  EXPECT_EQ(client.GetComputerName(), std::string(host).substr(0, 15));
}

TEST_F(ZelservTest, TextsHaveEnglishTranslations) {
  SetLanguage("en");
  for (const char* text : {kTextNoErrors, kTextPortLocked, kTextBadDataFormat, kTextCloseTimeout, kTextDropClients}) {
    const std::string english = Tr(text);
    EXPECT_NE(english, text);
    EXPECT_EQ(english.find_first_of("\xD0\xD1"), std::string::npos) << english << " still has Cyrillic";
  }
  TZelserv a, b;
  a.Connect(9, "app", "pc");
  ASSERT_EQ(a.LockPort(3), 0);
  EXPECT_EQ(b.LockPort(3), -18);
  EXPECT_EQ(b.ResultDescription(), "Port is locked pc.9.'app'");
  SetLanguage("");
}

// ---- inactivity timer ------------------------------------------------------

Bytes StatusAnswer(std::uint8_t mode) {
  Bytes a(2 + TStatusRec::kSize, 0);
  a[0] = 0x11;
  a[2 + TStatusRec::kModeFrOffset] = mode;
  return a;
}

TEST_F(ZelservTest, WithoutAutoPortCloseNoTimerRuns) {
  TServerSettings s;
  s.AutoPortClose = false;
  s.AutoRecCancel = true;
  s.CloseTimeout = 50;
  test::TScopedSettings scoped(s);
  TZelserv client;
  ASSERT_EQ(client.OpenPort(1, 2, 100), 0);
  client.OpenCheck(1, 30);
  ASSERT_EQ(client.LockPort(1), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(client.Port()->Locked());
  EXPECT_FALSE(client.Port()->TimerRunning());
  EXPECT_TRUE(FFakes.Device(1).TakeCommands().empty());
}

TEST_F(ZelservTest, SilenceCancelsAnOpenReceiptAndUnlocks) {
  TServerSettings s;
  s.AutoPortClose = true;
  s.AutoRecCancel = true;
  s.CloseTimeout = 150;
  test::TScopedSettings scoped(s);
  const struct {
    std::uint8_t mode;
    bool cancels;
  } cases[] = {{8, true}, {0x18, true}, {4, false}};
  for (const auto& c : cases) {
    auto& device = FFakes.Device(c.mode);
    device.Responder = [&](const Bytes& cmd) {
      return cmd.at(0) == 0x11 ? StatusAnswer(c.mode) : Bytes{cmd.at(0), 0};
    };
    TZelserv client;
    ASSERT_EQ(client.OpenPort(c.mode, 2, 100), 0);
    ASSERT_EQ(client.OpenCheck(c.mode, 0x0102031E), 0);
    ASSERT_EQ(client.LockPort(c.mode), 0);
    ASSERT_TRUE(WaitFor([&] { return !client.Port()->Locked(); }, 5000)) << int(c.mode);
    std::vector<Bytes> expected = {{0x11, 0x1E, 0x03, 0x02, 0x01}};
    if (c.cancels) expected.push_back({0x88, 0x1E, 0x03, 0x02, 0x01});
    auto sent = device.TakeCommands();  // the periodic timer may have read the status again
    ASSERT_GE(sent.size(), expected.size()) << int(c.mode);
    sent.resize(expected.size());
    EXPECT_EQ(sent, expected) << int(c.mode);
    EXPECT_EQ(client.Port()->CheckOpened(), !c.cancels);
    EXPECT_EQ(client.Port()->Status().ModeFr(), c.mode);
    EXPECT_EQ(client.Port()->CommandCode(), c.cancels ? 0x88 : 0x11);
  }
}

TEST_F(ZelservTest, ActivityPostponesTheTimerAndAFailingStatusReadStillUnlocks) {
  TServerSettings s;
  s.AutoPortClose = true;
  s.AutoRecCancel = true;
  s.CloseTimeout = 1000;
  test::TScopedSettings scoped(s);
  TZelserv client;
  ASSERT_EQ(client.OpenPort(1, 2, 100), 0);
  ASSERT_EQ(client.LockPort(1), 0);
  // Commands every 60 ms keep the lock for well over one timeout.
  for (int i = 0; i < 30; ++i) {
    int rc;
    client.SendData(1000, "10", rc);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
  }
  EXPECT_TRUE(client.Port()->Locked());

  client.OpenCheck(1, 1);
  FFakes.Device(1).Unplugged = true;
  FFakes.Device(1).TakeCommands();
  EXPECT_TRUE(WaitFor([&] { return !client.Port()->Locked(); }, 5000));
  const auto sent = FFakes.Device(1).TakeCommands();
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent[0][0], 0x11) << "status read tried";
  for (const Bytes& c : sent) EXPECT_NE(c[0], 0x88) << "no cancel without a status";
  EXPECT_TRUE(client.Port()->CheckOpened());
}

}  // namespace
}  // namespace zel
