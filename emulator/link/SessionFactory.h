#pragma once
// The device session for a protocol type, chosen as the host chooses its
// engine: 1 numbered frames, 2 multichannel, anything else ENQ framing.
#include <memory>

#include "emulator/link/DeviceSession.h"

namespace zel {

std::unique_ptr<TDeviceSession> CreateDeviceSession(int protocolType, int fd, CommandHandler handler,
                                                    TSessionOptions options = {});

}  // namespace zel
