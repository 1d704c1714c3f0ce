// What the engines leave in the process log: the lines support reads first.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "common/LogFile.h"
#include "server/protocol/PrinterProtocol.h"
#include "server/protocol/PrinterProtocol2.h"
#include "server/protocol/PrinterProtocol3.h"
#include "tests/protocol/DeviceFrames.h"
#include "tests/protocol/ScriptedPort.h"

namespace zel {
namespace {

class ProtocolLog : public ::testing::Test {
 protected:
  ProtocolLog() {
    path = std::filesystem::temp_directory_path() / ("protocol_log_" + std::to_string(::getpid()) + ".log");
    std::filesystem::remove(path);
    LogFile().SetFileName(path.string());
    LogFile().SetEnabled(true);
    params->Timeout = 50;
  }
  ~ProtocolLog() override {
    LogFile().SetEnabled(false);
    std::filesystem::remove(path);
  }
  std::string Text() const {
    LogFile().SetEnabled(false);  // closes the file
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  void ExpectLines(const std::string& log, std::initializer_list<const char*> lines) const {
    for (const char* line : lines) EXPECT_NE(log.find(line), std::string::npos) << "missing: " << line;
  }

  std::filesystem::path path;
  std::shared_ptr<test::ScriptedPort> port = std::make_shared<test::ScriptedPort>();
  std::shared_ptr<TConnectionParams> params = std::make_shared<TConnectionParams>();
};

TEST_F(ProtocolLog, EnqEngineHidesTheBodyOfFeE9FramesAndLogsItsSteps) {
  TPrinterProtocol engine(port, params);
  TCommandRec rec;
  rec.Command = {0xFE, 0xE9, 0x12, 0x34, 0x56};
  rec.Timeout = 700;
  port->Feed({0x06}).Feed(test::EnqFrame({0x01})).Feed({0x15, 0x06}).Feed(test::EnqFrame({0xFE, 0x00}));
  engine.Send(rec);
  EXPECT_EQ(port->Writes()[3].size(), 8u);  // written whole
  const std::string log = Text();
  ExpectLines(log, {"TPrinterProtocol SetCmdTimeout: 50\r\n", "TPrinterProtocol SetCmdTimeout: 700\r\n",
                    "TPrinterProtocol ReadAckChar try\r\n", "TPrinterProtocol _ Got ACK. ReadAnswerData (0/4)\r\n",
                    "TPrinterProtocol Repeat ENQ\r\n", "TPrinterProtocol -> 05\r\n",
                    "TPrinterProtocol -> 02 05 FE E9\r\n", "TPrinterProtocol <- 02\r\n",
                    "TPrinterProtocol <- FE 00 FC\r\n"});
  EXPECT_EQ(log.find("FE E9 12"), std::string::npos);
}

TEST_F(ProtocolLog, EnqEngineLogsReconnectsAndTheirFailures) {
  TPrinterProtocol engine(port, params);
  port->FailNextOpens(1);
  TCommandRec rec;
  EXPECT_THROW(engine.Send(rec), EDriverError);
  ExpectLines(Text(), {"TPrinterProtocol <- \r\n", "TPrinterProtocol Reconnect\r\n",
                       "TPrinterProtocol Reconnect: Port opening error: ", "TPrinterProtocol EnqCount = 5\r\n",
                       "TPrinterProtocol MaxEnqCount = 4\r\n"});
}

TEST_F(ProtocolLog, MultichannelEngineLogsPselAndEncoding) {
  TPrinterProtocol3 engine(port, params);
  TCommandRec rec;
  rec.Command = {0x11};
  port->Feed({0x91}).Feed(test::MultichannelAnswer(2, {0x11, 0x00}));
  engine.Send(rec);
  ExpectLines(Text(), {"TPrinterProtocol3 Команда: PSEL, Выбор протокола\r\n",
                       "TPrinterProtocol3 Функция EncodeFrame\r\n", "TPrinterProtocol3 AData: 11\r\n",
                       "TPrinterProtocol3 Result: 82 02 01 00 11 ", "TPrinterProtocol3 CRC16 = ",
                       "TPrinterProtocol3 -> 90\r\n", "TPrinterProtocol3 <- 91\r\n",
                       std::string("TPrinterProtocol3 ").append(60, '-').c_str()});
}

TEST_F(ProtocolLog, NumberedEngineLogsTraffic) {
  TPrinterProtocol2 engine(port, params);
  TCommandRec rec;
  rec.Command = {0x11};
  port->Feed(test::NumberedFrame(0, {})).Feed(test::NumberedFrame(1, {0x11, 0x00}));
  engine.Send(rec);
  ExpectLines(Text(), {"TPrinterProtocol2 -> 8F 00 00 0F 1D\r\n", "TPrinterProtocol2 <- 8F\r\n",
                       "TPrinterProtocol2 <- 11 00\r\n"});
}

}  // namespace
}  // namespace zel
