// EDriverError and the message catalogue.
#include "common/DriverError.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "common/Translate.h"

namespace zel {
namespace {

// Leaves the process in Russian (message ids as texts) afterwards.
class TranslateTest : public ::testing::Test {
 protected:
  ~TranslateTest() override { SetLanguage("ru"); }
};

TEST(DriverError, CarriesCodeAndMessage) {
  const EDriverError e = EDriverError::Create2(-2, "СOM порт недоступен");
  EXPECT_EQ(e.ErrorCode(), -2);
  EXPECT_STREQ(e.what(), "СOM порт недоступен");
  EXPECT_EQ(e.WideMessage(), "СOM порт недоступен");
  const std::exception& base = e;  // caught as a plain exception, the text is still there
  EXPECT_STREQ(base.what(), "СOM порт недоступен");
}

TEST(DriverError, PortTextsBeginWithCyrillicEs) {
  for (const char* text : {kTextPortUnavailable, kTextPortBusy})
    EXPECT_EQ(std::string(text).rfind("\xD0\xA1OM ", 0), 0u) << text;  // U+0421 in UTF-8
}

TEST_F(TranslateTest, EnglishCatalogueTranslatesLinkErrors) {
  SetTextDomain("Zelserv");
  SetLanguage("en");
  EXPECT_EQ(Tr("Нет связи"), "No connection");
  struct Case {
    void (*Raise)();
    int Code;
    const char* Text;
  };
  for (const Case& c : {Case{RaiseNoLink, -1, "No connection"}, Case{RaisePortUnavailable, -2, "COM port is not available"},
                        Case{RaisePortBusy, -3, "COM port is used by another application"}}) {
    try {
      c.Raise();
      ADD_FAILURE() << "nothing raised";
    } catch (const EDriverError& e) {
      EXPECT_EQ(e.ErrorCode(), c.Code);
      EXPECT_STREQ(e.what(), c.Text);
    }
  }
  char number[16];
  std::snprintf(number, sizeof number, "%.1f", 1.5);
  EXPECT_STREQ(number, "1.5") << "choosing a language must not change how numbers are written";
  SetLanguage("ru");
  EXPECT_EQ(Tr("Нет связи"), "Нет связи");
  EXPECT_EQ(Tr("no such message"), "no such message");
}

}  // namespace
}  // namespace zel
