#include "testbench/core/pages/tables/DumpPage.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "testbench/core/Dialogs.h"
#include "testbench/core/Driver.h"
#include "testbench/core/PageBuilder.h"
#include "testbench/core/QtText.h"
#include "testbench/core/pages/tables/DumpViewer.h"
#include "testbench/core/util/BinUtils.h"

namespace zel {

namespace {
struct TDeviceCode {
  const char* Text;
  int Code;
};
const TDeviceCode kDeviceCodes[] = {
    {"00h Стационарная проверка ФП", 0},
    {"01h Накопитель ФП1", 1},
    {"02h Накопитель ФП2", 2},
    {"03h Часы", 3},
    {"04h Энергонезависимая память", 4},
    {"05h Процессор ФП / Память программ ФП", 5},
    {"06h Память программ", 6},
    {"07h Оперативная память", 7},
    {"08h Образ файловой системы", 8},
    {"09h Образ uLinux", 9},
    {"0Ah Исполняемый файл ПО", 10},
    {"86h Память программ КЯ", 134},
};
constexpr int kProgressMs = 500;
}  // namespace

TfmReadDump::TfmReadDump() {
  TPageBuilder b(this);
  b.Group("grpDump", QTr("Дамп"));
  QStringList items;
  for (const auto& d : kDeviceCodes) items << QTr(d.Text);
  FDevice = b.Combo("cbDeviceCode", QTr("Устройство:"), items);
  FBlockCount = b.Output("edtBlockCount", QTr("Количество блоков:"));
  FBlockNumber = b.Output("edtBlockNumber", QTr("Номер блока:"));
  b.Row();
  b.Button("btnDampRequest", QTr("Запрос дампа"), [this] { DumpRequest(); });
  b.Button("btnGetData", QTr("Получить данные"), [this] { GetData(); });
  b.Button("btnInterruptDataStream", QTr("Прервать выдачу данных"), [this] { InterruptStream(); });
  b.End();
  b.Row();
  FDownload = b.Button("btnDownload", QTr("Закачать данные"), {});
  FStop = b.Button("btnStop", QTr("Прервать"), {});
  b.Button("btnView", QTr("Посмотреть..."), [this] { View(); });
  b.Button("btnSave", QTr("Сохранить"), [this] { Save(); });
  b.End();
  b.End();
  FMemo = b.Memo("Memo");
  FDevice->setCurrentIndex(0);

  // The download manages the buttons itself: they stay off until the worker ends.
  disconnect(FDownload, nullptr, nullptr, nullptr);
  connect(FDownload, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { StartDownload(); }); });
  disconnect(FStop, nullptr, nullptr, nullptr);
  connect(FStop, &QPushButton::clicked, this, [this] { Stop(); });
  FStop->setEnabled(false);

  FProgress = new QProgressBar(this);
  FProgress->setObjectName("pbProgress");
  FCounter = new QLabel(this);
  FCounter->setObjectName("lblProgress");
  FProgress->hide();
  FCounter->hide();
  if (auto* grid = layout()) {
    grid->addWidget(FProgress);
    grid->addWidget(FCounter);
  }
  FTimer = new QTimer(this);
  FTimer->setInterval(kProgressMs);
  connect(FTimer, &QTimer::timeout, this, [this] { ShowProgress(); });
}

TfmReadDump::~TfmReadDump() {
  FStopFlag = true;
  if (FWorker.joinable()) FWorker.join();
}

void TfmReadDump::EnableButtons(bool value) {
  TPage::EnableButtons(value);
  FStop->setEnabled(false);
}

int TfmReadDump::SelectedCode() const {
  const int i = FDevice->currentIndex();
  return i >= 0 ? kDeviceCodes[i].Code : 0;
}

void TfmReadDump::DumpRequest() {
  TDriver& d = Driver();
  d.put_DeviceCode(SelectedCode());
  const int rc = d.DampRequest();
  FBlockCount->setText(rc == 0 ? QString::number(d.get_DataBlockNumber()) : QString());
  Check(rc);
}

void TfmReadDump::GetData() {
  FMemo->clear();
  TDriver& d = Driver();
  const int rc = d.GetData();
  if (rc != 0) {
    FBlockNumber->clear();
    Check(rc);
  }
  FBlockNumber->setText(QString::number(d.get_DataBlockNumber()));
  const std::string block = d.get_DataBlock();
  for (std::size_t i = 0; i < block.size(); i += 16)
    FMemo->appendPlainText(QString::fromStdString(StrToHex(std::string_view(block).substr(i, 16), true)));
}

void TfmReadDump::InterruptStream() { Check(Driver().InterruptDataStream()); }

void TfmReadDump::StartDownload() {
  if (FWorker.joinable()) return;
  EnableButtons(false);
  FStop->setEnabled(true);
  TDriver& d = Driver();
  d.put_DeviceCode(SelectedCode());
  if (d.DampRequest() != 0) {
    EnableButtons(true);
    return;
  }
  const int blocks = static_cast<int>(d.get_DataBlockNumber());
  FData.clear();
  FResultCode = 0;
  FResultText.clear();
  FStopFlag = false;
  FReceived = 0;
  FProgress->setMaximum(blocks);
  FProgress->setValue(0);
  FProgress->show();
  FCounter->show();
  ShowProgress();
  FTimer->start();
  FWorker = std::thread([this, blocks] { Download(blocks); });
}

void TfmReadDump::Download(int blocks) {
  TDriver& d = Driver();
  bool failed = false;
  for (int block = 1; block <= blocks && !FStopFlag; ++block) {
    if (d.GetData() != 0) {
      FResultCode = static_cast<int>(d.get_ResultCode());
      FResultText = d.get_ResultCodeDescription();
      failed = true;
      break;
    }
    const std::string data = d.get_DataBlock();
    FData.insert(FData.end(), data.begin(), data.end());
    FReceived = static_cast<int>(d.get_DataBlockNumber());
  }
  // A stopped download also leaves the device's data stream.
  if (!failed) d.InterruptDataStream();
  QMetaObject::invokeMethod(this, [this] { Finished(); }, Qt::QueuedConnection);
}

void TfmReadDump::Finished() {
  if (FWorker.joinable()) FWorker.join();
  FTimer->stop();
  ShowProgress();
  EnableButtons(true);
  FProgress->hide();
  FCounter->hide();
  if (FResultCode != 0)
    dialogs::Message(this, QApplication::applicationName(),
                     QTr("Ошибка") + " " + QString::number(FResultCode) + ": " + QString::fromStdString(FResultText),
                     dialogs::TIcon::Warning);
}

// Only asks the worker to stop: the buttons come back when it has ended,
// since until then it still writes the downloaded bytes.
void TfmReadDump::Stop() {
  FStopFlag = true;
  FStop->setEnabled(false);
}

void TfmReadDump::ShowProgress() {
  FProgress->setValue(FReceived);
  FCounter->setText(QTr("Получено блоков:") + " " + QString::number(FReceived));
}

void TfmReadDump::View() {
  // The device record of the area chosen; the list names it when the
  // driver has no description of its own.
  const TDriver& d = Driver();
  QString description = QString::fromStdString(d.get_DeviceCodeDescription());
  if (description.isEmpty()) description = FDevice->currentText();
  ShowDumpDlg(this, FData, {static_cast<int>(d.get_DeviceCode()), description});
}

void TfmReadDump::Save() {
  const QString name = dialogs::SaveFileName(this, QTr("Сохранить"), "*.* (*)");
  if (!name.isEmpty()) WriteDumpFile(name, FData);
}

}  // namespace zel
