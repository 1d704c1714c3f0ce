// A register that takes longer than one Timeout to carry out a command answers
// the host's repeated frame (numbered frames: same number, not run again); the
// driver must take that answer through zelserv just as on its own port, or it
// reports a command the register did as no link.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "driver/Zelvox.h"
#include "emulator/link/PtyLine.h"
#include "emulator/link/SessionFactory.h"
#include "emulator/model/CommandHandler.h"
#include "emulator/model/DeviceModel.h"
#include "tests/e2e/Rig.h"

namespace zel::test {
namespace {

constexpr int kSlowCom = 22;

TEST(SlowRegisterTest, AnAnswerAfterSeveralTimeoutsIsTakenOnEveryLink) {
  TRig rig(1);  // zelserv, with the rig's own register on another COM number
  emu::TDeviceModel model;
  emu::TCommandHandler handler(model);
  const Bytes beep = CodeBytes(FindCommand("Beep")->Code);
  std::atomic<int> beeps{0};
  const TPtyLine line = OpenPtyLine();
  auto session = CreateDeviceSession(1, line.Master, [&](const Bytes& command) {
    if (command.size() >= beep.size() && std::equal(beep.begin(), beep.end(), command.begin())) {
      std::this_thread::sleep_for(std::chrono::milliseconds(3300));  // over three Timeouts, past the call margin
      ++beeps;
    }
    return handler.Handle(command);
  });
  session->Start();
  LinkCom(kSlowCom, line.SlavePath);

  for (int type : {0, 1}) {
    SCOPED_TRACE(type);
    TZelvox drv;
    for (const auto& arg : rig.LinkArgs()) {
      const auto eq = arg.find('=');
      ASSERT_TRUE(drv.SetPropertyText(arg.substr(0, eq), arg.substr(eq + 1))) << arg;
    }
    drv.put_ConnectionType(type);
    drv.put_ComNumber(kSlowCom);
    drv.put_ProtocolType(1);
    drv.put_Timeout(1000);
    EXPECT_EQ(drv.Beep(), 0) << drv.get_ResultCodeDescription();
    drv.Disconnect();
  }
  EXPECT_EQ(beeps, 2);
  session->Stop();
}

}  // namespace
}  // namespace zel::test
