#include "testbench/core/pages/link/LoadTestPage.h"

#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <random>
#include <stdexcept>

#include "testbench/core/Driver.h"
#include "testbench/core/PageBuilder.h"
#include "testbench/core/QtText.h"

namespace zel {

namespace {
constexpr int kStringsPerRepetition = 10;
constexpr int kFirstRegister = 193;
constexpr int kLastRegister = 208;

// 0 to 39 characters from U+00C0 to U+00D3.
std::string RandomLine() {
  thread_local std::mt19937 random{std::random_device{}()};
  const int length = std::uniform_int_distribution<int>(0, 39)(random);
  QString line;
  for (int i = 0; i < length; ++i) line += QChar(std::uniform_int_distribution<int>(192, 211)(random));
  return line.toStdString();
}
}  // namespace

TfmTest::TfmTest() {
  TPageBuilder b(this);
  b.Group("grpTest", QTr("Тест"));
  FCount = b.Edit("edtCount", QTr("Количество повторов:"), nullptr, "10");
  FStopOnErrorBox = b.CheckBox("chbStopOnError", QTr("Останавливать при ошибке"));
  b.Row();
  FStartButton = LoopButton(b, "btnStart", QTr("Начать"), [this] { RunGuarded(this, [this] { Start(); }); });
  FStopButton = LoopButton(b, "btnStop", QTr("Прервать"), [this] { Abort(); });
  FStopButton->setEnabled(false);
  b.End();
  FReps = b.Output("edtRepCount", QTr("Выполнено повторов:"));
  FErrors = b.Output("edtErrCount", QTr("Количество ошибок:"));
  b.End();
  FErrorLabel = new QLabel;
  FErrorLabel->setObjectName("lblError");
  FErrorLabel->setWordWrap(true);
  layout()->addWidget(FErrorLabel);
  b.Stretch();
}

TfmTest::~TfmTest() { StopAndWait(); }

void TfmTest::ShowLoopState(bool running) {
  FStartButton->setEnabled(!running);
  FStopButton->setEnabled(running);
}

void TfmTest::Start() {
  if (LoopRunning()) return;
  bool ok = false;
  const int wanted = FCount->text().trimmed().toInt(&ok);
  if (!ok)
    throw std::runtime_error("'" + FCount->text().toStdString() + "' " + Tr("не является целым числом"));
  FWanted = wanted;
  FErrorLabel->clear();
  {
    std::lock_guard lock(FErrorLock);
    FLastError.clear();
  }
  FStopOnError = FStopOnErrorBox->isChecked();
  ShowLoopState(true);
  StartLoop([this](TDriver& d) {
    while (!FStopFlag) {
      Repetition(d);
      // Compared for equality only: a wanted count of 0 runs until stopped.
      if (++FRepCount == FWanted) break;
    }
  });
}

bool TfmTest::Call(TDriver& d, const std::function<int()>& call) {
  if (FStopFlag) return false;
  int result = 0;
  {
    const TDriver::TLock lock = d.Lock();
    result = call();
    if (result != 0) {
      std::lock_guard errorLock(FErrorLock);
      FLastError = d.get_ResultCodeDescription();
    }
  }
  FLastResult = result;
  if (result == 0) return true;
  ++FErrCount;
  if (FStopOnError) FStopFlag = true;
  return !FStopFlag;
}

void TfmTest::Repetition(TDriver& d) {
  for (int i = 0; i < kStringsPerRepetition; ++i) {
    const std::string line = RandomLine();
    if (!Call(d, [&] {
          d.put_StringForPrinting(line);
          return d.PrintString();
        }))
      return;
    if (!Call(d, [&] { return d.WaitForPrinting(); })) return;
  }
  if (!Call(d, [&] {
        d.put_CutType(true);
        return d.CutCheck();
      }))
    return;
  if (!Call(d, [&] { return d.WaitForPrinting(); })) return;
  for (int n = kFirstRegister; n <= kLastRegister; ++n)
    if (!Call(d, [&] {
          d.put_RegisterNumber(n);
          return d.GetCashReg();
        }))
      return;
  if (!Call(d, [&] {
        d.put_CheckType(0);
        return d.OpenCheck();
      }))
    return;
  Call(d, [&] { return d.CancelCheck(); });
}

void TfmTest::ShowCounters() {
  FReps->setText(QString::number(FRepCount));
  FErrors->setText(QString::number(FErrCount));
}

void TfmTest::LoopEnded() {
  ShowLoopState(false);
  if (FLastResult != 0 && FStopOnError) {
    std::lock_guard lock(FErrorLock);
    FErrorLabel->setText(QTr("Ошибка: ") + QString::number(FLastResult) + ", " +
                         QString::fromStdString(FLastError));
  }
}

}  // namespace zel
