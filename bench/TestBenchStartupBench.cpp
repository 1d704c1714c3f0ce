// Time from the start of the test bench to its main window shown with every
// page built, and the resident memory then. Runs on the offscreen platform
// unless a display is given; settings go to a private folder.
#include <QApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "testbench/core/MainWindow.h"
#include "testbench/core/Pages.h"

namespace {
long ResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return -1;
}
}  // namespace

int main(int argc, char** argv) {
  const auto started = std::chrono::steady_clock::now();
  QTemporaryDir home;
  if (!home.isValid()) return 2;
  setenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit().constData(), 1);
  setenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit().constData(), 1);
  if (!getenv("DISPLAY") && !getenv("WAYLAND_DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  const auto appReady = std::chrono::steady_clock::now();
  zel::TfmMain window;
  window.show();
  QApplication::processEvents();
  const auto shown = std::chrono::steady_clock::now();
  const long rssKb = ResidentKb();

  using ms = std::chrono::duration<double, std::milli>;
  std::printf("platform            %s\n", QApplication::platformName().toLocal8Bit().constData());
  std::printf("pages built         %d (in %d groups)\n", window.Pages().Count(), window.GroupCount());
  std::printf("application ready   %8.1f ms\n", ms(appReady - started).count());
  std::printf("main window shown   %8.1f ms   (goal < 500 ms)\n", ms(shown - started).count());
  std::printf("resident memory     %8.1f MB   (goal < 150 MB)\n", rssKb / 1024.0);
  return 0;
}
