// zeltb-page-shots: opens the status, FN, table, command and dump pages
// against a register on COM <n> (zelvox-emu --com <n>), presses their main
// buttons and saves a picture of each page into <folder>:
//   zeltb-page-shots <n> <folder>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>
#include <cstdio>
#include <functional>
#include <memory>

#include "testbench/core/Dialogs.h"
#include "testbench/core/Driver.h"
#include "testbench/core/pages/status/DeviceStatusPage.h"
#include "testbench/core/pages/status/ExtendedServicePage.h"
#include "testbench/core/pages/status/FullStatusPage.h"
#include "testbench/core/pages/status/TagTree.h"
#include "testbench/core/pages/tables/CommandPage.h"
#include "testbench/core/pages/tables/DumpPage.h"
#include "testbench/core/pages/tables/TablePage.h"
#include "testbench/fiscal/pages/FNPage.h"

namespace {

using namespace zel;

struct TShot {
  const char* File;
  std::function<TPage*()> Make;
  std::vector<const char*> Buttons;
  std::function<void(TPage*)> Before;
};

void Press(TPage* page, const char* name) {
  if (auto* b = page->findChild<QPushButton*>(name)) b->click();
  else std::fprintf(stderr, "no button %s\n", name);
  QApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: zeltb-page-shots <com number> <folder>\n");
    return 2;
  }
  dialogs::SetScripted(true);
  Driver().put_ConnectionType(0);
  Driver().put_ComNumber(std::atoi(argv[1]));
  const QString folder = argv[2];
  const std::vector<TShot> shots = {
      {"status", [] { return new TfmDeviceStatus; }, {"btnLongStatus"}, {}},
      {"fullstatus", [] { return new TfmFullStatus; }, {"btnGetStatus"}, {}},
      {"extended",
       [] { return new TfmExtendedService; },
       {"btnBoardVersion", "btnOSUSupport", "btnSendLongData"},
       [](TPage* p) {
         auto* e = static_cast<TfmExtendedService*>(p);
         e->AddNode({1224, TTagKind::STLV, 0, {}});
         e->AddNode({1225, TTagKind::Text, 0, "ООО Поставщик"});
         e->AddNode({1171, TTagKind::Text, 0, "+79990000000"});
         e->findChild<QPlainTextEdit*>("memLongData")->setPlainText(QString("Длинная строка ").repeated(12));
       }},
      {"fn", [] { return new TfmFN; }, {"btnFNGetStatus"}, {}},
      {"table", [] { return new TfmTable; }, {"btnReadTable"}, {}},
      {"command", [] { return new TfmCommand; }, {"btnSend", "btnUnsupported"}, {}},
      {"dump",
       [] { return new TfmReadDump; },
       {"btnDownload"},
       [](TPage* p) { p->findChild<QComboBox*>("cbDeviceCode")->setCurrentIndex(4); }},
  };
  int failures = 0;
  for (const TShot& s : shots) {
    std::unique_ptr<TPage> page(s.Make());
    page->resize(960, 720);
    page->show();
    QApplication::processEvents();
    if (s.Before) s.Before(page.get());
    for (const char* b : s.Buttons) Press(page.get(), b);
    if (auto* dump = dynamic_cast<TfmReadDump*>(page.get())) {
      QElapsedTimer t;
      t.start();
      while (dump->Downloading() && t.elapsed() < 20000) {
        QApplication::processEvents();
        QThread::msleep(20);
      }
      QApplication::processEvents();
      Press(page.get(), "btnDampRequest");
      Press(page.get(), "btnGetData");
    }
    std::printf("%s: result %d %s\n", s.File, static_cast<int>(Driver().get_ResultCode()),
                Driver().get_ResultCodeDescription().c_str());
    const QString file = folder + "/zelvoxtst-page-" + s.File + ".png";
    if (!page->grab().save(file)) {
      std::fprintf(stderr, "cannot write %s\n", file.toLocal8Bit().constData());
      ++failures;
    }
  }
  // The link closes before the statics it registered with go away.
  FreeDriver();
  return failures ? 1 : 0;
}
