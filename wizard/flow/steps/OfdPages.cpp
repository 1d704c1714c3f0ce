#include "wizard/flow/steps/OfdPages.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "driver/Zelvox.h"
#include "wizard/flow/core/OFDTemplates.h"
#include "wizard/flow/device/OFDLink.h"
#include "wizard/flow/steps/DataPages.h"
#include "wizard/flow/steps/NetworkPages.h"
#include "wizard/flow/steps/PageKit.h"
#include "wizard/flow/ui/WizDialogs.h"

namespace zel {

namespace {

const char* const kTemplateFilter = "*.xml (*.xml);;*.* (*)";

// An edit and the caption that names it, enabled (white) or greyed together.
void EnableField(QLineEdit* edit, bool on) {
  edit->setEnabled(on);
  for (QLabel* label : edit->parentWidget()->findChildren<QLabel*>())
    if (label->buddy() == edit) label->setEnabled(on);
}

// The save dialog's default extension.
QString WithXmlExtension(const QString& name) { return QFileInfo(name).suffix().isEmpty() ? name + ".xml" : name; }

}  // namespace

TfmOFDParams::TfmOFDParams() : TParamPage("Настройки ОФД") {
  setObjectName("fmOFDParams");
  auto* l = PageLayout(this);
  auto* digits = new QRegularExpressionValidator(QRegularExpression("[0-9]{0,5}"), this);
  edtOFDServer = AddEdit(this, "edtOFDServer", "Сервер ОФД (URL):");
  edtOFDPort = AddEdit(this, "edtOFDPort", "Порт сервера ОФД:");
  edtOFDPort->setValidator(digits);
  edtOFDName = AddEdit(this, "edtOFDName", "Имя ОФД:");
  edtOFDUrl = AddEdit(this, "edtOFDUrl", "URL ОФД:");
  edtINNOFD = AddEdit(this, "edtINNOFD", "ИНН ОФД:");
  edtTaxOfficeURL = AddEdit(this, "edtTaxOfficeURL", "URL налог. органа:");
  edtServerKM = AddEdit(this, "edtServerKM", "Сервер КМ:", 64);
  edtPortKM = AddEdit(this, "edtPortKM", "Порт сервера КМ:");
  edtPortKM->setValidator(digits);
  edtSenderEmail = AddEdit(this, "edtSenderEmail", "E-mail отправителя:", 64);
  auto* caption = new QLabel(TrQ("Шаблоны:"), this);
  l->addWidget(caption);
  cbTemplate = new QComboBox(this);
  cbTemplate->setObjectName("cbTemplate");
  caption->setBuddy(cbTemplate);
  l->addWidget(cbTemplate);
  auto* row = new QHBoxLayout;
  l->addLayout(row);
  auto* open = new QPushButton(TrQ("Открыть шаблон..."), this);
  open->setObjectName("btnOpenTemplate");
  auto* save = new QPushButton(TrQ("Сохранить шаблон..."), this);
  save->setObjectName("btnSaveTemplate");
  row->addWidget(open);
  row->addWidget(save);
  connect(open, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { OpenTemplate(); }); });
  connect(save, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { SaveTemplateAs(); }); });
  connect(cbTemplate, &QComboBox::activated, this,
          [this](int index) { RunGuarded(this, [this, index] { TemplateChosen(index); }); });
}

TOFDFields TfmOFDParams::Fields() const {
  return {Trimmed(edtOFDServer->text()), Trimmed(edtOFDPort->text()),     Trimmed(edtOFDName->text()),
          Trimmed(edtOFDUrl->text()),    Trimmed(edtINNOFD->text()),      Trimmed(edtTaxOfficeURL->text()),
          Trimmed(edtServerKM->text()),  Trimmed(edtPortKM->text()),      Trimmed(edtSenderEmail->text())};
}

void TfmOFDParams::ShowFields(const TOFDFields& f) {
  edtOFDServer->setText(Q(f.OFDServer));
  edtOFDPort->setText(Q(f.OFDPort));
  edtOFDName->setText(Q(f.OFDName));
  edtOFDUrl->setText(Q(f.OFDUrl));
  edtINNOFD->setText(Q(f.INNOFD));
  edtTaxOfficeURL->setText(Q(f.TaxOfficeURL));
  edtServerKM->setText(Q(f.ServerKM));
  edtPortKM->setText(Q(f.PortKM));
  edtSenderEmail->setText(Q(f.SenderEmail));
}

void TfmOFDParams::FillTemplateList() {
  cbTemplate->clear();
  FFileList.clear();
  cbTemplate->addItem(TrQ(kNoTemplateCaption));
  try {
    FFileList = ListTemplates(EnsureTemplateFolder());
  } catch (const ETemplateFile&) {
    // No folder for templates: the list offers none, the fields can still be typed.
  }
  for (const std::string& path : FFileList) cbTemplate->addItem(Q(TemplateCaption(path)));
  cbTemplate->setCurrentIndex(0);
}

void TfmOFDParams::Enter() {
  FillTemplateList();
  const TController& c = Controller();
  const TRegParams& r = c.RegParams;
  TDeviceTables dev(EnsureDriver());
  FFFD = r.FFD;
  if (c.IsOFDSettingMode && r.FFD == kNotChosen) {
    TDisconnectGuard guard(dev.Driver());
    FFFD = dev.ReadFFD();
  }
  EnableField(edtOFDServer, r.OFDEnabled);
  EnableField(edtOFDPort, r.OFDEnabled);
  EnableField(edtServerKM, FFFD == kFFD12);
  EnableField(edtPortKM, FFFD == kFFD12);
  FDefFields = ReadOFDFields(dev, r, r.OFDEnabled, FFFD);
  ShowFields(FDefFields);
}

void TfmOFDParams::TemplateChosen(int index) {
  if (cbTemplate->count() <= 1 || index < 0) return;
  if (index == 0) {
    ShowFields(FDefFields);
    return;
  }
  const auto i = static_cast<std::size_t>(index - 1);
  if (i < FFileList.size()) ShowFields(LoadTemplate(FFileList[i], Fields()));
}

void TfmOFDParams::OpenTemplate() {
  EnsureTemplateFolder();
  const QString name = wizdlg::OpenFileName(this, TrQ("Открыть шаблон..."), kTemplateFilter);
  if (name.isEmpty()) return;
  ShowFields(LoadTemplate(S(name), Fields()));
}

void TfmOFDParams::SaveTemplateAs() {
  EnsureTemplateFolder();
  const QString name = wizdlg::SaveFileName(this, TrQ("Сохранить шаблон..."), kTemplateFilter);
  if (name.isEmpty()) return;
  SaveTemplate(S(WithXmlExtension(name)), Fields());
}

void TfmOFDParams::Next() {
  TController& c = Controller();
  const TOFDFields f = Fields();
  ValidateOFDFields(f, c.RegParams.OFDEnabled, FFFD, [this](const std::string& question) {
    return wizdlg::Message(this, TrQ("Внимание!"), Q(question), wizdlg::TIcon::Warning,
                           QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel) == QMessageBox::Ok;
  });
  StoreOFDFields(f, c.RegParams);
  if (c.IsOFDSettingMode) {
    // This flow has no registration to carry the OFD link: it is written here.
    TDeviceTables dev(EnsureDriver());
    WriteOFDLink(dev, c.RegParams, c.RegParams.OFDEnabled, FFFD);
    GoTo<TfmSelectNetType>();
  } else {
    GoTo<TfmUserParams>();
  }
}

}  // namespace zel
