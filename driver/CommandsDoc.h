#pragma once
// The device command reference (docs/device-commands.md), generated from the
// catalogue and the driver's method table so the two cannot drift apart.
#include <string>
#include <vector>

namespace zel {

std::string DeviceCommandsMarkdown();
// Every Russian message id the driver may show (result texts, mode texts).
std::vector<std::string> DriverMessageIds();

}  // namespace zel
