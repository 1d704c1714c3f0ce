#pragma once
// The register's command decoder: takes one command message (code and
// request fields, as the frame protocols deliver it), runs it on the model
// and gives the answer message (code, result byte, answer fields). Layouts
// come from the command catalogue shared with the driver.
#include "common/Bytes.h"
#include "emulator/model/DeviceModel.h"

namespace zel::emu {

class TCommandHandler {
 public:
  explicit TCommandHandler(TDeviceModel& model) : model_(model) {}
  // Never throws; any input gets an answer (empty only for an empty command).
  Bytes Handle(const Bytes& command);

 private:
  Bytes HandleService(const Bytes& command);
  TDeviceModel& model_;
};

}  // namespace zel::emu
