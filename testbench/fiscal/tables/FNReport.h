#pragma once
// The FN status page's report blocks, built from plain values that the page
// reads from the driver. Widths come from the builder (kFNReportWidths).
#include <cstdint>
#include <string>

#include "common/Bytes.h"
#include "testbench/core/util/ReportBuilder.h"

namespace zel {

struct TFNStatusValues {
  std::int64_t FNLifeState = 0;
  std::int64_t FNCurrentDocument = 0;
  std::int64_t FNDocumentData = 0;
  std::int64_t FNSessionState = 0;
  std::int64_t FNWarningFlags = 0;
  double DateTime = 0;  // Date + Time
  std::string SerialNumber;
  std::int64_t DocumentNumber = 0;
};

// One stored fiscal document as FNFindDocument reports it.
struct TFNDocumentValues {
  std::int64_t DocumentType = 0;
  bool OFDTicketReceived = false;
  double DateTime = 0;  // Date + Time
  std::int64_t DocumentNumber = 0;
  std::int64_t FiscalSign = 0;
  std::string INN;
  std::string INNOFD;
  std::string KKTRegistrationNumber;
  std::int64_t TaxType = 0;
  std::int64_t WorkMode = 0;
  std::int64_t WorkModeEx = 0;
  std::int64_t RegistrationReasonCode = 0;
  std::int64_t RegistrationReasonCodeEx = 0;
  std::int64_t SessionNumber = 0;
  std::int64_t OperationType = 0;
  double Summ1 = 0;
  std::int64_t DocumentCount = 0;
  double DateTime2 = 0;  // Date2 + Time2
};

void AddFNLifeState(TReportBuilder& r, std::int64_t lifeState);
void AddFNStatus(TReportBuilder& r, const TFNStatusValues& v);
void AddFNSerial(TReportBuilder& r, const std::string& serialNumber);
void AddFNExpiration(TReportBuilder& r, double date, std::int64_t freeRegistration, std::int64_t registrationNumber);
void AddFNVersion(TReportBuilder& r, const std::string& softVersion, std::int64_t softType);
void AddFNImplementation(TReportBuilder& r, const std::string& implementation);
void AddFNDocumentSize(TReportBuilder& r, std::int64_t documentSize, std::int64_t notificationSize);
void AddFNOSUSupportStatus(TReportBuilder& r, std::int64_t status);
// The marking fill line only when the percentage is 0 or more.
void AddFNFreeMemoryResource(TReportBuilder& r, std::int64_t fiveYearResource, std::int64_t thirtyDayResource,
                             std::int64_t markingFillPercentage);
void AddFNCurrentSessionParams(TReportBuilder& r, std::int64_t sessionNumber, std::int64_t sessionState,
                               std::int64_t receiptNumber);
void AddCalculationStateReport(TReportBuilder& r, std::int64_t documentNumber, std::int64_t fiscalSign,
                               std::int64_t documentCount, double firstDocumentDateTime);
void AddCloseFiscalMode(TReportBuilder& r, std::int64_t documentNumber, std::int64_t fiscalSign);
// After opening a shift: the heading and the key update outcome.
void AddSessionKeyUpdate(TReportBuilder& r, std::int64_t updateKeysResultCode, std::int64_t updateKeysStatus);
// The OKP key update answer; nothing for an empty answer.
void AddOKPKeyUpdateAnswer(TReportBuilder& r, const Bytes& answer);

void AddTaxSystem(TReportBuilder& r, std::int64_t taxType);
void AddWorkMode(TReportBuilder& r, std::int64_t workMode);
void AddWorkModeEx(TReportBuilder& r, std::int64_t workModeEx);
void AddRegistrationReasonCodeEx(TReportBuilder& r, std::int64_t reasonCodeEx);
void AddDocumentData(TReportBuilder& r, const TFNDocumentValues& v);
// The found-document block: type and OFD ticket, then the per-type details.
void AddFoundDocument(TReportBuilder& r, const TFNDocumentValues& v);

}  // namespace zel
