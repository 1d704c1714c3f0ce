// The engines' own failure texts have English translations.
#include <gtest/gtest.h>

#include "common/DriverError.h"
#include "common/Translate.h"
#include "server/protocol/PrinterProtocol.h"
#include "server/protocol/PrinterProtocol3.h"
#include "server/protocol/ProtocolTexts.h"
#include "tests/protocol/ScriptedPort.h"

namespace zel {
namespace {

TEST(ProtocolTexts, FailuresReadInEnglish) {
  SetTextDomain("Zelserv");
  SetLanguage("en");
  EXPECT_EQ(Tr(kTextBadFrame), "Invalid frame format");

  auto port = std::make_shared<test::ScriptedPort>();
  auto params = std::make_shared<TConnectionParams>();
  TCommandRec rec;
  rec.Command.assign(300, 0);
  TPrinterProtocol enq(port, params);
  EXPECT_THROW(
      {
        try {
          enq.Send(rec);
        } catch (const EDriverError& e) {
          EXPECT_STREQ(e.what(), "The command is too long");
          throw;
        }
      },
      EDriverError);

  rec.Command = {0x11};
  TPrinterProtocol3 multichannel(port, params);
  EXPECT_THROW(
      {
        try {
          multichannel.Send(rec);
        } catch (const std::runtime_error& e) {
          EXPECT_STREQ(e.what(), "The multichannel protocol is not supported.");
          throw;
        }
      },
      std::runtime_error);
  SetLanguage("");
}

}  // namespace
}  // namespace zel
