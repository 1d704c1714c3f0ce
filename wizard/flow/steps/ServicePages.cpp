#include "wizard/flow/steps/ServicePages.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

#include "wizard/flow/core/SerialNumber.h"
#include "wizard/flow/steps/DataPages.h"
#include "wizard/flow/steps/GatePages.h"
#include "wizard/flow/steps/PageKit.h"
#include "wizard/flow/steps/X5Pages.h"
#include "wizard/flow/ui/WizDialogs.h"

namespace zel {

// ---- factory serial number ----

TfmEnterSerial::TfmEnterSerial() : TParamPage("Введите заводской номер") {
  setObjectName("fmEnterSerial");
  PageLayout(this);
  edtSerial = AddEdit(this, "edtSerial", "Заводской номер:", 20);
  edtSerial->installEventFilter(this);
  lblEntered = AddLabel(this, "lblEntered", "Заводской номер уже введен. Нажмите \"Далее\"");
  lblEntered->hide();
}

void TfmEnterSerial::Enter() {
  TZelvox& d = EnsureDriver();
  TDeviceTables dev(d);
  const TSerialState state = ReadSerialState(dev);
  lblEntered->setVisible(state.Entered);
  edtSerial->setEnabled(!state.Entered);
  edtSerial->setStyleSheet(state.Entered ? "background-color: palette(window)" : "background-color: white");
  edtSerial->setText(state.Entered ? Q(state.Serial) : QString());
}

bool TfmEnterSerial::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edtSerial && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      edtSerial->setText(Q(SerialPart(S(edtSerial->text()))));
      edtSerial->end(false);
      return true;  // a scanner's Enter does not press anything else
    }
  }
  return TParamPage::eventFilter(watched, event);
}

void TfmEnterSerial::Next() {
  TZelvox& d = EnsureDriver();
  TDeviceTables dev(d);
  if (!ReadSerialState(dev).Entered) {
    const TSerialEntryResult r = EnterSerial(dev, S(edtSerial->text()));
    if (r.Outcome == ESerialEntry::Written)
      wizdlg::Message(this, TrQ("Информация"), Q(r.Message), wizdlg::TIcon::Information);
    else if (r.Outcome == ESerialEntry::AlreadyEntered)
      wizdlg::Message(this, TrQ("Внимание"), Q(r.Message), wizdlg::TIcon::Critical);
  }
  if (Controller().X5Mode)
    GoTo<TfmKKTParamsX5>();
  else
    GoTo<TfmSelectClientType>();
}

// ---- cashier before the archive closing ----

TfmBeforeCloseFN::TfmBeforeCloseFN() : TParamPage("Закрытие архива ФН") {
  setObjectName("fmBeforeCloseFN");
  PageLayout(this);
  AddLabel(this, "lblInfo", "Введите имя и должность кассира и нажмите \"Далее\", \r\nчтобы закрыть архив ФН");
  edtCashier = AddEdit(this, "edtCashier", "Имя и должность кассира:", 64);
}

void TfmBeforeCloseFN::Next() {
  if (edtCashier->text().isEmpty()) Fail(TrQ("Введите имя и должность кассира"));
  TZelvox& d = EnsureDriver();
  TDeviceTables dev(d);
  TDisconnectGuard guard(d);
  WriteCashierName(dev, S(edtCashier->text()));
  GoTo<TfmCloseFN>();
}

// ---- archive closing ----

TfmCloseFN::TfmCloseFN() : TParamPage("Закрытие архива ФН") {
  setObjectName("fmCloseFN");
  PageLayout(this);
  lblStatus = AddLabel(this, "lblStatus", "");
  lblX5Error = AddLabel(this, "lblX5Error", "");
  SetTextColor(lblX5Error, "red");
  edtX5FactoryCode = AddEdit(this, "edtX5FactoryCode", "Код завода:");
  for (QLabel* l : findChildren<QLabel*>())
    if (l->buddy() == edtX5FactoryCode) lblX5FactoryCode = l;
  lblX5FactoryCode->setObjectName("lblX5FactoryCode");
  btnSaveX5 = new QPushButton(TrQ("Сохранить в формате X5..."), this);
  btnSaveX5->setObjectName("btnSaveX5");
  layout()->addWidget(btnSaveX5);
  connect(btnSaveX5, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { SaveX5(); }); });
}

void TfmCloseFN::Enter() {
  if (FGeneration != Controller().RegGeneration) {
    FGeneration = Controller().RegGeneration;
    FCloser.NewPass();
  }
  for (QWidget* w : {static_cast<QWidget*>(lblX5FactoryCode), static_cast<QWidget*>(edtX5FactoryCode),
                     static_cast<QWidget*>(btnSaveX5)})
    w->hide();
  lblX5Error->hide();
  TZelvox& d = EnsureDriver();
  TDeviceTables dev(d);
  const TArchiveClosing& c = FCloser.Close(dev, Controller().X5Mode);
  lblStatus->setText(Q(c.Text));
  SetTextColor(lblStatus, c.Succeeded() ? "black" : "red");
  if (c.HasX5) {
    lblX5FactoryCode->show();
    edtX5FactoryCode->show();
    btnSaveX5->show();
  } else if (!c.X5Error.empty()) {
    lblX5Error->setText(TrQ("Данные для файла X5 не получены: ") + Q(c.X5Error));
    lblX5Error->show();
  }
}

void TfmCloseFN::SaveX5() {
  const TArchiveClosing& c = FCloser.Last();
  if (!c.HasX5) return;
  const std::string name = X5FileName(kX5DocCloseArchive, c.X5.KKTSerial, S(edtX5FactoryCode->text()), c.X5.DateTime);
  const QString path = AskX5SaveName(this, Q(name));
  if (path.isEmpty()) return;
  SaveX5CloseReport(c.X5, S(path));
}

void TfmCloseFN::Next() { GoTo<TfmSelectWorkType>(); }

// ---- settlement state report ----

TfmCalculationStateReport::TfmCalculationStateReport() : TParamPage("Отчет о текущем состоянии расчетов") {
  setObjectName("fmCalculationStateReport");
  PageLayout(this);
  AddLabel(this, "lblInfo", "Нажмите \"Далее\" чтобы распечатать отчет о состоянии расчетов");
}

void TfmCalculationStateReport::Next() {
  TZelvox& d = EnsureDriver();
  TDeviceTables dev(d);
  const std::string text = PrintCalculationStateReport(dev);
  wizdlg::Message(this, TrQ("Информация"), Q(text), wizdlg::TIcon::Information);
  GoTo<TfmSelectWorkType>();
}

}  // namespace zel
