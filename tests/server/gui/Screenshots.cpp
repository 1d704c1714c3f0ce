// Saves a picture of each tab of the server window, with a few clients on
// in-memory devices: zelserv-screenshots <folder>. Run it on a real display
// (or under xvfb-run) so the pictures show the desktop style.
#include <QApplication>
#include <QTabWidget>
#include <QTreeWidget>

#include <cstdio>
#include <memory>
#include <vector>

#include "common/Translate.h"
#include "server/core/Settings.h"
#include "server/core/Zelserv.h"
#include "server/gui/MainWindow.h"
#include "server/gui/MessageBoxes.h"
#include "tests/server/FakeDevice.h"
#include "tests/server/TestEnv.h"

// Qt's font and bus libraries keep caches for the whole process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\nleak:libdbus\n"; }

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: zelserv-screenshots <folder>\n", stderr);
    return 2;
  }
  QApplication app(argc, argv);
  zel::SetTextDomain("Zelserv");
  zel::SetLanguage("ru");
  zel::SetMessageHandler([](zel::TMessageKind, const QString& text) {
    std::fprintf(stderr, "message: %s\n", text.toLocal8Bit().constData());
    return true;
  });
  zel::test::TConfigHome home;  // leaves the user's settings alone
  zel::test::TFakeFactory fakes;
  zel::TServerSettings settings;
  settings.TCPEnabled = true;
  settings.TCPPort = 211;
  settings.BindAddress = "127.0.0.1";
  settings.AutoPortClose = true;
  settings.CloseTimeout = 30000;
  zel::SaveSettings(settings);

  zel::TfmMain window({}, false);
  struct TClient {
    int pid;
    const char* app;
    const char* computer;
    int port;
    bool lock;
  };
  const TClient table[] = {{4242, "Касса 1", "SHOP-1", 3, true},
                           {5120, "Касса 2", "SHOP-2", 4, false},
                           {977, "Бухгалтерия", "OFFICE", 7, true}};
  std::vector<std::unique_ptr<zel::TZelserv>> clients;
  for (const TClient& c : table) {
    auto client = std::make_unique<zel::TZelserv>();
    client->Connect(c.pid, c.app, c.computer);
    client->OpenPort(c.port, 6, 1000);
    if (c.lock) client->LockPort(c.port);
    clients.push_back(std::move(client));
  }
  window.ShowWindow();
  auto* tabs = window.findChild<QTabWidget*>("PageControl");
  const char* names[] = {"settings", "ports", "clients"};
  int failures = 0;
  for (int i = 0; i < tabs->count(); ++i) {
    tabs->setCurrentIndex(i);
    for (int n = 0; n < 20; ++n) QCoreApplication::processEvents();
    const QString path = QString("%1/zelserv-%2.png").arg(QString::fromLocal8Bit(argv[1]), names[i]);
    if (!window.grab().save(path)) {
      std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
      ++failures;
    }
  }
  clients.clear();
  return failures ? 1 : 0;
}
