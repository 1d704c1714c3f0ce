#pragma once
// Running the server with its main window and tray icon.
#include <string>
#include <vector>

namespace zel {

// True when the display named by WAYLAND_DISPLAY or DISPLAY can be reached.
bool DisplayAvailable();
// Serves with the window until "&Закрыть"; returns the process exit code.
// `switches` are the classic parameters (/t, /a, /p, /r, -Embedding ...).
int RunWindow(int& argc, char** argv, const std::vector<std::string>& switches);

}  // namespace zel
