#pragma once
// The device status reports ("Запросы", "Полное состояние") built from plain
// values the pages read from the driver. Models with a fiscal storage (CapFN)
// have no fiscal memory and no EKLZ, so those lines are left out for them.
#include <cstdint>
#include <string>

#include "testbench/core/util/ReportBuilder.h"

namespace zel {

struct TDeviceFlagValues {
  std::int64_t ECRFlags = 0;
  bool QuantityPointPosition = false;
  bool PresenterOut = false;
  bool PresenterIn = false;
  bool IsEKLZOverflow = false;
  bool IsDrawerOpen = false;
  bool LidPositionSensor = false;
  bool ReceiptRibbonLever = false;
  bool JournalRibbonLever = false;
  bool ReceiptRibbonOpticalSensor = false;
  bool JournalRibbonOpticalSensor = false;
  bool EKLZIsPresent = false;
  bool PointPosition = false;
  bool SlipDocumentIsPresent = false;
  bool SlipDocumentIsMoving = false;
  bool ReceiptRibbonIsPresent = false;
  bool JournalRibbonIsPresent = false;
};

struct TFMFlagValues {
  std::int64_t FMFlags = 0;
  bool IsFM24HoursOver = false;
  bool IsFMSessionOpen = false;
  bool IsLastFMRecordCorrupted = false;
  bool IsBatteryLow = false;
  bool FMOverflow = false;
  bool FM2IsPresent = false;
  bool FM1IsPresent = false;
};

// What GetECRStatus (and the few reads around it) report for the long report.
struct TECRStatusValues {
  bool CapFN = false;
  bool CapCashCore = false;
  bool CapSKNO = false;
  std::int64_t ECRMode = 0;
  std::string ECRModeDescription;
  std::string ECRSoftVersion;
  std::int64_t ECRBuild = 0;
  double ECRSoftDate = 0;
  std::string FMSoftVersion;
  std::int64_t FMBuild = 0;
  double FMSoftDate = 0;
  std::int64_t ECRAdvancedMode = 0;
  std::string ECRAdvancedModeDescription;
  std::int64_t ECRModeStatus = 0;
  std::int64_t LogicalNumber = 0;
  std::int64_t OpenDocumentNumber = 0;
  std::int64_t PortNumber = 0;
  std::int64_t RegistrationNumber = 0;
  std::int64_t FreeRegistration = 0;
  std::int64_t SessionNumber = 0;
  std::int64_t FreeRecordInFM = 0;
  double Date = 0;
  double Time = 0;
  std::string SerialNumber;  // string field 1 of row 1 of table 18; empty when unread
  std::string INN;
  TDeviceFlagValues Flags;
  TFMFlagValues FMFlags;
  bool IsASPDMode = false;
  bool IsBlockedByWrongTaxPassword = false;
  bool IsCorruptedFMRecords = false;
  bool IsCorruptedFiscalizationInfo = false;
  std::int64_t LastFMRecordType = 0;
  std::int64_t SKNOStatus = 0;
};

// What GetShortECRStatus reports for the short report.
struct TShortStatusValues {
  std::int64_t ModelID = 0;  // GetModelID; 254 shows the key update lines
  bool CapLastPrintResult = false;
  bool CapFN = false;
  std::int64_t ECRMode = 0;
  std::string ECRModeDescription;
  std::int64_t ECRAdvancedMode = 0;
  std::string ECRAdvancedModeDescription;
  std::int64_t ECRModeStatus = 0;
  std::int64_t QuantityOfOperations = 0;
  double BatteryVoltage = 0;
  double PowerSourceVoltage = 0;
  std::int64_t PreviousECRMode = 0;
  std::int64_t PrinterHeadTemperature = 0;
  std::int64_t UpdateKeysResultCode = 0;
  std::int64_t UpdateKeysStatus = 0;
  std::int64_t LastPrintResult = 0;
  TDeviceFlagValues Flags;
};

// The flags label differs per page: "Флаги" followed directly by "KKT" on
// "Запросы", "Флаги" alone on "Полное состояние".
std::string DeviceFlagsLabel(bool statusPage);

void AddDeviceFlags(TReportBuilder& r, const TDeviceFlagValues& v, bool capFN, const std::string& flagsLabel);
// "Флаги ФП", a separator and the fiscal memory yes/no lines.
void AddFMFlags(TReportBuilder& r, const TFMFlagValues& v);
// The fiscal memory yes/no lines alone.
void AddFMFlagLines(TReportBuilder& r, const TFMFlagValues& v);
// "Статус СКНО: 0001h" and one line a bit, without the leading blank.
void AddSKNOStatus(TReportBuilder& r, std::int64_t status);
// The long report of "Запросы" after a successful GetECRStatus.
void AddLongStatusReport(TReportBuilder& r, const TECRStatusValues& v);
// The short report of "Запросы" after a successful GetShortECRStatus.
void AddShortStatusReport(TReportBuilder& r, const TShortStatusValues& v);

}  // namespace zel
