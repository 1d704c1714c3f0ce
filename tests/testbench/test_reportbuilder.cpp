// Report lines: alignment by characters, widths per page, number formats.
#include <gtest/gtest.h>

#include "testbench/core/util/ReportBuilder.h"

namespace zel {
namespace {

TEST(ReportBuilder, AlignsNamesByCharacters) {
  TReportBuilder r(kFNReportWidths);
  r.AddLine("Номер ФН", "123");
  r.AddBool("  ОСН", true);
  r.AddSeparator();
  r.AddLine("Размер текущего документа для ОФД, байт", 5);  // longer than the column: not cut
  r.AddRawLine(" Полное состояние");
  const std::vector<std::string> expected{
      " Номер ФН                : 123",
      "   ОСН" + std::string(35, ' ') + ": [да]",
      " " + std::string(40, '-'),
      " Размер текущего документа для ОФД, байт: 5",
      " Полное состояние",
  };
  EXPECT_EQ(r.Lines(), expected);
  EXPECT_EQ(r.Text(), expected[0] + "\n" + expected[1] + "\n" + expected[2] + "\n" + expected[3] + "\n" + expected[4]);
}

TEST(ReportBuilder, PageWidths) {
  const struct {
    TReportWidths widths;
    std::size_t lineColon, boolColon, dashes;
  } cases[] = {{kFNReportWidths, 25, 41, 40}, {kDeviceStatusReportWidths, 27, 34, 40}, {kFullStatusReportWidths, 25, 34, 52}};
  for (const auto& c : cases) {
    TReportBuilder r(c.widths);
    r.AddLine("a", "1");
    r.AddBool("b", false);
    r.AddSeparator();
    EXPECT_EQ(r.Lines()[0].find(':'), c.lineColon);
    EXPECT_EQ(r.Lines()[1].find(':'), c.boolColon);
    EXPECT_EQ(r.Lines()[1].substr(c.boolColon), ": [нет]");
    EXPECT_EQ(r.Lines()[2], " " + std::string(c.dashes, '-'));
  }
}

TEST(ReportBuilder, NumberFormats) {
  EXPECT_EQ(HexDec(3), "03h, 3");
  EXPECT_EQ(HexDec(0x0123, 4), "0123h, 291");
  EXPECT_EQ(HexDec(0x1AB), "1ABh, 427");
  EXPECT_EQ(HexDec(-1), "FFFFFFFFh, -1");
  EXPECT_EQ(HexText(3, 2, "Неизвестный тип документа"), "03h, Неизвестный тип документа");
  EXPECT_EQ(CodeText(41, "Бланк строгой отчетности"), "41, Бланк строгой отчетности");
}

}  // namespace
}  // namespace zel
