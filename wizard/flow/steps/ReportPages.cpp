#include "wizard/flow/steps/ReportPages.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>

#include "driver/Zelvox.h"
#include "wizard/flow/core/RegReport.h"
#include "wizard/flow/core/X5Files.h"
#include "wizard/flow/device/ReportPrinting.h"
#include "wizard/flow/registration/DeviceTables.h"
#include "wizard/flow/registration/Registration.h"
#include "wizard/flow/steps/GatePages.h"
#include "wizard/flow/steps/PageKit.h"
#include "wizard/flow/steps/X5Pages.h"

namespace zel {

namespace {
QString Joined(const std::vector<std::string>& lines) {
  QStringList out;
  for (const auto& l : lines) out << Q(l);
  return out.join('\n');
}

QPushButton* AddButton(QWidget* page, QLayout* row, const char* name, const char* text) {
  auto* b = new QPushButton(TrQ(text), page);
  b->setObjectName(name);
  row->addWidget(b);
  return b;
}
}  // namespace

QPlainTextEdit* AddReportMemo(QWidget* page) {
  auto* memo = new QPlainTextEdit(page);
  memo->setObjectName("memReport");
  memo->setReadOnly(true);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  page->layout()->addWidget(memo);
  return memo;
}

// ---- confirmation: what will be registered ----

TfmFiscalizationBefore::TfmFiscalizationBefore() : TParamPage("Регистрация ККТ") {
  setObjectName("fmFiscalizationBefore");
  PageLayout(this);
  lblHeading = AddLabel(this, "lblHeading", "");
  memReport = AddReportMemo(this);
}

void TfmFiscalizationBefore::Enter() {
  TRegParams& r = Controller().RegParams;
  lblHeading->setText(r.FirstTime ? TrQ("Будет произведена регистрация ККТ со следующими параметрами:")
                                  : TrQ("Будет произведена перерегистрация ККТ со следующими параметрами:"));
  TZelvox& d = EnsureDriver();
  TDisconnectGuard guard(d);
  DriverCheck(d, d.ReadSerialNumber());
  r.KKTSerial = d.get_SerialNumber();
  DriverCheck(d, d.FNGetSerial());
  r.FNSerial = d.get_SerialNumber();
  memReport->setPlainText(Joined(RegPreviewLines(r)));
}

void TfmFiscalizationBefore::Next() {
  TZelvox& d = EnsureDriver();
  TDisconnectGuard guard(d);
  TRegDevice dev(d);
  Register(dev, Controller().RegParams);
  GoTo<TfmFiscalizationInfo>();
}

// ---- result: shown, printed, saved ----

TfmFiscalizationInfo::TfmFiscalizationInfo() : TParamPage("Печать чека о фискализации") {
  setObjectName("fmFiscalizationInfo");
  PageLayout(this);
  lblHeading = AddLabel(this, "lblHeading", "");
  memReport = AddReportMemo(this);
  AddLabel(this, "lblOFDAccount", "Необходимо зарегистрировать ККТ в личном кабинете ОФД");
  auto* row = new QHBoxLayout;
  static_cast<QVBoxLayout*>(layout())->addLayout(row);
  auto* print = AddButton(this, row, "btnPrint", "Распечатать чек для регистрации в ЛК ОФД");
  auto* save = AddButton(this, row, "btnSave", "Сохранить...");
  btnSaveX5 = AddButton(this, row, "btnSaveX5", "Сохранить в формате X5...");
  AddLabel(this, "lblContinue", "Для продолжения нажмите \"Далее\"");
  connect(print, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { Print(); }); });
  connect(save, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { Save(); }); });
  connect(btnSaveX5, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { SaveX5(); }); });
}

void TfmFiscalizationInfo::Enter() {
  TRegParams& r = Controller().RegParams;
  btnSaveX5->setVisible(Controller().X5Mode);
  lblHeading->setText(r.FirstTime ? TrQ("Произведена фискализация ККТ со следующими параметрами:")
                                  : TrQ("Произведена перерегистрация ККТ со следующими параметрами:"));
  FLines.clear();
  memReport->clear();
  TZelvox& d = EnsureDriver();
  TDisconnectGuard guard(d);
  TRegDevice reg(d);
  ReadRegistrationResult(reg, r);
  TDeviceTables dev(d);
  FLines = RegResultLines(r, ReportWidth(dev));
  memReport->setPlainText(Joined(FLines));
}

void TfmFiscalizationInfo::Print() {
  TDeviceTables dev(EnsureDriver());
  PrintReport(dev, FLines);
}

void TfmFiscalizationInfo::Save() {
  const QString path = AskX5SaveName(this, "Fiscalization.txt");
  if (path.isEmpty()) return;
  SaveReportText(S(path), FLines);
}

void TfmFiscalizationInfo::SaveX5() {
  const TRegParams& r = Controller().RegParams;
  const QString path = AskX5SaveName(this, Q(X5FileName(r.DocType, r.KKTSerial, r.X5FactoryCode, r.DateTime)));
  if (path.isEmpty()) return;
  SaveX5RegReport(r, S(path));
}

void TfmFiscalizationInfo::Next() { GoTo<TfmFinalMessage>(); }

}  // namespace zel
