// Text helpers, dates, files, model parameters and print pieces.
#include <gtest/gtest.h>

#include <unistd.h>
#include <sys/stat.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "testbench/core/util/DateTimeUtils.h"
#include "testbench/core/util/FileUtils.h"
#include "testbench/core/util/ModelParams.h"
#include "testbench/core/util/PrintText.h"
#include "testbench/core/util/TextUtils.h"

namespace zel {
namespace {

TEST(Texts, NotSetTextsAndYesNo) {
  EXPECT_EQ(BoolToYesNo(true), "[да]");
  EXPECT_EQ(BoolToYesNo(false), "[нет]");
  EXPECT_EQ(GetBitStr(0b100, 2), "[да]");
  EXPECT_EQ(GetBitStr(0b100, 1), "[нет]");
  EXPECT_EQ(GetINN(""), "не задан");
  EXPECT_EQ(GetRNM(""), "не задан");
  EXPECT_EQ(GetSerialNumber(""), "не введен");
  EXPECT_EQ(GetINN("7700000000"), "7700000000");
  EXPECT_EQ(GetSerialNumber("0012"), "0012");
}

TEST(Texts, AddLeadingZerosCutsOrPads) {
  EXPECT_EQ(AddLeadingZeros("123", 6), "000123");
  EXPECT_EQ(AddLeadingZeros("1234567", 4), "1234");
  EXPECT_EQ(AddLeadingZeros("", 3), "000");
  EXPECT_EQ(AddLeadingZeros("12", 0), "");
  EXPECT_EQ(AddLeadingZeros("12", -1), "");
  EXPECT_EQ(AddLeadingZeros("№12345", 3), "№12");  // cut by characters, never inside one
  EXPECT_EQ(AddLeadingZeros("№1", 4), "00№1");
}

TEST(Texts, Cp866ToUtf8) {
  // "Привет" in code page 866, ASCII passing through, pseudo-graphics and the tail.
  EXPECT_EQ(Str866To1251("\x8F\xE0\xA8\xA2\xA5\xE2"), "Привет");
  EXPECT_EQ(Str866To1251("abc 123"), "abc 123");
  EXPECT_EQ(Str866To1251("\xF0\xF1\xFC"), "Ёё№");
  EXPECT_EQ(Str866To1251("\xB0\xC9\xDB\xFE"), "░╔█■");
  EXPECT_EQ(Str866To1251(std::string("\x00\x80", 2)), std::string("\0А", 3));
  EXPECT_EQ(Str866To1251("\xFF"), "\u00A0");
}

TEST(Texts, Utf8WidthCountsCharacters) {
  EXPECT_EQ(Utf8Length("Номер ФН"), 8u);
  EXPECT_EQ(PadRight("ФН", 4), "ФН  ");
  EXPECT_EQ(PadRight("Номер", 3), "Номер");
}

TEST(DateTimes, UnixSecondsAndReportForms) {
  EXPECT_EQ(DateTimeToUnix(25569.0), 0);
  EXPECT_EQ(DateTimeToUnix(25569.5), 43200);
  EXPECT_EQ(DateTimeToUnix(25568.0), -86400);
  const double t = EncodeDateTime(2024, 2, 29, 23, 59, 58);
  EXPECT_EQ(DateTimeToUnix(t), 1709251198);
  EXPECT_EQ(DateTimeToStr(t), "29.02.2024 23:59:58");
  EXPECT_EQ(DateToStr(t), "29.02.2024");
  EXPECT_EQ(TimeToStr(t), "23:59:58");
  // A hair before midnight rounds to the next day, never to 24:00:00.
  EXPECT_EQ(DateTimeToStr(EncodeDateTime(2023, 12, 31) + 1 - 1e-7), "01.01.2024 00:00:00");
  EXPECT_EQ(DateTimeToUnix(UnixToDateTime(1700000000)), 1700000000);
}

class FileDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    FDir = std::filesystem::temp_directory_path() /
           ("tbutil-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(FDir);
  }
  void TearDown() override { std::filesystem::remove_all(FDir); }
  std::string Write(const std::string& name, const std::string& data) {
    const auto path = FDir / name;
    std::ofstream(path, std::ios::binary) << data;
    return path.string();
  }
  std::filesystem::path FDir;
};

TEST_F(FileDataTest, ReadsWholeFilesAndRefusesOthers) {
  std::string big(200000, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  EXPECT_EQ(ReadFileData(Write("big.bin", big)), Bytes(big.begin(), big.end()));
  EXPECT_TRUE(ReadFileData(Write("empty.bin", "")).empty());

  const std::string fifo = (FDir / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& bad : {(FDir / "missing.bin").string(), FDir.string(), fifo}) {
    try {
      ReadFileData(bad);
      ADD_FAILURE() << bad;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find("\"" + bad + "\""), std::string::npos) << e.what();
    }
  }
}

TEST(ModelParams, FamilyAndTableNumbers) {
  for (int id : {16, 19, 20, 21, 27, 28, 29, 30, 32, 33, 34, 35, 36, 38, 39, 40, 41, 42, 45, 46})
    EXPECT_TRUE(IsModelType2(id)) << id;
  for (int id : {-1, 0, 15, 17, 18, 22, 31, 37, 43, 44, 47, 48, 254}) EXPECT_FALSE(IsModelType2(id)) << id;

  std::vector<int> reads;
  auto read = [&](int param) {
    reads.push_back(param);
    return param == ModelParam::FSTableNumber ? 14 : 15;
  };
  EXPECT_EQ(CorrectTableNumber(17, read), 17);
  EXPECT_TRUE(reads.empty());
  EXPECT_EQ(CorrectTableNumber(18, read), 14);
  EXPECT_EQ(CorrectTableNumber(19, read), 15);
  EXPECT_EQ(reads, (std::vector<int>{72, 73}));
  EXPECT_THROW(CorrectTableNumber(18, [](int) -> int { throw std::runtime_error("no link"); }), std::runtime_error);
}

TEST(PrintPieces, SplitsLinesIntoWidthPieces) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitPrintPieces("ab\r\n\r\n", 1), (V{"a", "b", ""}));
  EXPECT_EQ(SplitPrintPieces("abcde\nxy", 2), (V{"ab", "cd", "e", "xy"}));
  EXPECT_EQ(SplitPrintPieces("Привет", 4), (V{"Прив", "ет"}));  // never splits a character
  EXPECT_EQ(SplitPrintPieces("", 10), V{});
  EXPECT_EQ(SplitPrintPieces("abc\rd", 0), (V{"abc", "d"}));  // no width: whole lines
  EXPECT_EQ(SplitLines("a\n\nb\n"), (V{"a", "", "b"}));
}

TEST(PrintPieces, WidthFromMetricsAndBusyRetries) {
  EXPECT_EQ(PrintStringWidth(576, 0), 40);
  EXPECT_EQ(PrintStringWidth(576, 12), 48);
  EXPECT_EQ(PrintStringWidth(575, 12), 47);

  const struct {
    std::vector<int> answers;
    int result, calls;
  } cases[] = {
      {{0}, 0, 1},
      {{80, 75, 0}, 0, 3},
      {{80, 80, 80, 80, 80, 80}, 80, 5},  // five attempts at most
      {{75, 12}, 12, 2},                  // another error is final at once
  };
  for (const auto& c : cases) {
    int calls = 0;
    const int result = CallWhilePrinterBusy([&] { return c.answers[static_cast<std::size_t>(calls++)]; }, 5,
                                            std::chrono::milliseconds(1));
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(calls, c.calls);
  }
}

}  // namespace
}  // namespace zel
