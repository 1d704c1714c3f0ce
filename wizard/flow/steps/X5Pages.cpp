#include "wizard/flow/steps/X5Pages.h"

#include <QComboBox>
#include <QDate>
#include <QFileInfo>
#include <QMessageBox>

#include "driver/Zelvox.h"
#include "wizard/flow/core/FFDVersions.h"
#include "wizard/flow/core/RegChecks.h"
#include "wizard/flow/core/X5Files.h"
#include "wizard/flow/registration/DriverCheck.h"
#include "wizard/flow/steps/PageKit.h"
#include "wizard/flow/steps/ReportPages.h"
#include "wizard/flow/ui/WizDialogs.h"

namespace zel {

namespace {
const char* const kTextFilter = "*.txt (*.txt);;*.* (*)";

QComboBox* AddCombo(QWidget* page, const char* name, const QStringList& items) {
  auto* box = new QComboBox(page);
  box->setObjectName(name);
  box->addItems(items);
  box->setCurrentIndex(0);
  page->layout()->addWidget(box);
  return box;
}

TDateTimeRec Today() {
  const QDate d = QDate::currentDate();
  return {d.year(), d.month(), d.day(), 0, 0, 0};
}
}  // namespace

QString AskX5SaveName(QWidget* parent, const QString& proposed) {
  QString path = wizdlg::SaveFileName(parent, TrQ("Сохранить"), kTextFilter, proposed);
  if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += ".txt";
  return path;
}

// ---- the register's parameters to a file ----

TfmKKTParamsX5::TfmKKTParamsX5() : TParamPage("Сохранить параметры ФР (X5)") {
  setObjectName("fmKKTParamsX5");
  PageLayout(this);
  edtFactoryCode = AddEdit(this, "edtFactoryCode", "Код завода:");
  edtAutomatNumber = AddEdit(this, "edtAutomatNumber", "Номер автомата:");
  AddLabel(this, "lblModelFN", "Модель ФН:");
  cbbModelFN = AddCombo(this, "cbbModelFN", {"1.0", "1.05", "1.1"});
  AddLabel(this, "lblInfo", "Нажмите \"Далее\", чтобы сохранить параметры ФР");
}

void TfmKKTParamsX5::Next() {
  TX5KKTParamsRec rec;
  rec.FactoryCode = S(edtFactoryCode->text());
  rec.AutomatNumber = S(edtAutomatNumber->text());
  {
    TZelvox& d = EnsureDriver();
    TDisconnectGuard guard(d);
    DriverCheck(d, d.ReadSerialNumber());
    rec.KKTSerial = d.get_SerialNumber();
    DriverCheck(d, d.GetDeviceMetrics());
    rec.KKTModel = d.get_UDescription();
    rec.KKTModelNumber = std::to_string(d.get_UModel());
    DriverCheck(d, d.FNGetSerial());
    rec.FNSerial = d.get_SerialNumber();
  }
  rec.FNModel = X5FNModel(cbbModelFN->currentIndex());
  TRegParams& r = Controller().RegParams;
  r.AutomatNumber = rec.AutomatNumber;
  r.X5FactoryCode = rec.FactoryCode;
  const QString path = AskX5SaveName(this, Q(X5FileName(kX5DocKKTParams, rec.KKTSerial, rec.FactoryCode, Today())));
  if (path.isEmpty()) return;
  SaveX5KKTParams(rec, S(path));
  GoTo<TfmOpenRegParamsX5>();
}

// ---- the registration parameters from a file ----

TfmOpenRegParamsX5::TfmOpenRegParamsX5() : TParamPage("Открыть файл с парметрами (X5)") {
  setObjectName("fmOpenRegParamsX5");
  PageLayout(this);
  AddLabel(this, "lblInfo", "Нажмите \"Далее\", чтобы выбрать файл с параметрами регистрации");
}

void TfmOpenRegParamsX5::Next() {
  const QString path = wizdlg::OpenFileName(this, TrQ("Открыть"), kTextFilter);
  if (path.isEmpty()) return;
  // The record takes the file only when all of it is valid and accepted.
  TRegParams loaded = Controller().RegParams;
  LoadX5RegParams(loaded, S(path));
  {
    TZelvox& d = EnsureDriver();
    TDisconnectGuard guard(d);
    DriverCheck(d, d.FNGetSerial());
    loaded.FNSerial = d.get_SerialNumber();
    DriverCheck(d, d.ReadSerialNumber());
    loaded.KKTSerial = d.get_SerialNumber();
  }
  if (!IsValidRNM(Trimmed(Q(loaded.RNM)), Trimmed(Q(loaded.INN)), Trimmed(Q(loaded.KKTSerial)))) {
    const int answer = wizdlg::Message(this, TrQ("Внимание!"), TrQ("Введен некорректный РНМ для данной ККТ\r\nВсе равно продолжить?"),
                                       wizdlg::TIcon::Warning, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
    if (answer != QMessageBox::Ok) throw EAbort();
  }
  Controller().RegParams = loaded;
  GoTo<TfmRegParamsX5>();
}

// ---- cashier, tax service site, sender, FFD version ----

TfmRegParamsX5::TfmRegParamsX5() : TParamPage("Параметры регистрации (X5)") {
  setObjectName("fmRegParamsX5");
  PageLayout(this);
  edtCashierName = AddEdit(this, "edtCashierName", "ФИО кассира:");
  edtCashierPosition = AddEdit(this, "edtCashierPosition", "Должность кассира:");
  edtCashierINN = AddEdit(this, "edtCashierINN", "ИНН кассира:", 12);
  edtFNSSite = AddEdit(this, "edtFNSSite", "Сайт ФНС:");
  edtFNSSite->setText(kX5TaxOfficeURL);
  edtSenderEmail = AddEdit(this, "edtSenderEmail", "Адрес отправителя:");
  edtSenderEmail->setText(kX5SenderEmail);
  AddLabel(this, "lblFFD", "Версия ФФД:");
  QStringList ffd;
  for (const TFFDChoice& c : X5FFDChoices()) ffd << Q(c.Label);
  cbbFFD = AddCombo(this, "cbbFFD", ffd);
  lblReasonCode = AddLabel(this, "lblReasonCode", "Причина перерегистрации:");
  cbbReasonCode = AddCombo(this, "cbbReasonCode",
                           {TrQ("Замена ОФД"), TrQ("Изменение реквизитов"), TrQ("Изменение настроек ККТ")});
  AddLabel(this, "lblInfo", "Нажмите \"Далее\"");
}

void TfmRegParamsX5::Enter() {
  const TRegParams& r = Controller().RegParams;
  const bool reason = !r.FirstTime && !r.NewFN;
  lblReasonCode->setVisible(reason);
  cbbReasonCode->setVisible(reason);
}

void TfmRegParamsX5::Next() {
  const QString name = edtCashierName->text(), position = edtCashierPosition->text();
  const std::string cashierINN = S(edtCashierINN->text());
  if (name.isEmpty()) Fail(TrQ("Введите ФИО кассира!"));
  if (position.isEmpty()) Fail(TrQ("Введите должность кассира!"));
  if (!cashierINN.empty() && !IsValidINN(cashierINN)) Fail(TrQ("Некорректный ИНН кассира!"));
  TRegParams& r = Controller().RegParams;
  r.Cashier = S(position + " " + name);
  r.CashierINN = cashierINN;
  r.TaxOfficeURL = S(edtFNSSite->text());
  r.SenderEmail = S(edtSenderEmail->text());
  r.FFD = X5FFDChoices()[static_cast<std::size_t>(cbbFFD->currentIndex())].Code;
  r.ReasonCode = cbbReasonCode->currentIndex() + 2;
  GoTo<TfmFiscalizationBefore>();
}

}  // namespace zel
