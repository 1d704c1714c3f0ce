#include "emulator/link/SessionFactory.h"

#include "emulator/link/EnqSession.h"
#include "emulator/link/MultichannelSession.h"
#include "emulator/link/NumberedSession.h"

namespace zel {

std::unique_ptr<TDeviceSession> CreateDeviceSession(int protocolType, int fd, CommandHandler handler,
                                                    TSessionOptions options) {
  switch (protocolType) {
    case 1: return std::make_unique<TNumberedSession>(fd, std::move(handler), options);
    case 2: return std::make_unique<TMultichannelSession>(fd, std::move(handler), options);
    default: return std::make_unique<TEnqSession>(fd, std::move(handler), options);
  }
}

}  // namespace zel
