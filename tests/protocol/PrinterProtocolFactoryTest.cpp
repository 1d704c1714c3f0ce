// Engine choice by protocol type.
#include "server/protocol/PrinterProtocolFactory.h"

#include <gtest/gtest.h>

#include "server/protocol/PrinterProtocol.h"
#include "server/protocol/PrinterProtocol2.h"
#include "server/protocol/PrinterProtocol3.h"
#include "tests/protocol/ScriptedPort.h"

namespace zel {
namespace {

enum class Engine { Enq, Numbered, Multichannel };

Engine Kind(const IPrinterProtocol* p) {
  if (dynamic_cast<const TPrinterProtocol2*>(p)) return Engine::Numbered;
  if (dynamic_cast<const TPrinterProtocol3*>(p)) return Engine::Multichannel;
  EXPECT_NE(dynamic_cast<const TPrinterProtocol*>(p), nullptr);
  return Engine::Enq;
}

TEST(ProtocolFactory, ProtocolTypeChoosesTheEngine) {
  const struct {
    int type;
    Engine engine;
  } cases[] = {{0, Engine::Enq}, {1, Engine::Numbered}, {2, Engine::Multichannel},
               {3, Engine::Enq}, {7, Engine::Enq},      {-1, Engine::Enq}};
  auto port = std::make_shared<test::ScriptedPort>();
  auto params = std::make_shared<TConnectionParams>();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    auto engine = GetProtocolFactory(c.type).Instance(port, params);
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(Kind(engine.get()), c.engine);
  }
  EXPECT_EQ(port.use_count(), 1);  // engines released their port reference
}

}  // namespace
}  // namespace zel
