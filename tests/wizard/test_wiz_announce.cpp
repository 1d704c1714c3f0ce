#include <gtest/gtest.h>

#include "wizard/device/core/FirmwareGate.h"
#include "wizard/device/core/TCPSearchItems.h"

namespace zel {
namespace {

TEST(ParseAnnouncement, ReadsSerialAddressAndPort) {
  const struct {
    const char* Text;
    const char* Serial;
    const char* IP;
    int Port;
  } cases[] = {
      {"SN=0012345678;IP=192.168.1.50; port=7778", "0012345678", "192.168.1.50", 7778},
      {"SN:0012345678;IP:10.0.0.7;Xport: 1 \r\n", "0012345678", "10.0.0.7", 1},
      {"SN=A1;IP=127.0.0.1; port=65535", "A1", "127.0.0.1", 65535},
  };
  for (const auto& c : cases) {
    const auto item = ParseAnnouncement(c.Text);
    ASSERT_TRUE(item) << c.Text;
    EXPECT_EQ(item->Serial, c.Serial);
    EXPECT_EQ(item->IP, c.IP);
    EXPECT_EQ(item->Port, c.Port);
  }
}

TEST(ParseAnnouncement, IgnoresMalformedDatagrams) {
  const std::string tooLong = "SN=1;IP=10.0.0.1; port=7778;" + std::string(600, 'x');
  const std::string withNul("SN=1\0;IP=10.0.0.1; port=7778", 28);
  const std::string cases[] = {
      "",
      "SN=0012345678;IP=192.168.1.50",          // no port
      "SN=0012345678;IP=192.168.1.50; port=x",  // port not a number
      "SN=0012345678;IP=192.168.1.50; port=0",
      "SN=0012345678;IP=192.168.1.50; port=65536",
      "SN=0012345678;IP=192.168.1.50; port=-5",
      "SN=;IP=192.168.1.50; port=7778",  // empty serial
      "SN=0012345678;IP=999.1.1.1; port=7778",
      "SN=0012345678;IP=host.example; port=7778",
      "SN=0012345678;IP=; port=7778",
      "SN=0012345678 IP=192.168.1.50 port=7778",  // no separators
      "SN",
      "sn=1;ip=10.0.0.1; port=7778",  // keys are case-sensitive
      tooLong,
      withNul,
  };
  for (const auto& c : cases) EXPECT_FALSE(ParseAnnouncement(c)) << c;
}

TEST(TCPSearchItems, KeepsOneRowPerSerialAndABoundedList) {
  TTCPSearchItems items;
  const auto a = ParseAnnouncement("SN=0012345678;IP=192.168.1.50; port=7778");
  ASSERT_TRUE(a);
  const TTCPSearchItem* first = items.Add(*a);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(items.Add(*a), nullptr);  // the same announcement again
  EXPECT_EQ(items.Count(), 1);
  EXPECT_EQ(items.FindBySerial("0012345678"), first);
  EXPECT_EQ(items.FindBySerial("x"), nullptr);

  for (std::size_t i = 0; i < kMaxTCPSearchItems + 10; ++i) items.Add({"S" + std::to_string(i), "10.0.0.1", 1});
  EXPECT_EQ(items.Count(), static_cast<int>(kMaxTCPSearchItems));
  EXPECT_EQ(items.GetItem(0).Serial, "0012345678");  // earlier entries stay put
  items.Clear();
  EXPECT_EQ(items.Count(), 0);
}

TEST(FirmwareGate, RefusesFirmwareBefore24October2018) {
  const struct {
    TFirmwareDate Date;
    bool Outdated;
  } cases[] = {
      {{2018, 10, 24}, false}, {{2018, 10, 23}, true}, {{2018, 10, 25}, false}, {{2018, 9, 30}, true},
      {{2018, 11, 1}, false},  {{2017, 12, 31}, true}, {{2019, 1, 1}, false},   {{0, 0, 0}, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsFirmwareOutdated(c.Date), c.Outdated) << c.Date.Year << "-" << c.Date.Month << "-" << c.Date.Day;
  EXPECT_EQ(FirmwareOutdatedText("23.10.2018"),
            "Прошивка ККТ устарела (23.10.2018).\r\n Требуется обновить прошивку");
}

}  // namespace
}  // namespace zel
