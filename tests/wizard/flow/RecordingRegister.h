#pragma once
// A virtual register in the test process that notes the commands it was sent and
// can answer "busy" for a command a number of times before serving it.
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "driver/Zelvox.h"
#include "driver/catalogue/Commands.h"
#include "emulator/model/CommandHandler.h"
#include "emulator/model/DeviceModel.h"

namespace zel::test {

inline emu::TIdentity RegisterIdentity(bool cashCore) {
  emu::TIdentity id;
  id.cashCore = cashCore;
  id.serial = "0012345678";
  return id;
}

class TRecordingRegister {
 public:
  explicit TRecordingRegister(bool cashCore = false) : Model(RegisterIdentity(cashCore)), FHandler(Model) {}

  void Attach(TZelvox& drv) {
    drv.SetInProcessDevice([this](const Bytes& command) { return Handle(command); });
  }

  // The next `times` calls of `method` answer `code` without reaching the register.
  void BusyFor(const std::string& method, int times, std::uint8_t code = 80) { FBusy[Code(method)] = {times, code}; }

  int Count(const std::string& method) const {
    const int code = Code(method);
    return static_cast<int>(std::count(Sent.begin(), Sent.end(), code));
  }
  // Position of the first call of method after position `from`, -1 when none.
  int Find(const std::string& method, int from = 0) const {
    for (int i = from; i < static_cast<int>(Sent.size()); ++i)
      if (Sent[static_cast<std::size_t>(i)] == Code(method)) return i;
    return -1;
  }

  static int Code(const std::string& method) { return FindCommand(method)->Code; }

  emu::TDeviceModel Model;
  std::vector<int> Sent;  // command codes in order, busy answers included

 private:
  Bytes Handle(const Bytes& command) {
    std::size_t pos = 0;
    const int code = ReadCode(command, pos);
    Sent.push_back(code);
    auto it = FBusy.find(code);
    if (it != FBusy.end() && it->second.first > 0) {
      --it->second.first;
      Bytes answer = CodeBytes(static_cast<std::uint16_t>(code));
      answer.push_back(it->second.second);
      return answer;
    }
    return FHandler.Handle(command);
  }

  emu::TCommandHandler FHandler;
  std::map<int, std::pair<int, std::uint8_t>> FBusy;
};

}  // namespace zel::test
