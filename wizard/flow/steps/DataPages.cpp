#include "wizard/flow/steps/DataPages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QWheelEvent>

#include "driver/Zelvox.h"
#include "wizard/flow/core/RegChecks.h"
#include "wizard/flow/registration/DeviceTables.h"
#include "wizard/flow/registration/DriverCheck.h"
#include "wizard/flow/registration/GateTexts.h"
#include "wizard/flow/registration/ReasonCodes.h"
#include "wizard/flow/steps/GatePages.h"
#include "wizard/flow/steps/HostPages.h"
#include "wizard/flow/steps/PageKit.h"
#include "wizard/flow/ui/WizDialogs.h"

namespace zel {

namespace {

// Asks a risky question (Cancel preselected); anything but OK aborts silently.
void ConfirmOrAbort(QWidget* parent, const char* caption, const char* text) {
  const int answer = wizdlg::Message(parent, TrQ(caption), TrQ(text), wizdlg::TIcon::Warning,
                                     QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
  if (answer != QMessageBox::Ok) throw EAbort();
}

bool IsValidEmail(const QString& text) {
  const int at = text.indexOf('@');
  return at > 0 && at < text.size() - 1;
}

// True the first time a page is entered in this pass through the flow.
bool FirstVisit(int& generation) {
  if (generation == Controller().RegGeneration) return false;
  generation = Controller().RegGeneration;
  return true;
}

QCheckBox* AddBox(QWidget* page, QGridLayout* grid, int row, int col, const QString& name, const char* caption) {
  auto* box = new QCheckBox(TrQ(caption), page);
  box->setObjectName(name);
  grid->addWidget(box, row, col);
  return box;
}

void SetBits(const std::vector<QCheckBox*>& boxes, const std::vector<int>& bits, int value, int maxBit = 31) {
  for (std::size_t i = 0; i < boxes.size(); ++i)
    if (bits[i] <= maxBit) boxes[i]->setChecked(value >= 0 && ((value >> bits[i]) & 1));
}

int GetBits(const std::vector<QCheckBox*>& boxes, const std::vector<int>& bits) {
  int v = 0;
  for (std::size_t i = 0; i < boxes.size(); ++i)
    if (boxes[i]->isChecked() && boxes[i]->isEnabled()) v |= 1 << bits[i];
  return v;
}

const std::vector<int> kTaxBits = {0, 1, 2, 4, 5};
const std::vector<int> kByteBits = {0, 1, 2, 3, 4, 5, 6, 7};
const std::vector<int> kAgentBits = {0, 1, 2, 3, 4, 5, 6};

TReasonCodesRunner gReasonRunner;

}  // namespace

void SetReasonCodesRunner(TReasonCodesRunner runner) { gReasonRunner = std::move(runner); }

// ---- client type ----

TfmSelectClientType::TfmSelectClientType() : TParamPage("Выберите тип работы") {
  setObjectName("fmSelectClientType");
  PageLayout(this);
  lbClientType = AddList(this, "lbClientType", {"Юридическое лицо", "Индивидуальный предприниматель"});
}

void TfmSelectClientType::Next() {
  Controller().Yur = lbClientType->currentRow() == 0;
  GoTo<TfmFFD>();
}

// ---- FFD version ----

namespace {
constexpr int kFFDCodes[] = {kFFD105, kFFD12};
int FFDGeneration = -1;
}  // namespace

TfmFFD::TfmFFD() : TParamPage("Версия ФФД") {
  setObjectName("fmFFD");
  PageLayout(this);
  lbFFD = AddList(this, "lbFFD", {"ФФД 1.05", "ФФД 1.2"});
}

void TfmFFD::Enter() {
  if (!FirstVisit(FFDGeneration)) return;
  const int recorded = Controller().RegParams.FFD;
  int code = recorded;
  if (recorded == kNotChosen) {
    TZelvox& d = EnsureDriver();
    TDisconnectGuard guard(d);
    code = TRegDevice(d).ReadFFD();
  }
  lbFFD->setCurrentRow(code == kFFD12 ? 1 : 0);
}

void TfmFFD::Next() {
  const int code = kFFDCodes[lbFFD->currentRow() == 1 ? 1 : 0];
  TZelvox& d = EnsureDriver();
  TDisconnectGuard guard(d);
  DriverCheck(d, d.GetDeviceMetrics());
  if (d.get_UModel() != 152 && !TRegDevice(d).IsCashCore()) {
    DriverCheck(d, d.GetECRStatus());
    if (!FirmwareKnowsFFD12(d.get_ECRSoftVersion()) && code == kFFD12)
      ConfirmOrAbort(this, "Внимание!",
                     "Установленная в ККТ версия прошивки\r\nскорее всего несовместима ФФД 1.2\r\nВы уверены, что хотите "
                     "продолжить?");
  }
  Controller().RegParams.FFD = code;
  GoTo<TfmOFDParams>();
}

// ---- user data ----

namespace {
int UserGeneration = -1;
}

TfmUserParams::TfmUserParams() : TParamPage("Настройки места установки ККТ") {
  setObjectName("fmUserParams");
  PageLayout(this);
  edtUser = AddEdit(this, "edtUser", "Наименование организации:");
  edtOperator = AddEdit(this, "edtOperator", "Имя оператора:");
  edtAddress = AddEdit(this, "edtAddress", "Адрес расчетов:");
  edtPaymentPlace = AddEdit(this, "edtPaymentPlace", "Место расчетов:", 256);
  edtSenderEmail = AddEdit(this, "edtSenderEmail", "E-mail отправителя:", 64);
  edtCashierINN = AddEdit(this, "edtCashierINN", "ИНН кассира*:", 64);
  AddLabel(this, "lblCashierINNNote", "* Если нет необходимости передавать ИНН кассира, поле можно оставить пустым");
}

void TfmUserParams::Enter() {
  if (!FirstVisit(UserGeneration)) return;
  const TRegParams& r = Controller().RegParams;
  TZelvox& d = EnsureDriver();
  TDisconnectGuard guard(d);
  TRegDevice dev(d);
  edtUser->setText(Q(!r.User.empty() ? r.User : dev.TableReadStr(18, 1, 7)));
  edtOperator->setText(Q(!r.Cashier.empty() ? r.Cashier : dev.TableReadStr(18, 1, 8)));
  edtAddress->setText(Q(!r.Address.empty() ? r.Address : dev.TableReadStr(18, 1, 9)));
  edtPaymentPlace->setText(Q(!r.PayPlace.empty() ? r.PayPlace : dev.TableReadStrOrEmpty(18, 1, 14)));
  edtSenderEmail->setText(Q(r.SenderEmail));
  edtCashierINN->setText(Q(r.CashierINN));
}

void TfmUserParams::Next() {
  const QString user = edtUser->text(), cashier = edtOperator->text(), address = edtAddress->text();
  const QString place = edtPaymentPlace->text(), email = edtSenderEmail->text(), cashierINN = edtCashierINN->text();
  const bool noAddress = address.isEmpty() && place.isEmpty();
  if (user.isEmpty()) FailMissing("Наименование организации");
  if (cashier.isEmpty()) FailMissing("Имя оператора");
  if (!noAddress && address.isEmpty()) FailMissing("Адрес организации");
  if (Controller().RegParams.FFD >= 2 && Controller().RegParams.FFD != kNotChosen) {
    if (!noAddress && place.isEmpty()) {
      const int answer = wizdlg::Message(this, TrQ("Внимание"), TrQ("Не введено место расчета\r\nПродолжить?\r\n"),
                                         wizdlg::TIcon::Warning, QMessageBox::Ok | QMessageBox::Cancel);
      if (answer != QMessageBox::Ok) FailMissing("Место расчетов");
    }
    if (email.isEmpty()) FailMissing("E-mail отправителя");
    if (!IsValidEmail(email)) Fail(TrQ("Введен некорректный E-mail отправителя"));
  }
  if (!cashierINN.isEmpty() && !IsValidINN(S(cashierINN))) Fail(TrQ("Введен невалидный \"ИНН кассира\" !"));
  TRegParams& r = Controller().RegParams;
  r.User = S(user);
  r.Cashier = S(cashier);
  r.Address = S(address);
  r.PayPlace = S(place);
  r.SenderEmail = S(email);
  r.CashierINN = S(cashierINN);
  GoTo<TfmINN>();
}

// ---- INN and RNM ----

namespace {
int INNGeneration = -1;
}

TfmINN::TfmINN() : TParamPage("Введите ИНН и РНМ ККТ") {
  setObjectName("fmINN");
  PageLayout(this);
  lblWarning = AddLabel(this, "lblWarning", "Внимание! Менять ИНН и РНМ при перерегистрации без замены ФН нельзя!");
  SetTextColor(lblWarning, "red");
  edtINN = AddEdit(this, "edtINN", "ИНН:");
  edtRNM = AddEdit(this, "edtRNM", "РНМ:", 20);
  for (QLineEdit* e : {edtINN, edtRNM})
    e->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), e));
}

void TfmINN::Enter() {
  const TRegParams& r = Controller().RegParams;
  const bool locked = !r.FirstTime && !r.NewFN;
  lblWarning->setVisible(locked);
  edtINN->setEnabled(!locked);
  edtRNM->setEnabled(!locked);
  edtINN->setMaxLength(Controller().Yur ? 10 : 12);
  if (FirstVisit(INNGeneration) || locked) {
    edtINN->clear();
    edtRNM->clear();
    if (!r.FirstTime) {
      TZelvox& d = EnsureDriver();
      TDisconnectGuard guard(d);
      TRegDevice dev(d);
      edtINN->setText(Q(dev.TableReadStr(18, 1, 2)).trimmed());
      edtRNM->setText(Q(dev.TableReadStr(18, 1, 3)).trimmed());
    }
  }
  if (edtINN->isEnabled()) {
    edtINN->setFocus();
    edtINN->setCursorPosition(0);
  }
}

void TfmINN::Next() {
  const std::string inn = Trimmed(edtINN->text()), rnm = Trimmed(edtRNM->text());
  if (!IsValidINN(inn)) Fail(TrQ("Введен некорректный ИНН!"));
  if (rnm.empty()) Fail(TrQ("Введите РНМ!"));
  std::string serial;
  {
    TZelvox& d = EnsureDriver();
    TDisconnectGuard guard(d);
    DriverCheck(d, d.ReadSerialNumber());
    serial = Trimmed(Q(d.get_SerialNumber()));
  }
  if (!IsValidRNM(rnm, inn, serial))
    ConfirmOrAbort(this, "Внимание!", "Введен некорректный РНМ для данной ККТ\r\nВсе равно продолжить?");
  Controller().RegParams.INN = S(edtINN->text());
  Controller().RegParams.RNM = S(edtRNM->text());
  GoTo<TfmWorkMode>();
}

// ---- tax systems and work modes ----

namespace {
int WorkModeGeneration = -1;
}

TfmWorkMode::TfmWorkMode() : TParamPage("Тип налогообложения и режим работы ККТ") {
  setObjectName("fmWorkMode");
  auto* root = PageLayout(this);
  auto* grid = new QGridLayout;
  root->addLayout(grid);
  const char* tax[] = {"ОСН", "УСН доход", "УСН доход минус расход", "ЕСХН", "ПСН"};
  const char* modes[] = {"Шифрование", "Автономный режим", "Автоматический режим", "Применение в сфере услуг",
                         "Режим БСО", "Применение в Интернет", "ККТ в общественном питании (ФФД 1.2 + ОСУ)",
                         "Опт. торговля с организациями и ИП (ФФД 1.2 + ОСУ)"};
  const char* modesEx[] = {"Продажа подакцизных товаров", "Проведение азартных игр", "Проведение лотереи",
                           "Установка принтера в автомате", "Торговля маркиров. товарами (ФФД 1.2)",
                           "Ломбардная деятельность (ФФД 1.2)", "Страховая деятельность (ФФД 1.2)",
                           "ККТ с торговым автоматом (ФФД 1.2 + ОСУ)"};
  const char* agents[] = {"Банк. плат. агент", "Банк. плат. субагент", "Плат. агент", "Плат. субагент",
                          "Поверенный", "Комиссионер", "Агент"};
  for (int i = 0; i < 5; ++i) FTax.push_back(AddBox(this, grid, i, 0, QString("cbTax%1").arg(kTaxBits[i]), tax[i]));
  for (int i = 0; i < 8; ++i) FMode.push_back(AddBox(this, grid, i, 1, QString("cbWorkMode%1").arg(i), modes[i]));
  for (int i = 0; i < 8; ++i) FModeEx.push_back(AddBox(this, grid, i, 2, QString("cbWorkModeEx%1").arg(i), modesEx[i]));
  lblAgent = new QLabel(TrQ("Признак агента:"), this);
  lblAgent->setObjectName("lblAgent");
  grid->addWidget(lblAgent, 8, 0);
  for (int i = 0; i < 7; ++i)
    FAgent.push_back(AddBox(this, grid, 9 + i / 3, i % 3, QString("cbAgent%1").arg(i), agents[i]));
  edtAutomatNumber = AddEdit(this, "edtAutomatNumber", "Номер автомата:", 20);
  lblReasonCode = AddLabel(this, "lblReasonCode", "Код причины перерегистрации:");
  cbReasonCode = new QComboBox(this);
  cbReasonCode->setObjectName("cbReasonCode");
  for (const char* item : {"2. Замена ОФД", "3. Изменение реквизитов", "4. Изменение настроек ККТ"})
    cbReasonCode->addItem(TrQ(item));
  root->addWidget(cbReasonCode);
  lblReasonCodes =
      AddLabel(this, "lblReasonCodes", "Расширенн. коды причин изменения сведений о ККТ (ФФД 1.2):");
  auto* row = new QHBoxLayout;
  root->addLayout(row);
  edtReasonCodes = new QLineEdit("0", this);
  edtReasonCodes->setObjectName("edtReasonCodes");
  edtReasonCodes->setMaxLength(20);
  edtReasonCodes->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edtReasonCodes));
  btnReasonCodes = new QPushButton(TrQ("Выбрать коды..."), this);
  btnReasonCodes->setObjectName("btnReasonCodes");
  row->addWidget(edtReasonCodes);
  row->addWidget(btnReasonCodes);
  connect(FMode[wmAutomatic], &QCheckBox::toggled, this, [this] { UpdateAutomat(); });
  connect(btnReasonCodes, &QPushButton::clicked, this, [this] { ChooseReasonCodes(); });
}

void TfmWorkMode::UpdateAutomat() {
  const bool on = FMode[wmAutomatic]->isChecked();
  edtAutomatNumber->setEnabled(on);
}

void TfmWorkMode::ChooseReasonCodes() {
  TfmReasonCodes dialog(this);
  std::uint32_t value = 0;
  ParseReasonCodes(S(edtReasonCodes->text()), value);
  dialog.SetCode(value);
  const bool ok = gReasonRunner ? gReasonRunner(dialog) : dialog.exec() == QDialog::Accepted;
  if (ok) edtReasonCodes->setText(QString::number(dialog.GetCode()));
}

void TfmWorkMode::Enter() {
  const TRegParams& r = Controller().RegParams;
  const bool ffd12 = r.FFD >= kFFD12 && r.FFD != kNotChosen;
  const bool rereg = !r.FirstTime;
  for (int bit : {6, 7}) FMode[static_cast<std::size_t>(bit)]->setEnabled(ffd12);
  for (int bit : {4, 5, 6, 7}) FModeEx[static_cast<std::size_t>(bit)]->setEnabled(ffd12);
  for (auto* b : FAgent) b->setEnabled(r.FFD == kFFD105);
  lblAgent->setEnabled(r.FFD == kFFD105);
  for (QWidget* w : std::initializer_list<QWidget*>{cbReasonCode, lblReasonCode, edtReasonCodes, lblReasonCodes,
                                                   btnReasonCodes})
    w->setEnabled(rereg);
  cbReasonCode->setVisible(rereg && !r.NewFN);
  lblReasonCode->setVisible(rereg && !r.NewFN);

  if (FirstVisit(WorkModeGeneration)) {
    const int exMax = ffd12 ? 7 : 3;
    SetBits(FTax, kTaxBits, r.TaxSystem == kNotChosen ? 0 : r.TaxSystem);
    SetBits(FMode, kByteBits, r.WorkMode == kNotChosen ? 0 : r.WorkMode);
    SetBits(FModeEx, kByteBits, r.WorkModeEx == kNotChosen ? 0 : r.WorkModeEx, exMax);
    TZelvox& d = EnsureDriver();
    TDisconnectGuard guard(d);
    TRegDevice dev(d);
    SetBits(FAgent, kAgentBits, r.Agent != kNotChosen ? r.Agent : dev.TableReadIntOrZero(18, 1, 16));
    if (rereg) {
      const bool model19 = dev.IsModel19();
      if (r.OFDEnabled && !model19) edtAutomatNumber->setText(Q(dev.TableReadStr(24, 1, 1)));
      if (!model19) SetBits(FModeEx, kByteBits, dev.TableReadIntOrZero(18, 1, 21), exMax);
      if (d.FNGetFiscalizationResult() == 0) {
        if (r.WorkMode == kNotChosen) SetBits(FMode, kByteBits, static_cast<int>(d.get_WorkMode()));
        if (r.TaxSystem == kNotChosen) SetBits(FTax, kTaxBits, static_cast<int>(d.get_TaxType()));
      }
    }
  }
  UpdateAutomat();
}

void TfmWorkMode::Next() {
  TRegParams& r = Controller().RegParams;
  const int tax = GetBits(FTax, kTaxBits);
  if (tax == 0) Fail(TrQ("Внимание!\r\nВыберите систему налогообложения"));
  std::uint32_t reasons = 0;
  if (!r.FirstTime && !ParseReasonCodes(S(edtReasonCodes->text().trimmed()), reasons))
    Fail(TrQ("Введены некорректные коды причин изменения сведений о ККТ"));
  if (r.FFD == kFFD12 && !r.FirstTime && reasons == 0)
    Fail(TrQ("Внимание!\r\nНе выбрана ни один из расширенных кодов\r\nпричин изменения сведений о ККТ.\r\nЕсли причины нет "
             "в списке, укажите \"32. Иные причины\""));
  const int mode = GetBits(FMode, kByteBits), modeEx = GetBits(FModeEx, kByteBits);
  const bool osu = TestBit(mode, wmCatering) || TestBit(mode, wmWholesale) || TestBit(modeEx, wmxVendingMachine);
  if (osu) {
    TZelvox& d = EnsureDriver();
    TDisconnectGuard guard(d);
    const int rc = d.FNGetOSUSupportStatus();
    if (rc == 55 || rc == 51)
      ConfirmOrAbort(this, "Внимание",
                     "Текущая прошивка ККТ \r\nне поддерживает следующие параметры: \r\n ККТ в обществ. питании,\r\n Опт. "
                     "торговля с организациями и ИП,\r\n ККТ с торговым автоматом.\r\nПродолжить в любом случае?");
    else if (d.get_FNOSUSupportStatus() == 255)
      ConfirmOrAbort(this, "Внимание",
                     "ФН не поддерживает ОСУ.\r\nСледующие параметры не поддерживаются:\r\n ККТ в обществ. питании,\r\n "
                     "Опт. торговля с организациями и ИП,\r\n ККТ с торговым автоматом.\r\nПродолжить в любом случае?");
  }
  r.WorkMode = static_cast<std::uint8_t>(mode);
  r.WorkModeEx = static_cast<std::uint8_t>(modeEx);
  r.TaxSystem = static_cast<std::uint8_t>(tax);
  r.AutomatNumber = S(edtAutomatNumber->text());
  r.ReasonCode = cbReasonCode->currentIndex() + 2;
  r.Agent = static_cast<std::uint8_t>(GetBits(FAgent, kAgentBits));
  r.ReasonCodesEx = reasons;
  GoTo<TfmFiscalizationBefore>();
}

// ---- change reasons dialog ----

namespace {
// Scrolls horizontally with Shift held.
class TReasonScroll : public QScrollArea {
 public:
  using QScrollArea::QScrollArea;

 protected:
  void wheelEvent(QWheelEvent* e) override {
    if (e->modifiers() & Qt::ShiftModifier) {
      QWheelEvent turned(e->position(), e->globalPosition(), e->pixelDelta().transposed(), e->angleDelta().transposed(),
                         e->buttons(), Qt::NoModifier, e->phase(), e->inverted());
      QScrollArea::wheelEvent(&turned);
      return;
    }
    QScrollArea::wheelEvent(e);
  }
};
}  // namespace

TfmReasonCodes::TfmReasonCodes(QWidget* parent) : QDialog(parent) {
  setObjectName("fmReasonCodes");
  setWindowTitle(TrQ("Коды причин изменения сведений о ККТ"));
  auto* root = new QVBoxLayout(this);
  auto* scroll = new TReasonScroll(this);
  scroll->setObjectName("sbReasonCodes");
  auto* inner = new QWidget(scroll);
  auto* list = new QVBoxLayout(inner);
  for (const auto& code : ReasonCodes()) {
    auto* box = new QCheckBox(TrQ(code.Caption), inner);
    box->setObjectName(QString("cbReason%1").arg(code.Bit));
    list->addWidget(box);
    FBoxes.emplace_back(code.Bit, box);
  }
  scroll->setWidget(inner);
  root->addWidget(scroll);
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("btnOK");
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  root->addWidget(ok);
  resize(640, 420);
}

void TfmReasonCodes::SetCode(std::uint32_t value) {
  for (auto& [bit, box] : FBoxes) box->setChecked((value >> bit) & 1u);
}

std::uint32_t TfmReasonCodes::GetCode() const {
  std::uint32_t v = 0;
  for (const auto& [bit, box] : FBoxes)
    if (box->isChecked()) v |= 1u << bit;
  return v;
}

}  // namespace zel
