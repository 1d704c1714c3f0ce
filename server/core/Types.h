#pragma once
// Change notification of the port registry and the client list.
#include <functional>

namespace zel {

enum class TChangeType { ctInsert, ctRemove, ctChange };

// Sender is identified by its id (port id or client id), not by pointer:
// a handler that queues the event may run after the object is gone.
using TListEvent = std::function<void(int senderID, TChangeType changeType)>;

}  // namespace zel
