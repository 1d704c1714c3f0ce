// The wizard steps' work on the in-process virtual register: network link, OFD link,
// connection check, serial number, archive closing, settlement report, report printing.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <netinet/in.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <thread>

#include "emulator/model/CommandHandler.h"
#include "emulator/model/DeviceModel.h"
#include "emulator/model/PaperTape.h"
#include "wizard/flow/device/LANCheck.h"
#include "wizard/flow/device/NetworkLink.h"
#include "wizard/flow/device/OFDLink.h"
#include "wizard/flow/device/ReportPrinting.h"
#include "wizard/flow/device/ServiceSteps.h"

namespace zel {
namespace {

using TCells = std::map<std::pair<int, int>, std::string>;

class StepDevice : public ::testing::Test {
 protected:
  StepDevice() {
    drv.SetInProcessDevice([this](const Bytes& c) {
      ++commands;
      return handler.Handle(c);
    });
  }

  // Every cell of the network tables, as text.
  TCells NetCells() {
    TCells out;
    for (auto [table, count] : {std::pair{16, 18}, {21, 9}, {22, 5}})
      for (int f = 1; f <= count; ++f) {
        if (table == 16 && f == 2) continue;  // DHCP state: the register's own
        out[{table, f}] = dev.ReadStr(table, 1, f);
      }
    return out;
  }
  std::string Cell(int table, int field) { return dev.ReadStr(table, 1, field); }

  void MakeFiscal() {
    auto s = model.Snapshot();
    s.fn.phase = emu::kFnFiscal;
    model.Restore(s);
  }
  std::string Tape() {
    std::string all;
    for (const auto& item : model.Tape()) all += emu::FormatTapeItem(item) + "\n";
    return all;
  }

  emu::TDeviceModel model;
  emu::TCommandHandler handler{model};
  TZelvox drv;
  TDeviceTables dev{drv};
  int commands = 0;
};

TEST_F(StepDevice, EthernetWithDhcpWritesOnlyTheModeAndInterfaceCells) {
  TCells before = NetCells();
  TNetSettings s;
  s.DHCP = true;
  s.IP = "not an address";  // disabled fields are not checked
  s.Port = "7780";
  const TCheckTarget t = ApplyNetSettings(dev, s);
  EXPECT_FALSE(drv.get_Connected());
  TCells after = NetCells();
  before[{16, 1}] = "0";
  before[{21, 3}] = "1";
  before[{21, 4}] = "7780";
  before[{21, 6}] = "0";
  before[{21, 9}] = "0";
  EXPECT_EQ(after, before);
  EXPECT_TRUE(t.IP.empty());
  EXPECT_FALSE(t.IsRNDIS);

  TNetSettings shown = ReadNetSettings(dev, ENetKind::Ethernet);
  EXPECT_TRUE(shown.DHCP);
  EXPECT_EQ(shown.Port, "7780");
}

TEST_F(StepDevice, FixedAddressesGoIntoTheirOctetsAndTheWiFiTexts) {
  TNetSettings s;
  s.DHCP = false;
  s.IP = "192.168.0.20";
  s.Mask = "255.255.255.0";
  s.Gateway = "192.168.0.1";
  s.DNS = "8.8.4.4";
  const TCheckTarget t = ApplyNetSettings(dev, s);
  const std::vector<std::pair<int, const char*>> want = {
      {1, "1"}, {3, "192"}, {4, "168"}, {5, "0"}, {6, "20"}, {7, "192"}, {8, "168"}, {9, "0"}, {10, "1"},
      {11, "255"}, {12, "255"}, {13, "255"}, {14, "0"}, {15, "8"}, {16, "8"}, {17, "4"}, {18, "4"}};
  for (auto [field, value] : want) EXPECT_EQ(Cell(16, field), value) << "16/" << field;
  EXPECT_EQ(t.IP, "192.168.0.20");
  EXPECT_EQ(t.TCPPort, 7779);
  TNetSettings shown = ReadNetSettings(dev, ENetKind::Ethernet);
  EXPECT_FALSE(shown.DHCP);
  EXPECT_EQ(shown.IP, "192.168.0.20");
  EXPECT_EQ(shown.Mask, "255.255.255.0");
  EXPECT_EQ(shown.Gateway, "192.168.0.1");

  TNetSettings w = s;
  w.Kind = ENetKind::WiFi;
  w.WiFiName = "Касса";
  w.WiFiPassword = "пароль 1";
  w.IP = "10.0.0.7";
  ApplyNetSettings(dev, w);
  EXPECT_EQ(Cell(21, 6), "1");
  EXPECT_EQ(Cell(21, 7), "Касса");
  EXPECT_EQ(Cell(21, 8), "пароль 1");
  EXPECT_EQ(Cell(22, 1), "1");
  EXPECT_EQ(Cell(22, 2), "10.0.0.7");
  EXPECT_EQ(Cell(22, 3), "255.255.255.0");
  EXPECT_EQ(Cell(22, 4), "192.168.0.1");
  EXPECT_EQ(Cell(22, 5), "8.8.4.4");
  EXPECT_EQ(ReadNetSettings(dev, ENetKind::WiFi).IP, "10.0.0.7");
}

TEST_F(StepDevice, RefusedInputLeavesEveryTableUntouched) {
  TNetSettings good;
  good.Kind = ENetKind::RNDIS;
  good.IP = "192.168.7.2";
  good.Mask = "255.255.255.0";
  good.Gateway = "192.168.7.1";
  struct Case {
    const char* what;
    std::function<void(TNetSettings&)> change;
  };
  const std::vector<Case> cases = {
      {"port empty", [](TNetSettings& s) { s.Port = ""; }},
      {"port zero", [](TNetSettings& s) { s.Port = "0"; }},
      {"port too big", [](TNetSettings& s) { s.Port = "65536"; }},
      {"ip octet", [](TNetSettings& s) { s.IP = "192.168.7.256"; }},
      {"ip short", [](TNetSettings& s) { s.IP = "192.168.7"; }},
      {"mask text", [](TNetSettings& s) { s.Mask = "255.255.255.x"; }},
      {"gateway empty", [](TNetSettings& s) { s.Gateway = ""; }},
      {"dns bad", [](TNetSettings& s) { s.DNS = "1..2.3"; }},
      {"wifi without name", [](TNetSettings& s) { s.Kind = ENetKind::WiFi; s.DHCP = true; s.WiFiName = ""; }},
  };
  const TCells before = NetCells();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TNetSettings s = good;
    c.change(s);
    const int sent = commands;
    EXPECT_THROW(ApplyNetSettings(dev, s), std::runtime_error);
    EXPECT_EQ(commands, sent) << "nothing reaches the register";
  }
  EXPECT_EQ(NetCells(), before);
}

TEST_F(StepDevice, RndisWritesFixedAddressAndTheCheckUsesTheTypedOne) {
  TNetSettings s;
  s.Kind = ENetKind::RNDIS;
  s.DHCP = true;  // RNDIS ignores the box
  s.IP = "192.168.7.2";
  s.Mask = "255.255.255.0";
  s.Gateway = "192.168.7.1";
  s.Port = "7001";
  const TCheckTarget t = ApplyNetSettings(dev, s);
  EXPECT_EQ(Cell(16, 1), "1");
  EXPECT_EQ(Cell(21, 9), "1");
  EXPECT_TRUE(t.IsRNDIS);
  EXPECT_TRUE(model.NetworkRestartPending());
  model.Restart();  // the operator restarts the register while the information box is open
  EXPECT_FALSE(model.NetworkRestartPending());

  // After the restart the register is reached at the typed address without any table read.
  TTaskState state;
  std::string reached;
  TLANCheckOptions o;
  o.Connect = [&](const std::string& a, int p, int, std::string&) {
    reached = a + ":" + std::to_string(p);
    return 0;
  };
  const int sent = commands;
  RunLANCheck(dev, state, t, o);
  EXPECT_EQ(commands, sent);
  EXPECT_TRUE(state.Succeeded()) << state.Text();
  EXPECT_EQ(reached, "192.168.7.2:7001");
  EXPECT_EQ(state.Text(), "Связь успешно установлена: 192.168.7.2:7001\r\nНажмите \"Далее\"");
}

TEST_F(StepDevice, CheckOverDhcpWaitsForTheAddressAndReportsATimeout) {
  TNetSettings s;
  s.Port = "7780";
  ApplyNetSettings(dev, s);
  TLANCheckOptions o;
  o.DhcpTimeoutMs = 200;
  std::string reached;
  o.Connect = [&](const std::string& a, int p, int, std::string&) {
    reached = a + ":" + std::to_string(p);
    return 0;
  };

  // After the restart the register asks for an address; the check waits until it has one.
  model.SetDhcpDelay(150);
  model.Restart();
  o.DhcpTimeoutMs = 5000;
  TTaskState ok;
  RunLANCheck(dev, ok, {}, o);
  EXPECT_TRUE(ok.Succeeded()) << ok.Text();
  EXPECT_GE(ok.TimeElapsed(), 100u) << "waited for the lease";
  EXPECT_EQ(reached, "192.168.137.111:7780");
  o.DhcpTimeoutMs = 200;
  EXPECT_FALSE(drv.get_Connected());

  model.SetDhcpState(3);
  TTaskState late;
  RunLANCheck(dev, late, {}, o);
  EXPECT_FALSE(late.Succeeded());
  EXPECT_EQ(late.Text(), "Не удается получить IP по DHCP 3");

  TTaskState stopped;
  o.DhcpTimeoutMs = 60000;
  std::thread stopper([&] {
    while (!stopped.IsRunning() && !stopped.Completed()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    stopped.Stop("Операция прервана", false);
  });
  RunLANCheck(dev, stopped, {}, o);
  stopper.join();
  EXPECT_FALSE(stopped.Succeeded());
  EXPECT_EQ(stopped.Text(), "Операция отменена");
}

TEST_F(StepDevice, RefusedConnectionIsReportedWithTheAddress) {
  // A port that was just free: nothing listens there.
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  socklen_t len = sizeof a;
  getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  const int port = ntohs(a.sin_port);
  close(fd);

  TTaskState state;
  TLANCheckOptions o;
  o.ConnectTimeoutMs = 2000;
  RunLANCheck(dev, state, {"127.0.0.1", port, true}, o);
  EXPECT_FALSE(state.Succeeded());
  const std::string prefix = "Ошибка подключения к : 127.0.0.1:" + std::to_string(port) + ", ";
  EXPECT_EQ(state.Text().rfind(prefix, 0), 0u) << state.Text();
  EXPECT_NE(state.Text().find("Проверьте настройки сети"), std::string::npos);
}

TEST_F(StepDevice, OfdLinkSetUpWritesWhatTheOfdStepCollected) {
  TRegParams r;
  StoreOFDFields({"ofd.example", "7790", "ОФД", "www.ofd.example", "7701234560", "www.nalog.gov.ru", "km.example",
                  "7791", "a@b.c"},
                 r);
  WriteOFDLink(dev, r, true, kFFD12);
  EXPECT_FALSE(drv.get_Connected());
  TOFDFields fromDevice = ReadOFDFields(dev, TRegParams{}, true, kFFD12);
  EXPECT_EQ(fromDevice.OFDServer, "ofd.example");
  EXPECT_EQ(fromDevice.OFDPort, "7790");
  EXPECT_EQ(fromDevice.ServerKM, "km.example");
  EXPECT_EQ(fromDevice.PortKM, "7791");
  EXPECT_EQ(fromDevice.TaxOfficeURL, "www.nalog.gov.ru");

  // Values in the record win over the register's; the server is not read when the OFD is off.
  TRegParams partly;
  partly.OFDName = "Из записи";
  TOFDFields mixed = ReadOFDFields(dev, partly, false, kFFD105);
  EXPECT_EQ(mixed.OFDName, "Из записи");
  EXPECT_EQ(mixed.OFDServer, "");
  EXPECT_EQ(mixed.OFDPort, "");
  EXPECT_EQ(mixed.ServerKM, "");
}

TEST_F(StepDevice, SerialIsWrittenOnceAndOnlyWhenItIsAValidNumber) {
  EXPECT_FALSE(ReadSerialState(dev).Entered);
  EXPECT_EQ(EnterSerial(dev, "").Outcome, ESerialEntry::Nothing);
  for (const char* bad : {"0000000000", "12;34;00A1", "123456789012345678901"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(EnterSerial(dev, bad), std::runtime_error);
  }
  EXPECT_FALSE(ReadSerialState(dev).Entered);

  const TSerialEntryResult written = EnterSerial(dev, "12;34;0012345678");
  EXPECT_EQ(written.Outcome, ESerialEntry::Written);
  EXPECT_EQ(ReadSerialState(dev).Serial, "0012345678");
  EXPECT_FALSE(drv.get_Connected());

  const TSerialEntryResult again = EnterSerial(dev, "99");
  EXPECT_EQ(again.Outcome, ESerialEntry::AlreadyEntered);
  EXPECT_EQ(again.Message, "Заводской номер уже введен!\r\n0012345678");
  EXPECT_EQ(ReadSerialState(dev).Serial, "0012345678");
}

TEST_F(StepDevice, ArchiveClosesOncePerPassAndKeepsItsOutcome) {
  TArchiveCloser closer;
  const TArchiveClosing failed = closer.Close(dev);  // FN not in fiscal mode
  EXPECT_FALSE(failed.Succeeded());
  EXPECT_EQ(failed.Text.rfind("Ошибка при закрытии архива ФН: ", 0), 0u) << failed.Text;

  closer.NewPass();
  MakeFiscal();
  WriteCashierName(dev, "Иванов, администратор");
  EXPECT_EQ(dev.ReadStr(2, 30, 2), "Иванов, администратор");
  const std::size_t docs = model.Snapshot().fn.documents.size();
  EXPECT_TRUE(closer.Close(dev, true).Succeeded());
  const TArchiveClosing shownAgain = closer.Close(dev, true);
  EXPECT_TRUE(shownAgain.Succeeded()) << "the step shown again keeps the outcome";
  EXPECT_EQ(shownAgain.Text, "Архив ФН успешно закрыт ");
  EXPECT_EQ(model.Snapshot().fn.documents.size(), docs + 1);
  ASSERT_TRUE(shownAgain.HasX5) << shownAgain.X5Error;
  const emu::TFnDocument closing = model.Snapshot().fn.documents.back();
  EXPECT_EQ(shownAgain.X5.DocNumber, static_cast<int>(closing.number));
  EXPECT_EQ(shownAgain.X5.FiscalSign, std::to_string(closing.fiscalSign));
  EXPECT_EQ(shownAgain.X5.Cashier, "");  // table 18 field 8 of an unregistered register
  EXPECT_EQ(shownAgain.X5.FFD, 4);
  EXPECT_GT(shownAgain.X5.DateTime.Year, 2000);
  const std::vector<std::string> lines = X5CloseReportLines(shownAgain.X5);
  EXPECT_EQ(lines.front(), "Отчёт о закрытии архива");
  EXPECT_EQ(model.Snapshot().fn.phase, emu::kFnPostFiscal);
  EXPECT_THROW(WriteCashierName(dev, ""), std::runtime_error);
}

TEST_F(StepDevice, SettlementReportPrintsOrRaisesTheDriverText) {
  try {
    PrintCalculationStateReport(dev);
    ADD_FAILURE() << "no report outside fiscal mode";
  } catch (const EDriverCheck& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Ошибка " + std::to_string(e.Code()) + ", ", 0), 0u) << e.what();
  }
  MakeFiscal();
  EXPECT_EQ(PrintCalculationStateReport(dev), "Отчет успешно распечатан");
  EXPECT_NE(Tape().find("ОТЧЕТ О ТЕКУЩЕМ СОСТОЯНИИ РАСЧЕТОВ"), std::string::npos);
}

TEST_F(StepDevice, ReportPrintingRetriesBusyAnswersAndReportsFailures) {
  EXPECT_EQ(ReportWidth(dev), 48);
  int pauses = 0;
  TPrintOptions o;
  o.Sleep = [&](std::chrono::milliseconds) { ++pauses; };

  model.SetBusy(80, 3);
  PrintReport(dev, {"ПЕРВАЯ СТРОКА", "ВТОРАЯ СТРОКА"}, o);
  EXPECT_EQ(pauses, 3);
  const std::string tape = Tape();
  ASSERT_NE(tape.find("ПЕРВАЯ СТРОКА"), std::string::npos) << tape;
  EXPECT_LT(tape.find("ПЕРВАЯ СТРОКА"), tape.find("ВТОРАЯ СТРОКА")) << tape;
  EXPECT_LT(tape.find("ВТОРАЯ СТРОКА"), tape.find("8<")) << "fed and cut after the lines";
  EXPECT_FALSE(drv.get_Connected());

  pauses = 0;
  model.SetBusy(75, 100);
  try {
    PrintReport(dev, {"ТРЕТЬЯ"}, o);
    ADD_FAILURE() << "busy past the attempts must be reported";
  } catch (const EDriverCheck& e) {
    EXPECT_EQ(e.Code(), 75);
  }
  EXPECT_EQ(pauses, 5);
  model.SetBusy(0, 0);

  drv.put_Password(12345);  // no such operator: refused, not busy
  EXPECT_THROW(PrintReport(dev, {"ЧЕТВЕРТАЯ"}, o), EDriverCheck);
  EXPECT_EQ(Tape().find("ЧЕТВЕРТАЯ"), std::string::npos);
  EXPECT_FALSE(drv.get_Connected());
}

}  // namespace
}  // namespace zel
