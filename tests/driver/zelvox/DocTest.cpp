#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "common/Translate.h"
#include "driver/CommandsDoc.h"
#include "driver/Zelvox.h"

namespace zel {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(CommandsDoc, CommittedReferenceMatchesTheCatalogue) {
  const std::string committed = ReadFile(std::string(ZEL_SOURCE_DIR) + "/docs/device-commands.md");
  EXPECT_EQ(committed, DeviceCommandsMarkdown())
      << "docs/device-commands.md is stale: cmake --build build --target device-commands-doc";
}

// Every message id of the driver must have an English entry in the catalogues
// of both programs that host the driver.
TEST(CommandsDoc, EnglishCataloguesCarryEveryDriverText) {
  for (const char* domain : {"ZelvoxTst", "Tamarex"}) {
    const std::string po = ReadFile(std::string(ZEL_SOURCE_DIR) + "/locale/" + domain + "/en.po");
    for (const auto& id : DriverMessageIds())
      EXPECT_NE(po.find("msgid \"" + id + "\""), std::string::npos) << domain << ": " << id;
  }
}

TEST(CommandsDoc, ResultTextsFollowTheHostProgramsLanguage) {
  SetTextDomain("Tamarex");
  SetLanguage("en");
  TZelvox drv;
  EXPECT_EQ(drv.Call("Nope"), -13);
  EXPECT_EQ(drv.get_ResultCodeDescription(), "Unknown method: Nope");
  drv.put_ErrorCode(80);
  drv.ReadErrorDescription();
  EXPECT_EQ(drv.get_ErrorDescription(), "Printing the previous command");
  SetLanguage("ru");
  drv.ReadErrorDescription();
  EXPECT_EQ(drv.get_ErrorDescription(), "Идет печать предыдущей команды");
}

}  // namespace
}  // namespace zel
