#include "testbench/core/pages/link/ConnectionTestPage.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>

#include "testbench/core/Driver.h"
#include "testbench/core/PageBuilder.h"
#include "testbench/core/QtText.h"

namespace zel {

namespace {
constexpr int kPrintTestLines = 100;
}

TfmConnectionTest::TfmConnectionTest() {
  TPageBuilder b(this);
  b.Group("grpOptions", QTr("Параметры"));
  FStopOnErrorBox = b.CheckBox("chbStopOnError", QTr("Остановка при ошибке"));
  FFNBox = b.CheckBox("chbFNConnection", QTr("Связь с ФН"));
  FShortBox = b.CheckBox("chbShortStatus", QTr("Использовать короткий запрос"));
  b.End();
  b.Group("grpStatistics", QTr("Статистика"));
  FReps = b.Output("edtRepCount", QTr("Количество повторов:"));
  FErrors = b.Output("edtErrCount", QTr("Количество ошибок:"));
  FPerSecond = b.Output("edtCommandsPerSecond", QTr("Команд в секунду:"));
  FPercent = b.Output("edtErrorPercent", QTr("Процент ошибок:"));
  FTestTime = b.Output("edtTestTime", QTr("Время теста, с:"));
  FCommandTime = b.Output("edtCommandTime", QTr("Время команды, мс:"));
  b.End();
  b.Row();
  FStartButton = LoopButton(b, "btnStart", QTr("Начать"), [this] { Start(); });
  FStopButton = LoopButton(b, "btnStop", QTr("Прервать"), [this] { Abort(); });
  FStopButton->setEnabled(false);
  FPrintButton = b.Button("btnPrintTest", QTr("Тест соединения"), [this] { PrintTest(); });
  b.End();
  FPrintTime = b.Output("edtPrintTime", QTr("Время, мс:"));
  b.Stretch();
}

TfmConnectionTest::~TfmConnectionTest() { StopAndWait(); }

void TfmConnectionTest::ShowLoopState(bool running) {
  FStopButton->setEnabled(running);
  FStartButton->setEnabled(!running);
  FFNBox->setEnabled(!running);
  FStopOnErrorBox->setEnabled(!running);
  FPrintButton->setEnabled(!running);  // its handler would wait for the loop's lock
}

void TfmConnectionTest::Start() {
  if (LoopRunning()) return;
  FCommandsPerSecond = 0;
  FErrorPercent = 0;
  FElapsedMs = 0;
  FStopOnError = FStopOnErrorBox->isChecked();
  ShowLoopState(true);
  const bool fn = FFNBox->isChecked();
  const bool shortStatus = FShortBox->isChecked();
  {
    TDriver& d = Driver();
    const TDriver::TLock lock = d.Lock();
    d.put_CheckFMConnection(fn);
    d.put_StatusCommand(shortStatus ? 1 : 2);
  }
  StartLoop([this, fn, shortStatus](TDriver& d) {
    while (!FStopFlag) {
      const int count = ++FRepCount;
      int result = 0;
      {
        const TDriver::TLock lock = d.Lock();
        result = fn ? d.FNGetStatus() : shortStatus ? d.GetShortECRStatus() : d.GetDeviceMetrics();
      }
      FLastResult = result;
      if (result != 0) ++FErrCount;
      const std::int64_t elapsed = ElapsedMs();
      FElapsedMs = elapsed;
      if (elapsed >= 1) {
        FCommandsPerSecond = count * std::int64_t{1000} / elapsed;
        FErrorPercent = FErrCount * 100.0 / count;
      }
      if (result != 0 && FStopOnError) break;
    }
  });
}

void TfmConnectionTest::ShowCounters() {
  const int reps = FRepCount;
  const std::int64_t elapsed = FElapsedMs;
  FReps->setText(QString::number(reps));
  FErrors->setText(QString::number(FErrCount));
  FPerSecond->setText(QString::number(FCommandsPerSecond));
  FPercent->setText(QString::asprintf("%.2f", FErrorPercent.load()));
  FTestTime->setText(QString::number(elapsed / 1000));
  FCommandTime->setText(QString::number(reps > 0 ? elapsed / reps : 0));
}

void TfmConnectionTest::PrintTest() {
  TDriver& d = Driver();
  QElapsedTimer timer;
  timer.start();
  d.put_StringForPrinting(Tr("Строка для печати"));
  for (int i = 0; i < kPrintTestLines; ++i)
    if (d.PrintString() != 0) break;
  d.put_CutType(true);
  d.CutCheck();
  FPrintTime->setText(QString::number(timer.elapsed()));
}

}  // namespace zel
