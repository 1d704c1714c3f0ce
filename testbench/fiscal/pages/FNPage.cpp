#include "testbench/fiscal/pages/FNPage.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <stdexcept>

#include "testbench/core/Dialogs.h"
#include "testbench/core/Driver.h"
#include "testbench/core/PageBuilder.h"
#include "testbench/core/PageCatalogue.h"
#include "testbench/core/QtText.h"
#include "testbench/core/pages/status/RawCommand.h"
#include "testbench/fiscal/tables/FNReport.h"

namespace zel {

namespace {
// Digits and the point only, as the number edits of the page take.
void DigitsOnly(QLineEdit* edit) {
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9.]*"), edit));
}

TFNDocumentValues FoundDocument(const TDriver& d) {
  TFNDocumentValues v;
  v.DocumentType = d.get_DocumentType();
  v.OFDTicketReceived = d.get_OFDTicketReceived();
  v.DateTime = d.get_Date() + d.get_Time();
  v.DocumentNumber = d.get_DocumentNumber();
  v.FiscalSign = d.get_FiscalSign();
  v.INN = d.get_INN();
  v.INNOFD = d.get_INNOFD();
  v.KKTRegistrationNumber = d.get_KKTRegistrationNumber();
  v.TaxType = d.get_TaxType();
  v.WorkMode = d.get_WorkMode();
  v.WorkModeEx = d.get_WorkModeEx();
  v.RegistrationReasonCode = d.get_RegistrationReasonCode();
  v.RegistrationReasonCodeEx = d.get_RegistrationReasonCodeEx();
  v.SessionNumber = d.get_SessionNumber();
  v.OperationType = d.get_OperationType();
  v.Summ1 = d.get_Summ1();
  v.DocumentCount = d.get_DocumentCount();
  v.DateTime2 = d.get_Date2() + d.get_Time2();
  return v;
}

[[maybe_unused]] const bool kRegistered = [] {
  RegisterPageFactory("TfmFN", [] { return static_cast<TPage*>(new TfmFN); });
  return true;
}();
}  // namespace

TfmFN::TfmFN() : FOut(nullptr, kFNReportWidths) {
  TPageBuilder b(this);
  b.Row();
  b.Button("btnFNGetStatus", QTr("Запрос статуса ФН"), [this] { GetStatus(); });
  b.Button("btnFNGetSerial", QTr("Запрос номера ФН"), [this] { GetSerial(); });
  b.Button("btnFNGetExpirationTime", QTr("Запрос срока действ. ФН"), [this] { GetExpirationTime(); });
  b.Button("btnFNGetVersion", QTr("Запрос версии ФН"), [this] { GetVersion(); });
  b.End();
  b.Row();
  b.Button("btnFNGetImplementation", QTr("Запрос исполнения ФН"), [this] { GetImplementation(); });
  b.Button("btnFNGetDocumentSize", QTr("Запрос размера док-та в ФН"), [this] { GetDocumentSize(); });
  b.Button("btnFNGetOSUSupportStatus", QTr("Запрос статуса поддержки ОСУ"), [this] { GetOSUSupportStatus(); });
  b.Button("btnFNGetFreeMemoryResource", QTr("Запр. ресурса своб. памяти ФН"), [this] { GetFreeMemoryResource(); });
  b.End();
  b.Row();
  b.Button("btnFNGetCurrentSessionParams", QTr("Параметры текущей смены"), [this] { GetCurrentSessionParams(); });
  b.Button("btnFNCountersSync", QTr("Синхр регистры со счетч. ФН"), [this] { CountersSync(); });
  Plain(b, "btnFNBeginOpenSessioin", "Начать откр. смены в ФН", &TZelvox::FNBeginOpenSession);
  b.Button("btnFNOpenSession", QTr("Открыть смену в ФН"), [this] { OpenSession(); });
  b.End();
  b.Row();
  Plain(b, "btnFNBeginCloseSession", "Начать закр. смены в ФН", &TZelvox::FNBeginCloseSession);
  Plain(b, "btnFNCloseSession", "Закрыть смену в ФН", &TZelvox::PrintReportWithCleaning);
  Plain(b, "btnBeginCalculationStateReport", "Начать отчет о сост. расчетов", &TZelvox::FNBeginCalculationStateReport);
  b.Button("btnBuildCalculationStateReport", QTr("Сформ. отчет о сост. расчетов"),
           [this] { BuildCalculationStateReport(); });
  b.End();
  b.Row();
  Plain(b, "btnFNCancelDocument", "Отменить документ в ФН", &TZelvox::FNCancelDocument);
  Plain(b, "btnFNBeginCloseFiscalMode", "Начать закр. фиск. режима", &TZelvox::FNBeginCloseFiscalMode);
  b.Button("btnFNCloseFiscalMode", QTr("Закрыть фиск. режим"), [this] { CloseFiscalMode(); });
  b.Button("btnFNUpdateOKPKeys", QTr("Обновление ключей ОКП"), [this] { UpdateOKPKeys(); })
      ->setToolTip(QTr("Требуется прошивка 13.02.23 и новее"));
  b.End();
  b.Row();
  FDocumentNumber = b.Edit("edtDocumentNumber", QTr("Номер ФД:"), nullptr, "0");
  b.Button("btnFNFindDocument", QTr("Найти фиск. документ"), [this] { FindDocument(); });
  b.Button("btnFNReadFiscalBarcode", QTr("Прочитать QR чека"), [this] { ReadFiscalBarcode(); });
  FRequestType = b.Edit("edtRequestType", QTr("Код запроса:"), nullptr, "0");
  b.Button("btnFNResetState", QTr("Сбросить состояние ФН"), [this] { ResetState(); });
  b.Button("btnSaveAs", QTr("Сохранить..."), [this] { SaveMemoLines(this, FOut.Memo()); });
  b.End();
  DigitsOnly(FDocumentNumber);
  DigitsOnly(FRequestType);
  FOut = TReportMemo(b.Memo("Memo"), kFNReportWidths);
}

void TfmFN::Plain(TPageBuilder& b, const char* name, const char* caption, int (TZelvox::*method)()) {
  b.Button(name, QTr(caption), [this, method] {
    TReportMemo::TScope scope(FOut);
    Check((Driver().*method)());
  });
}

std::int64_t TfmFN::NumberOf(QLineEdit* edit, const char* field) const {
  bool ok = false;
  const qlonglong v = edit->text().trimmed().toLongLong(&ok);
  if (!ok) throw std::runtime_error(Tr("Некорректное значение в поле") + " \"" + field + "\"");
  return v;
}

void TfmFN::GetStatus() {
  TReportMemo::TScope scope(FOut);
  TDriver& d = Driver();
  Check(d.FNGetStatus());
  TFNStatusValues v;
  v.FNLifeState = d.get_FNLifeState();
  v.FNCurrentDocument = d.get_FNCurrentDocument();
  v.FNDocumentData = d.get_FNDocumentData();
  v.FNSessionState = d.get_FNSessionState();
  v.FNWarningFlags = d.get_FNWarningFlags();
  v.DateTime = d.get_Date() + d.get_Time();
  v.SerialNumber = d.get_SerialNumber();
  v.DocumentNumber = d.get_DocumentNumber();
  AddFNStatus(FOut.Report(), v);
}

void TfmFN::GetSerial() {
  TReportMemo::TScope scope(FOut);
  Check(Driver().FNGetSerial());
  AddFNSerial(FOut.Report(), Driver().get_SerialNumber());
}

void TfmFN::GetExpirationTime() {
  TReportMemo::TScope scope(FOut);
  TDriver& d = Driver();
  Check(d.FNGetExpirationTime());
  AddFNExpiration(FOut.Report(), d.get_Date(), d.get_FreeRegistration(), d.get_RegistrationNumber());
}

void TfmFN::GetVersion() {
  TReportMemo::TScope scope(FOut);
  TDriver& d = Driver();
  Check(d.FNGetVersion());
  AddFNVersion(FOut.Report(), d.get_FNSoftVersion(), d.get_FNSoftType());
}

// The unchecked requests print nothing when the device refuses; the result
// line still shows the code.
void TfmFN::GetImplementation() {
  TReportMemo::TScope scope(FOut);
  TDriver& d = Driver();
  if (d.FNGetImplementation() == 0) AddFNImplementation(FOut.Report(), d.get_FNImplementation());
}

void TfmFN::GetDocumentSize() {
  TReportMemo::TScope scope(FOut);
  TDriver& d = Driver();
  if (d.FNGetDocumentSize() == 0) AddFNDocumentSize(FOut.Report(), d.get_DocumentSize(), d.get_NotificationSize());
}

void TfmFN::GetOSUSupportStatus() {
  TReportMemo::TScope scope(FOut);
  TDriver& d = Driver();
  if (d.FNGetOSUSupportStatus() == 0) AddFNOSUSupportStatus(FOut.Report(), d.get_FNOSUSupportStatus());
}

void TfmFN::GetFreeMemoryResource() {
  TReportMemo::TScope scope(FOut);
  TDriver& d = Driver();
  if (d.FNGetFreeMemoryResource() == 0)
    AddFNFreeMemoryResource(FOut.Report(), d.get_FN5YearResource(), d.get_FN30DayResource(),
                            d.get_FNMarkingFillPercentage());
}

void TfmFN::GetCurrentSessionParams() {
  TReportMemo::TScope scope(FOut);
  TDriver& d = Driver();
  Check(d.FNGetCurrentSessionParams());
  AddFNCurrentSessionParams(FOut.Report(), d.get_SessionNumber(), d.get_FNSessionState(), d.get_ReceiptNumber());
}

// Keeps the memo as it is.
void TfmFN::CountersSync() { Driver().FNCountersSync(); }

void TfmFN::OpenSession() {
  TReportMemo::TScope scope(FOut);
  TDriver& d = Driver();
  Check(d.OpenSession());
  Check(d.GetShortECRStatus());
  AddSessionKeyUpdate(FOut.Report(), d.get_UpdateKeysResultCode(), d.get_UpdateKeysStatus());
}

void TfmFN::BuildCalculationStateReport() {
  TReportMemo::TScope scope(FOut);
  TDriver& d = Driver();
  Check(d.FNBuildCalculationStateReport());
  AddCalculationStateReport(FOut.Report(), d.get_DocumentNumber(), d.get_FiscalSign(), d.get_DocumentCount(),
                            d.get_Date() + d.get_Time());
}

void TfmFN::CloseFiscalMode() {
  const int answer = dialogs::Message(
      this, QTr("Закрытие фискального режима?"),
      QTr("Вы уверены, что хотите произвести закрытие фискального режима?") + "\n" + QTr("Данное действие необратимо."),
      dialogs::TIcon::Warning, QMessageBox::Ok | QMessageBox::Cancel);
  if (answer != QMessageBox::Ok) return;
  TReportMemo::TScope scope(FOut);
  TDriver& d = Driver();
  Check(d.FNCloseFiscalMode());
  AddCloseFiscalMode(FOut.Report(), d.get_DocumentNumber(), d.get_FiscalSign());
}

void TfmFN::FindDocument() {
  const std::int64_t number = NumberOf(FDocumentNumber, "edtDocumentNumber");
  TReportMemo::TScope scope(FOut);
  TDriver& d = Driver();
  d.put_DocumentNumber(number);
  Check(d.FNFindDocument());
  AddFoundDocument(FOut.Report(), FoundDocument(d));
}

void TfmFN::ReadFiscalBarcode() {
  const std::int64_t number = NumberOf(FDocumentNumber, "edtDocumentNumber");
  TReportMemo::TScope scope(FOut);
  TDriver& d = Driver();
  d.put_DocumentNumber(number);
  Check(d.FNReadFiscalBarcode());
  FOut.Report().AddRawLine(d.get_BarCode());
}

void TfmFN::ResetState() {
  const std::int64_t request = NumberOf(FRequestType, "edtRequestType");
  TReportMemo::TScope scope(FOut);
  TDriver& d = Driver();
  d.put_RequestType(request);
  Check(d.FNResetState());
}

void TfmFN::UpdateOKPKeys() {
  TReportMemo::TScope scope(FOut);
  const TRawAnswer a = SendRawCommand(Driver(), ServiceCommand(kServiceUpdateKeys, kServiceAccessCode));
  Check(a.ResultCode);
  AddOKPKeyUpdateAnswer(FOut.Report(), a.Payload());
}

}  // namespace zel
