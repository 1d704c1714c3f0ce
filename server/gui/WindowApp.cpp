#include "server/gui/WindowApp.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>

#include <cstdlib>
#include <exception>
#include <memory>

#include "server/gui/MainWindow.h"
#include "server/gui/MessageBoxes.h"
#include "server/gui/ProgramInfo.h"

namespace zel {

namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool IsSocket(const std::string& path) {
  struct stat info{};
  return stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

// A local X display ":N" or ":N.S" has its socket in /tmp/.X11-unix; a
// remote one ("host:N") is taken on trust.
bool X11Reachable(const std::string& display) {
  if (display.empty()) return false;
  if (display.front() != ':') return true;
  const std::string number = display.substr(1, display.find('.') - 1);
  return !number.empty() && IsSocket("/tmp/.X11-unix/X" + number);
}

bool WaylandReachable(const std::string& display) {
  if (display.empty()) return false;
  if (display.front() == '/') return IsSocket(display);
  const std::string runtime = Env("XDG_RUNTIME_DIR");
  return !runtime.empty() && IsSocket(runtime + "/" + display);
}

}  // namespace

bool DisplayAvailable() {
  return WaylandReachable(Env("WAYLAND_DISPLAY")) || X11Reachable(Env("DISPLAY"));
}

int RunWindow(int& argc, char** argv, const std::vector<std::string>& switches) {
  signal(SIGPIPE, SIG_IGN);
  // SIGTERM and SIGINT end the program as "&Закрыть" does; blocked before any
  // thread starts so that they all inherit the mask and only the descriptor
  // receives them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  const int signalFd = signalfd(-1, &stopSignals, SFD_CLOEXEC | SFD_NONBLOCK);
  QApplication app(argc, argv);
  QApplication::setApplicationName(ProgramTitle());
  QApplication::setApplicationDisplayName(ProgramTitle());
  QApplication::setWindowIcon(ProgramIcon());
  QApplication::setQuitOnLastWindowClosed(false);  // the window hides into the tray
  std::unique_ptr<TfmMain> window;
  try {
    window = std::make_unique<TfmMain>(switches);
  } catch (const std::exception& e) {
    ShowMessage(nullptr, TMessageKind::Error, QString::fromStdString(e.what()));
    return 1;
  }
  std::unique_ptr<QSocketNotifier> stopNotifier;
  if (signalFd >= 0) {
    stopNotifier = std::make_unique<QSocketNotifier>(signalFd, QSocketNotifier::Read);
    QObject::connect(stopNotifier.get(), &QSocketNotifier::activated, window.get(), [&window, signalFd] {
      signalfd_siginfo info{};
      while (read(signalFd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
      }
      window->Shutdown();
    });
  }
  const int code = QApplication::exec();
  stopNotifier.reset();
  if (signalFd >= 0) close(signalFd);
  return code;
}

}  // namespace zel
