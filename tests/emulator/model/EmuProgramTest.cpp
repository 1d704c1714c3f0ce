// zelvox-emu as a process: a host engine on its pty (as a COM number), a raw
// client on its TCP port, the state file across a restart, fault switches.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/ComPort.h"
#include "common/ComResolver.h"
#include "driver/catalogue/Commands.h"
#include "server/protocol/PrinterProtocolFactory.h"
#include "tests/support/EmuProcess.h"

namespace zel::emu {
namespace {

namespace fs = std::filesystem;
constexpr int kCom = 91;

// This build's zelvox-emu; Ready() gives the lines it announced.
class TEmuProcess : public test::TEmuProcess {
 public:
  explicit TEmuProcess(const std::vector<std::string>& args) : test::TEmuProcess(ZEL_EMU_PATH, args) {}
  std::map<std::string, std::string> Ready() {
    if (WaitReady()) return Announced();
    ADD_FAILURE() << "zelvox-emu did not get ready";
    return {};
  }
};

// The host end over COM kCom with the ENQ engine.
class THost {
 public:
  explicit THost(int protocolType = 0) {
    params_->ProtocolType = protocolType;
    params_->ComNumber = kCom;
    params_->BaudRate = 6;
    params_->Timeout = 200;
    port_ = std::make_shared<TComPort>(params_);
    port_->Open();
    engine_ = GetProtocolFactory(protocolType).Instance(port_, params_);
  }
  // Error byte of the answer and its fields.
  std::pair<int, TFieldMap> Call(const char* method, TFieldMap fields = {}) {
    const TCommandDef* cmd = FindCommand(method);
    if (!fields.count("Password")) fields["Password"] = std::int64_t{30};
    TCommandRec rec;
    rec.Command = EncodeRequest(*cmd, fields);
    rec.Timeout = 2000;
    engine_->Send(rec);
    const int error = AnswerError(cmd->Code, rec.Answer);
    return {error, error == 0 ? DecodeAnswer(*cmd, rec.Answer) : TFieldMap{}};
  }

 private:
  std::shared_ptr<TConnectionParams> params_ = std::make_shared<TConnectionParams>();
  std::shared_ptr<TComPort> port_;
  std::unique_ptr<IPrinterProtocol> engine_;
};

class EmuProgramTest : public ::testing::Test {
 protected:
  EmuProgramTest() {
    dir_ = fs::path(::testing::TempDir()) / ("emu_program_" + std::to_string(getpid()));
    fs::create_directories(dir_);
    setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);  // COM links of this test only
  }
  ~EmuProgramTest() override { fs::remove_all(dir_); }
  fs::path dir_;
};

int Mode(THost& host) {
  auto [error, f] = host.Call("GetECRStatus");
  return error == 0 ? static_cast<int>(std::get<std::int64_t>(f.at("ECRMode"))) : -1;
}

// One ENQ-framed exchange by hand over a socket.
Bytes TcpExchange(int fd, const Bytes& command) {
  auto readByte = [fd]() -> int {
    pollfd p{fd, POLLIN, 0};
    std::uint8_t b = 0;
    return poll(&p, 1, 3000) == 1 && read(fd, &b, 1) == 1 ? b : -1;
  };
  const std::uint8_t enq = 0x05;
  EXPECT_EQ(write(fd, &enq, 1), 1);
  EXPECT_EQ(readByte(), 0x15) << "idle register answers ENQ with NAK";
  Bytes frame{0x02, static_cast<std::uint8_t>(command.size())};
  frame.insert(frame.end(), command.begin(), command.end());
  std::uint8_t lrc = 0;
  for (std::size_t i = 1; i < frame.size(); ++i) lrc ^= frame[i];
  frame.push_back(lrc);
  EXPECT_EQ(write(fd, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
  EXPECT_EQ(readByte(), 0x06);
  EXPECT_EQ(readByte(), 0x02);
  const int len = readByte();
  Bytes answer;
  for (int i = 0; i < len; ++i) answer.push_back(static_cast<std::uint8_t>(readByte()));
  readByte();  // LRC
  const std::uint8_t ack = 0x06;
  EXPECT_EQ(write(fd, &ack, 1), 1);
  return answer;
}

TEST_F(EmuProgramTest, RegisteredRegisterStaysRegisteredAcrossARestart) {
  const std::string state = (dir_ / "state.txt").string(), tape = (dir_ / "tape.txt").string();
  std::vector<std::string> args = {"--com", std::to_string(kCom), "--tcp", "0", "--state", state, "--tape", tape};
  {
    TEmuProcess emu(args);
    auto lines = emu.Ready();
    ASSERT_EQ(lines["com"], std::to_string(kCom));
    EXPECT_EQ(fs::read_symlink(ComLinkPath(kCom)).string(), lines["pty"]);
    {
      THost host;
      EXPECT_EQ(Mode(host), 4);
      ASSERT_EQ(host.Call("FNBeginRegistrationReport", {{"ReportTypeInt", std::int64_t{0}}}).first, 0);
      ASSERT_EQ(host.Call("FNBuildRegistrationReport", {{"INN", std::string("7701234567")},
                                                        {"KKTRegistrationNumber", std::string("0000000001012345")},
                                                        {"TaxType", std::int64_t{1}}}).first, 0);
      ASSERT_EQ(host.Call("OpenSession").first, 0);
    }
    // the same register over TCP, at once
    const std::string tcp = lines["tcp"];
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<std::uint16_t>(std::stoi(tcp.substr(tcp.find(':') + 1))));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    const Bytes status = TcpExchange(fd, {0x11, 30, 0, 0, 0});
    ASSERT_EQ(status.size(), 52u);
    EXPECT_EQ(status[17], 2) << "shift open, as the pty client left it";
    close(fd);
    EXPECT_EQ(emu.Terminate(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(ComLinkPath(kCom)))) << "the COM link goes with the program";
  }
  TEmuProcess again(args);
  again.Ready();
  THost host;
  auto [error, result] = host.Call("FNGetFiscalizationResult");
  ASSERT_EQ(error, 0);
  EXPECT_EQ(std::get<std::string>(result.at("KKTRegistrationNumber")), "0000000001012345");
  EXPECT_EQ(Mode(host), 2);
  EXPECT_EQ(again.Terminate(), 0);
  std::ifstream t(tape);
  std::stringstream text;
  text << t.rdbuf();
  EXPECT_NE(text.str().find("ОТЧЕТ О РЕГИСТРАЦИИ"), std::string::npos);
  EXPECT_NE(text.str().find("ОТЧЕТ ОБ ОТКРЫТИИ СМЕНЫ"), std::string::npos);
}

TEST_F(EmuProgramTest, BusyAnswersThenUnplugAfterNCommands) {
  TEmuProcess emu({"--com", std::to_string(kCom), "--busy", "2", "--busy-code", "75", "--unplug-after", "4"});
  emu.Ready();
  THost host;
  const TFieldMap line = {{"StringForPrinting", std::string("x")}};
  EXPECT_EQ(host.Call("PrintString", line).first, 75);
  EXPECT_EQ(host.Call("PrintString", line).first, 75);
  EXPECT_EQ(host.Call("PrintString", line).first, 0);
  EXPECT_EQ(Mode(host), 4);
  EXPECT_EQ(emu.Line(), "unplugged");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_ANY_THROW(host.Call("GetECRStatus"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_EQ(emu.Terminate(), 0);
}

TEST_F(EmuProgramTest, EveryProtocolTypeWithPacingAndAnnouncements) {
  std::uint16_t udpPort = 0;
  const int udp = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(udp, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  socklen_t len = sizeof a;
  getsockname(udp, reinterpret_cast<sockaddr*>(&a), &len);
  udpPort = ntohs(a.sin_port);

  for (int type : {0, 1, 2}) {
    TEmuProcess emu({"--com", std::to_string(kCom), "--protocol", std::to_string(type), "--baud", "115200", "--tcp", "0",
                     "--announce", "lo", "--announce-port", std::to_string(udpPort), "--announce-interval", "20"});
    auto lines = emu.Ready();
    THost host(type);
    EXPECT_EQ(Mode(host), 4) << "protocol " << type;
    pollfd p{udp, POLLIN, 0};
    char buf[200] = {};
    ASSERT_EQ(poll(&p, 1, 3000), 1);
    const ssize_t n = recv(udp, buf, sizeof buf - 1, 0);
    const std::string tcp = lines["tcp"];
    EXPECT_EQ(std::string(buf, n > 0 ? static_cast<std::size_t>(n) : 0),
              "SN=0012345678;IP=127.0.0.1; port=" + tcp.substr(tcp.find(':') + 1));
    EXPECT_EQ(emu.Terminate(), 0);
    while (recv(udp, buf, sizeof buf, MSG_DONTWAIT) > 0) {
    }
  }
  close(udp);
}

TEST_F(EmuProgramTest, SilencedCommandFailsInTimeAndTheNextIsServed) {
  TEmuProcess emu({"--com", std::to_string(kCom), "--silence", "1"});
  emu.Ready();
  THost host;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_ANY_THROW(host.Call("GetECRStatus"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
  EXPECT_EQ(Mode(host), 4);
  EXPECT_EQ(emu.Terminate(), 0);
}

TEST(EmuProgram, HelpAndBadOptions) {
  TEmuProcess help({"--help"});
  EXPECT_EQ(help.Line(), "Usage: zelvox-emu [options]");
  EXPECT_EQ(help.Wait(), 0);
  TEmuProcess bad({"--tcp", "x"});
  EXPECT_EQ(bad.Line(1000), "");
  EXPECT_EQ(bad.Wait(), 2);
}

}  // namespace
}  // namespace zel::emu
