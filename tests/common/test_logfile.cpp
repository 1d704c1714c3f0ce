// TLogFile and TLogger on real files.
#include "common/LogFile.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>
#include <vector>

#include "common/Logger.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempConfig.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// 9 December 2026 14:38:00.123 local time, thread 4711.
class FixedClock {
 public:
  FixedClock() {
    std::tm tm{};
    tm.tm_mday = 9;
    tm.tm_mon = 11;
    tm.tm_year = 2026 - 1900;
    tm.tm_hour = 14;
    tm.tm_min = 38;
    tm.tm_isdst = -1;
    const auto t = std::chrono::system_clock::from_time_t(std::mktime(&tm)) + std::chrono::milliseconds(123);
    TLogFile::SetClock([t] { return t; });
    TLogFile::SetThreadId([] { return 4711ul; });
  }
  ~FixedClock() {
    TLogFile::SetClock(nullptr);
    TLogFile::SetThreadId(nullptr);
  }
};

TEST(LogFile, LineFormatWithEveryLevel) {
  FixedClock clock;
  test::TempDir dir;
  TLogFile log;
  log.SetFileName(dir / "app.log");
  log.SetEnabled(true);
  log.Debug("TComPort Purge");
  log.Info("started");
  log.Error("failed");
  log.Error("failed", std::runtime_error("why"));
  log.Trace("step");
  const std::string h = "[09.12.2026 14:38:00.123] [00004711] ";
  EXPECT_EQ(TLogFile::GetLineHeader(), h);
  EXPECT_EQ(ReadFile(dir / "app.log"), h + "[DEBUG] TComPort Purge\r\n" + h + "[ INFO] started\r\n" + h +
                                           "[ERROR] failed\r\n" + h + "[ERROR] failed why\r\n" + h +
                                           "[TRACE] step\r\n");
}

TEST(LogFile, DisabledOrUnreachableLogCreatesNothing) {
  test::TempDir dir;
  {
    TLogFile log;
    log.SetFileName(dir / "sub/app.log");
    log.Info("dropped");
    log.SetEnabled(true);
    log.SetEnabled(false);
    log.Info("dropped too");
  }
  EXPECT_FALSE(fs::exists(dir / "sub"));

  TLogFile log;  // one missing level is created, two are not
  log.SetEnabled(true);
  log.SetFileName(dir / "a/b/app.log");
  log.Info("nowhere to go");
  EXPECT_FALSE(fs::exists(dir / "a"));
  log.SetFileName(dir / "one/app.log");
  log.Info("here");
  EXPECT_NE(ReadFile(dir / "one/app.log").find("[ INFO] here\r\n"), std::string::npos);
}

TEST(LogFile, ReopensAfterRenameOrDisable) {
  test::TempDir dir;
  TLogFile log;
  log.SetEnabled(true);
  log.SetFileName(dir / "first.log");
  log.Info("one");
  log.SetFileName(dir / "second.log");
  log.Info("two");
  log.SetEnabled(false);
  log.SetEnabled(true);
  log.Info("three");
  EXPECT_NE(ReadFile(dir / "first.log").find("one"), std::string::npos);
  const std::string second = ReadFile(dir / "second.log");
  EXPECT_NE(second.find("two"), std::string::npos);
  EXPECT_NE(second.find("three"), std::string::npos);
  EXPECT_EQ(second.find("one"), std::string::npos);
}

TEST(LogFile, RotatesPastMaxSize) {
  test::TempDir dir;
  const std::string name = dir / "zel.log";
  WriteFile(name + ".1.log", "old one");
  WriteFile(name + ".2.log", "old two");
  WriteFile(name + ".3.log", "old three");
  WriteFile(name + ".3", "stray");
  TLogFile log;
  log.SetFileName(name);
  log.SetMaxFileSize(1);
  log.SetMaxFileCount(3);
  log.SetEnabled(true);
  const std::string chunk(1000, 'x');
  int lines = 0;
  while (!fs::exists(name + ".1.log") || ReadFile(name + ".1.log") == "old one") {
    log.Info(chunk + std::to_string(lines++));
    ASSERT_LT(lines, 2000) << "never rotated";
  }
  const std::string last = chunk + std::to_string(lines - 1);
  EXPECT_FALSE(fs::exists(name + ".3"));
  EXPECT_EQ(ReadFile(name + ".3.log"), "old two");
  EXPECT_EQ(ReadFile(name + ".2.log"), "old one");
  const std::string rotated = ReadFile(name + ".1.log");
  EXPECT_GT(rotated.size(), 1048576u);
  EXPECT_NE(rotated.find(last + "\r\n"), std::string::npos) << "the line that crossed the limit is kept";
  EXPECT_EQ(fs::file_size(name), 0u);
  log.Info("after");
  EXPECT_NE(ReadFile(name).find("[ INFO] after\r\n"), std::string::npos);
}

TEST(LogFile, LinesFromManyThreadsStayWhole) {
  test::TempDir dir;
  TLogFile log;
  log.SetFileName(dir / "mt.log");
  log.SetEnabled(true);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&log, t] {
      for (int i = 0; i < 200; ++i) log.Debug("thread " + std::to_string(t) + " line " + std::to_string(i));
    });
  for (auto& t : threads) t.join();
  std::istringstream in(ReadFile(dir / "mt.log"));
  const std::regex pattern(R"(\[\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d\.\d{3}\] \[\d{8}\] \[DEBUG\] thread \d line \d+\r)");
  int count = 0;
  for (std::string line; std::getline(in, line); ++count) EXPECT_TRUE(std::regex_match(line, pattern)) << line;
  EXPECT_EQ(count, 800);
}

TEST(Logger, PrefixesNameAndDumpsBytesTwentyPerLine) {
  test::LogCapture capture;
  TLogger logger("TPrinterProtocol");
  Bytes data(41);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(0xF0 + i);
  logger.WriteRxData(data);
  logger.WriteTxData({});
  logger.WriteTxData({0x02, 0x05, 0xFC});
  const std::string text = capture.Text();
  std::string first = "TPrinterProtocol <- F0", second = "TPrinterProtocol <- ";
  for (int i = 1; i < 20; ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, " %02X", (0xF0 + i) & 0xFF);
    first += hex;
  }
  for (int i = 20; i < 40; ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, i == 20 ? "%02X" : " %02X", (0xF0 + i) & 0xFF);
    second += hex;
  }
  EXPECT_NE(text.find("[DEBUG] " + first + "\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[DEBUG] " + second + "\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[DEBUG] TPrinterProtocol <- 18\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[DEBUG] TPrinterProtocol -> \r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[DEBUG] TPrinterProtocol -> 02 05 FC\r\n"), std::string::npos) << text;
}

TEST(Logger, LevelsSeparatorAndErrorWithException) {
  test::LogCapture capture;
  TLogger logger("TComPort");
  const std::runtime_error err("Нет связи");
  logger.Error("Reconnect", &err);
  logger.Error("plain");
  logger.Info("hello");
  logger.WriteSeparator();
  const std::string text = capture.Text();
  EXPECT_NE(text.find("[ERROR] TComPort Reconnect (Нет связи)\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[ERROR] TComPort plain\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[ INFO] TComPort hello\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[ INFO] TComPort " + std::string(60, '-') + "\r\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace zel
