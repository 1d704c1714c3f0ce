#include "testbench/fiscal/tables/FNReport.h"

#include "common/Translate.h"
#include "testbench/core/util/Amount.h"
#include "testbench/core/util/BinUtils.h"
#include "testbench/core/util/DateTimeUtils.h"
#include "testbench/core/util/TextUtils.h"
#include "testbench/fiscal/tables/FNCodeTables.h"

namespace zel {

namespace {
std::string Indented(const char* label) { return "  " + Tr(label); }

void AddBitLines(TReportBuilder& r, std::span<const TBitLabel> labels, std::int64_t value) {
  for (const TBitLabel& bit : labels) r.AddBool(Indented(bit.Text), TestBit(value, bit.Bit));
}

void AddDateNumberSign(TReportBuilder& r, const TFNDocumentValues& v) {
  r.AddLine(Tr("Дата"), DateTimeToStr(v.DateTime));
  r.AddLine(Tr("Номер ФД"), v.DocumentNumber);
  r.AddLine(Tr("Фискальный признак"), v.FiscalSign);
}

void AddRegistration(TReportBuilder& r, const TFNDocumentValues& v) {
  AddDateNumberSign(r, v);
  r.AddLine(Tr("ИНН"), v.INN);
  r.AddLine(Tr("ИНН ОФД"), v.INNOFD);
  r.AddLine(Tr("Рег. номер ККТ"), v.KKTRegistrationNumber);
  AddTaxSystem(r, v.TaxType);
  AddWorkMode(r, v.WorkMode);
  AddWorkModeEx(r, v.WorkModeEx);
}

}  // namespace

void AddFNLifeState(TReportBuilder& r, std::int64_t lifeState) {
  r.AddSeparator();
  r.AddLine(Tr("Состояние фазы жизни"), HexDec(lifeState));
  r.AddSeparator();
  for (const TBitLabel& bit : kFNLifePhaseBits) r.AddLine(Indented(bit.Text), GetBitStr(lifeState, bit.Bit));
  r.AddSeparator();
}

void AddFNStatus(TReportBuilder& r, const TFNStatusValues& v) {
  AddFNLifeState(r, v.FNLifeState);
  r.AddLine(Tr("Текущий документ"), HexText(v.FNCurrentDocument, 2, FNStatusDocumentTypeToStr(v.FNCurrentDocument)));
  r.AddLine(Tr("Данные документа"), HexText(v.FNDocumentData, 2, FNDocumentDataToStr(v.FNDocumentData)));
  r.AddLine(Tr("Состояние смены"), HexText(v.FNSessionState, 2, FNSessionStateToStr(v.FNSessionState)));
  r.AddLine(Tr("Флаги предупреждения"), HexDec(v.FNWarningFlags));
  r.AddLine(Tr("Дата и время ФН"), DateTimeToStr(v.DateTime));
  r.AddLine(Tr("Номер ФН"), v.SerialNumber);
  r.AddLine(Tr("Номер последнего ФД"), v.DocumentNumber);
}

void AddFNSerial(TReportBuilder& r, const std::string& serialNumber) { r.AddLine(Tr("Номер ФН"), serialNumber); }

void AddFNExpiration(TReportBuilder& r, double date, std::int64_t freeRegistration, std::int64_t registrationNumber) {
  r.AddLine(Tr("Срок действия ФН"), DateToStr(date));
  r.AddLine(Tr("Кол-во оставшихся отчетов о перерегистрации"), freeRegistration);
  r.AddLine(Tr("Выполнено отчетов о перерегистрации"), registrationNumber);
}

void AddFNVersion(TReportBuilder& r, const std::string& softVersion, std::int64_t softType) {
  r.AddLine(Tr("Версия ПО ФН"), softVersion);
  r.AddLine(Tr("Тип ПО ФН"), HexText(softType, 2, FNVersionTypeToStr(softType)));
}

void AddFNImplementation(TReportBuilder& r, const std::string& implementation) {
  r.AddLine(Tr("Исполнение ФН:"), implementation);
}

void AddFNDocumentSize(TReportBuilder& r, std::int64_t documentSize, std::int64_t notificationSize) {
  r.AddLine(Tr("Размер текущего документа для ОФД, байт"), documentSize);
  r.AddLine(Tr("Размер текущего уведомления о реализации маркированных товаров для ОИСМ, байт"), notificationSize);
}

void AddFNOSUSupportStatus(TReportBuilder& r, std::int64_t status) {
  r.AddLine(Tr("Статус поддержки ОСУ:"), OSUSupportStatusToStr(status));
}

void AddFNFreeMemoryResource(TReportBuilder& r, std::int64_t fiveYearResource, std::int64_t thirtyDayResource,
                             std::int64_t markingFillPercentage) {
  r.AddLine(Tr("Ресурс данных 5 летнего хранения"), std::to_string(fiveYearResource) + " " + Tr("документов"));
  r.AddLine(Tr("Ресурс данных 30 дневного хранения"), std::to_string(thirtyDayResource) + " " + Tr("Кб"));
  if (markingFillPercentage >= 0)
    r.AddLine(Tr("Процент заполнения оласти хранения увед. о реализации маркир. товара"),
              std::to_string(markingFillPercentage) + " %");
}

void AddFNCurrentSessionParams(TReportBuilder& r, std::int64_t sessionNumber, std::int64_t sessionState,
                               std::int64_t receiptNumber) {
  r.AddLine(Tr("Номер смены"), sessionNumber);
  r.AddLine(Tr("Состояние смены"), sessionState);
  r.AddLine(Tr("Номер чека"), receiptNumber);
}

void AddCalculationStateReport(TReportBuilder& r, std::int64_t documentNumber, std::int64_t fiscalSign,
                               std::int64_t documentCount, double firstDocumentDateTime) {
  r.AddLine(Tr("Номер ФД"), documentNumber);
  r.AddLine(Tr("Фискальный признак"), fiscalSign);
  r.AddLine(Tr("Кол-во неподтвержденных документов"), documentCount);
  r.AddLine(Tr("Дата первого неподтвержденного документа"), DateTimeToStr(firstDocumentDateTime));
}

void AddCloseFiscalMode(TReportBuilder& r, std::int64_t documentNumber, std::int64_t fiscalSign) {
  r.AddLine(Tr("Номер ФД"), documentNumber);
  r.AddLine(Tr("Фискальный признак"), fiscalSign);
}

void AddSessionKeyUpdate(TReportBuilder& r, std::int64_t updateKeysResultCode, std::int64_t updateKeysStatus) {
  r.AddMemoLine(Tr("Состояние обновления ключей:"));
  r.AddMemoLine(GetUpdateKeysResult(updateKeysResultCode, updateKeysStatus));
}

void AddOKPKeyUpdateAnswer(TReportBuilder& r, const Bytes& answer) {
  if (!answer.empty()) r.AddMemoLine(OKPKeyUpdateAnswerToStr(answer));
}

void AddTaxSystem(TReportBuilder& r, std::int64_t taxType) {
  r.AddLine(Tr("Код сист. налогообложения"), taxType);
  AddBitLines(r, kTaxSystemBits, taxType);
}

void AddWorkMode(TReportBuilder& r, std::int64_t workMode) {
  r.AddLine(Tr("Режим работы"), workMode);
  AddBitLines(r, kWorkModeBits, workMode);
}

void AddWorkModeEx(TReportBuilder& r, std::int64_t workModeEx) {
  r.AddLine(Tr("Расширенные признаки работы ККТ"), workModeEx);
  AddBitLines(r, kWorkModeExBits, workModeEx);
}

void AddRegistrationReasonCodeEx(TReportBuilder& r, std::int64_t reasonCodeEx) {
  r.AddLine(Tr("Код причины изменения сведений о ККТ"), reasonCodeEx);
  for (const TBitLabel& bit : kRegistrationReasonBits)
    if (TestBit(reasonCodeEx, bit.Bit)) r.AddBool(Indented(bit.Text), true);
}

void AddDocumentData(TReportBuilder& r, const TFNDocumentValues& v) {
  switch (v.DocumentType) {
    case 1:
      AddRegistration(r, v);
      break;
    case 2:
    case 5:
      AddDateNumberSign(r, v);
      r.AddLine(Tr("Номер смены"), v.SessionNumber);
      break;
    case 3:
    case 4:
    case 31:
      AddDateNumberSign(r, v);
      r.AddLine(Tr("Тип операции"), v.OperationType);
      r.AddLine(Tr("Сумма операции"), AmountToStr(v.Summ1, true));
      break;
    case 6:
      AddDateNumberSign(r, v);
      r.AddLine(Tr("ИНН"), v.INN);
      r.AddLine(Tr("Рег. номер ККТ"), v.KKTRegistrationNumber);
      break;
    case 11:
      AddRegistration(r, v);
      r.AddLine(Tr("Код причины перерегистрации"), v.RegistrationReasonCode);
      AddRegistrationReasonCodeEx(r, v.RegistrationReasonCodeEx);
      break;
    case 21:
      AddDateNumberSign(r, v);
      r.AddLine(Tr("Кол-во неподтвержд. документов"), v.DocumentCount);
      r.AddLine(Tr("Дата 1-го неподтвержд. документа"), DateTimeToStr(v.DateTime2));
      break;
    default:
      break;
  }
}

void AddFoundDocument(TReportBuilder& r, const TFNDocumentValues& v) {
  r.AddLine(Tr("Тип фиск. документа"), CodeText(v.DocumentType, FNFindDocumentTypeToStr(v.DocumentType)));
  r.AddLine(Tr("Получена ли квитанция из ОФД"), BoolToYesNo(v.OFDTicketReceived));
  AddDocumentData(r, v);
}

}  // namespace zel
