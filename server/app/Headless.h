#pragma once
// Serving without a window: settings, listener, signals, clean release.
#include <string>
#include <vector>

namespace zel {

// Serves until SIGTERM or SIGINT; returns the process exit code.
// `switches` are the classic parameters (/t, /a, /p, /r, -Embedding ...).
int RunHeadless(const std::vector<std::string>& switches);

}  // namespace zel
