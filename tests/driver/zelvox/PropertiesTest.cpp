#include <gtest/gtest.h>

#include <cstring>

#include "driver/Zelvox.h"
#include "driver/catalogue/Commands.h"

namespace zel {
namespace {

TEST(Properties, EveryDeclaredNameIsReachableByNameAndTyped) {
  EXPECT_EQ(PropertyDefs().size(), 396u);
  EXPECT_EQ(MethodDefs().size(), 242u);
  TZelvox drv;
  for (const auto& def : PropertyDefs()) {
    TPropValue v;
    EXPECT_TRUE(drv.GetProperty(def.Name, v)) << def.Name;
  }
  TPropId id;
  ASSERT_TRUE(FindProperty("ecrmode", id));  // automation names ignore letter case
  EXPECT_EQ(id, TPropId::ECRMode);
  EXPECT_FALSE(FindProperty("NoSuchProperty", id));
  for (const char* name : {"FNAcceptMakringCode", "DampRequest", "OpenNonfiscalDocument", "CloseNonFiscalDocument"}) {
    TMethodId m;
    EXPECT_TRUE(FindMethod(name, m)) << name;
  }
}

TEST(Properties, TextFormsRoundTripPerType) {
  struct Case {
    const char* Name;
    const char* In;
    const char* Out;
  };
  const Case cases[] = {
      {"ECRMode", "8", "8"},
      {"ReceiptRibbonIsPresent", "true", "1"},
      {"Summ1", "12,5", "12.5"},
      {"Summ1", "0.12345", "0.1235"},  // Currency keeps four decimals
      {"BatteryVoltage", "3.3", "3.3"},
      {"Date", "29.02.2024", "29.02.2024 00:00:00"},
      {"Time", "23:59:58", "30.12.1899 23:59:58"},
      {"StringForPrinting", "Чек №1", "Чек №1"},
      {"TLVData", "0102 ff", "01 02 FF"},
      {"ModelParamValue", "true", "1"},
  };
  TZelvox drv;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    ASSERT_TRUE(drv.SetPropertyText(c.Name, c.In));
    std::string out;
    ASSERT_TRUE(drv.GetPropertyText(c.Name, out));
    EXPECT_EQ(out, c.Out);
  }
  const std::pair<const char*, const char*> bad[] = {
      {"ECRMode", "8x"}, {"Summ1", "abc"}, {"Date", "31.02.2024"}, {"TLVData", "0g"}, {"NoSuch", "1"},
      {"DriverBuild", "1"},  // read-only
  };
  for (const auto& [name, text] : bad) EXPECT_FALSE(drv.SetPropertyText(name, text)) << name << "=" << text;
}

TEST(Properties, TypedAccessorsShareTheStoreAndVersionIsFixed) {
  TZelvox drv;
  drv.put_TableNumber(18);
  std::string text;
  drv.GetPropertyText("TableNumber", text);
  EXPECT_EQ(text, "18");
  drv.put_Summ1(99.99);
  EXPECT_DOUBLE_EQ(drv.get_Summ1(), 99.99);
  drv.put_DriverMajorVersion(1);  // ignored: read-only
  EXPECT_EQ(drv.get_DriverMajorVersion(), 4);
  EXPECT_EQ(drv.get_DriverMinorVersion(), 13);
  EXPECT_EQ(drv.get_DriverRelease(), 0);
  EXPECT_EQ(drv.get_DriverBuild(), 594);
  EXPECT_EQ(drv.get_DriverVersion(), "4.13.0.594");
  EXPECT_EQ(drv.get_Password(), 30);
}

// Every field a command carries must be a property (or one of the few raw
// fields the driver fills itself), and every command must back a declared method.
TEST(Properties, CatalogueNamesMatchTheDriver) {
  const char* raw[] = {"FieldValue", "PrintFlags"};
  for (const auto& cmd : Commands()) {
    TMethodId m;
    EXPECT_TRUE(FindMethod(cmd.Method, m)) << cmd.Method;
    for (const auto* list : {&cmd.Request, &cmd.Answer})
      for (const auto& f : *list) {
        TPropId p;
        const bool isRaw = std::any_of(std::begin(raw), std::end(raw), [&](const char* r) { return !std::strcmp(r, f.Name); });
        EXPECT_TRUE(isRaw || FindProperty(f.Name, p)) << cmd.Method << "." << f.Name;
      }
  }
  for (const auto& bit : BitFields()) {
    TPropId p;
    EXPECT_TRUE(FindProperty(bit.Property, p)) << bit.Property;
  }
}

TEST(Properties, UnknownAndUnsupportedMethodsAnswerOwnCodes) {
  TZelvox drv;
  EXPECT_EQ(drv.Call("NoSuchMethod"), -13);
  EXPECT_EQ(drv.get_ResultCode(), -13);
  EXPECT_EQ(drv.LoadFont(), -7);  // declared, not real yet
  EXPECT_EQ(drv.get_ResultCodeDescription(), "Функция не поддерживается драйвером: LoadFont");
  drv.put_ErrorCode(93);
  EXPECT_EQ(drv.ReadErrorDescription(), 0);
  EXPECT_EQ(drv.get_ErrorDescription(), "Таблица или поле не определены");
  EXPECT_EQ(drv.get_ResultCodeDescription(), "Ошибок нет");
}

}  // namespace
}  // namespace zel
