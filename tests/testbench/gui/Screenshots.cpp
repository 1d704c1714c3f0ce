// Saves a picture of the test bench's main window for each group that has
// pages, connected to an in-process virtual register:
// zelvoxtst-screenshots <folder>. Run it under xvfb-run so the pictures show
// the desktop style; settings go to a private folder.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "emulator/model/CommandHandler.h"
#include "emulator/model/DeviceModel.h"
#include "testbench/core/Dialogs.h"
#include "testbench/core/Driver.h"
#include "testbench/core/MainWindow.h"
#include "testbench/core/TabbedPage.h"

// Pressed on the page a group shows, in this order, where present.
const char* const kMainButtons[] = {"btnShortStatus", "btnFNGetStatus", "btnGetTableStruct", "btnReadTable",
                                    "btnDampRequest", "btnGetData", "btnBoardVersion", "btnOSUSupport"};

// Qt's font and bus libraries keep caches for the whole process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\nleak:libdbus\n"; }

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: zelvoxtst-screenshots <folder>\n", stderr);
    return 2;
  }
  QTemporaryDir home;
  if (!home.isValid()) return 2;
  setenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit().constData(), 1);
  setenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit().constData(), 1);
  QApplication app(argc, argv);
  zel::dialogs::SetScripted(true);
  zel::emu::TDeviceModel model;
  zel::emu::TCommandHandler handler{model};
  zel::Driver().SetInProcessDevice([&](const zel::Bytes& command) { return handler.Handle(command); });

  const QDir folder(QString::fromLocal8Bit(argv[1]));
  {
    zel::TfmMain window;
    window.resize(1280, 760);  // wide enough for the widest page beside the group list
    window.show();
    int saved = 0;
    for (int i = 0; i < window.GroupCount(); ++i) {
      zel::TfmTabbedPage* group = window.Group(i);
      if (!group || group->PageControl()->count() == 0) continue;
      window.GroupList()->setCurrentRow(i);
      QApplication::processEvents();
      // The shown page's main buttons, so the picture has an answer in it.
      if (auto* device = window.findChild<QComboBox*>("cbDeviceCode"); device && device->isVisible())
        device->setCurrentIndex(3);  // the clock: one block
      for (const char* name : kMainButtons) {
        auto* button = window.findChild<QPushButton*>(name);
        if (button && button->isVisible()) button->click();
      }
      QApplication::processEvents();
      const QString name = folder.filePath(QString("zelvoxtst-%1.png").arg(i + 1, 2, 10, QChar('0')));
      if (!window.grab().save(name)) {
        std::fprintf(stderr, "cannot write %s\n", name.toLocal8Bit().constData());
        return 1;
      }
      std::printf("%s\n", name.toLocal8Bit().constData());
      ++saved;
    }
    if (saved == 0) return 1;
  }
  return 0;
}
