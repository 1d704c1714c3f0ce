#include "testbench/core/pages/tables/CommandPage.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "testbench/core/Driver.h"
#include "testbench/core/PageBuilder.h"
#include "testbench/core/QtText.h"

namespace zel {

namespace {
// 16h is the technological reset on registers of this family: the scan must
// never send it.
constexpr int kSkippedCode = 0x16;
constexpr int kNotSupported = 55;
}  // namespace

TfmCommand::TfmCommand() {
  TPageBuilder b(this);
  b.Group("grpCommand", QTr("Команда"));
  FCommand = b.Edit("edtCommand", QTr("Команда, HEX:"), nullptr, "13 01 00 00 00");
  FAnswer = b.Output("edtAnswer", QTr("Ответ, HEX:"));
  b.Row();
  b.Button("btnSend", QTr("Передать"), [this] { Send(); });
  b.Button("btnUnsupported", QTr("Список неподдерживаемых команд"), [this] { ScanUnsupported(); });
  b.Stretch();
  b.End();
  b.End();
  b.Group("grpPing", QTr("Пинг"));
  FURL = b.Edit("edtURL", QTr("URL:"), nullptr, "127.0.0.1");
  FPingResult = b.Output("edtPingResult", QTr("Результат пинга:"));
  FPingTime = b.Output("edtPingTime", QTr("Время пинга, мс:"));
  b.Row();
  b.Button("btnPing", QTr("Пинг"), [this] { Ping(); });
  b.Stretch();
  b.End();
  b.End();
  FMemo = b.Memo("Memo");
}

// The answer field shows whatever came back, also after a failure.
void TfmCommand::Send() {
  TDriver& d = Driver();
  d.put_BinaryConversion(1);
  d.put_TransferBytes(FCommand->text().toStdString());
  d.ExchangeBytes();
  FAnswer->setText(QString::fromStdString(d.get_TransferBytes()));
}

void TfmCommand::ScanUnsupported() {
  FMemo->clear();
  FMemo->appendPlainText(QTr("Неподдерживаемые команды"));
  TDriver& d = Driver();
  for (int code = 0; code <= 255; ++code) {
    if (code == kSkippedCode) continue;
    d.put_BinaryConversion(1);
    d.put_TransferBytes(QString::asprintf("%.2x", code).toStdString());
    const int rc = d.ExchangeBytes();
    if (rc == kNotSupported) FMemo->appendPlainText(QString::asprintf("%.2x", code));
    if (rc < 0) {
      // The signed code: a link failure of -1 reads as -1, not FFFFFFFF.
      FMemo->appendPlainText("Error: " + QString::number(rc));
      break;
    }
    QApplication::processEvents();
  }
}

void TfmCommand::Ping() {
  TDriver& d = Driver();
  d.put_URL(FURL->text().toStdString());
  Check(d.Ping());
  FPingResult->setText(QString::number(d.get_PingResult()));
  FPingTime->setText(QString::number(d.get_PingTime()));
}

}  // namespace zel
