#include "testbench/core/pages/status/StatusValues.h"

#include "driver/Zelvox.h"
#include "testbench/core/util/ModelParams.h"
#include "testbench/core/util/TextUtils.h"

namespace zel {

std::int64_t ModelParamInt(TZelvox& d, int number, std::int64_t fallback) {
  d.put_ModelParamNumber(number);
  if (d.ReadModelParamValue() != 0) return fallback;
  const TPropValue v = d.get_ModelParamValue();
  return (v.Kind == TPropType::Double || v.Kind == TPropType::Currency) ? static_cast<std::int64_t>(v.Real) : v.Int;
}

bool ModelParamBool(TZelvox& d, int number) { return ModelParamInt(d, number) != 0; }

std::string ModelParamValueText(const TZelvox& d) {
  const TPropValue v = d.get_ModelParamValue();
  if (v.Kind == TPropType::Bool) return BoolToYesNo(v.Int != 0);
  if (v.Kind == TPropType::String) return v.Text;
  if (v.Kind == TPropType::Double || v.Kind == TPropType::Currency) return std::to_string(v.Real);
  return std::to_string(v.Int);
}

TDeviceFlagValues ReadDeviceFlags(const TZelvox& d) {
  TDeviceFlagValues f;
  f.ECRFlags = d.get_ECRFlags();
  f.QuantityPointPosition = d.get_QuantityPointPosition();
  f.PresenterOut = d.get_PresenterOut();
  f.PresenterIn = d.get_PresenterIn();
  f.IsEKLZOverflow = d.get_IsEKLZOverflow();
  f.IsDrawerOpen = d.get_IsDrawerOpen();
  f.LidPositionSensor = d.get_LidPositionSensor();
  f.ReceiptRibbonLever = d.get_ReceiptRibbonLever();
  f.JournalRibbonLever = d.get_JournalRibbonLever();
  f.ReceiptRibbonOpticalSensor = d.get_ReceiptRibbonOpticalSensor();
  f.JournalRibbonOpticalSensor = d.get_JournalRibbonOpticalSensor();
  f.EKLZIsPresent = d.get_EKLZIsPresent();
  f.PointPosition = d.get_PointPosition();
  f.SlipDocumentIsPresent = d.get_SlipDocumentIsPresent();
  f.SlipDocumentIsMoving = d.get_SlipDocumentIsMoving();
  f.ReceiptRibbonIsPresent = d.get_ReceiptRibbonIsPresent();
  f.JournalRibbonIsPresent = d.get_JournalRibbonIsPresent();
  return f;
}

TFMFlagValues ReadFMFlags(const TZelvox& d) {
  TFMFlagValues f;
  f.FMFlags = d.get_FMFlags();
  f.IsFM24HoursOver = d.get_IsFM24HoursOver();
  f.IsFMSessionOpen = d.get_IsFMSessionOpen();
  f.IsLastFMRecordCorrupted = d.get_IsLastFMRecordCorrupted();
  f.IsBatteryLow = d.get_IsBatteryLow();
  f.FMOverflow = d.get_FMOverflow();
  f.FM2IsPresent = d.get_FM2IsPresent();
  f.FM1IsPresent = d.get_FM1IsPresent();
  return f;
}

TECRStatusValues ReadECRStatus(TZelvox& d) {
  TECRStatusValues v;
  // The status first: the reads below overwrite shared properties.
  v.ECRMode = d.get_ECRMode();
  v.ECRModeDescription = d.get_ECRModeDescription();
  v.ECRSoftVersion = d.get_ECRSoftVersion();
  v.ECRBuild = d.get_ECRBuild();
  v.ECRSoftDate = d.get_ECRSoftDate();
  v.FMSoftVersion = d.get_FMSoftVersion();
  v.FMBuild = d.get_FMBuild();
  v.FMSoftDate = d.get_FMSoftDate();
  v.ECRAdvancedMode = d.get_ECRAdvancedMode();
  v.ECRAdvancedModeDescription = d.get_ECRAdvancedModeDescription();
  v.ECRModeStatus = d.get_ECRModeStatus();
  v.LogicalNumber = d.get_LogicalNumber();
  v.OpenDocumentNumber = d.get_OpenDocumentNumber();
  v.PortNumber = d.get_PortNumber();
  v.RegistrationNumber = d.get_RegistrationNumber();
  v.FreeRegistration = d.get_FreeRegistration();
  v.SessionNumber = d.get_SessionNumber();
  v.FreeRecordInFM = d.get_FreeRecordInFM();
  v.Date = d.get_Date();
  v.Time = d.get_Time();
  v.INN = d.get_INN();
  v.Flags = ReadDeviceFlags(d);
  v.FMFlags = ReadFMFlags(d);
  v.IsASPDMode = d.get_IsASPDMode();
  v.IsBlockedByWrongTaxPassword = d.get_IsBlockedByWrongTaxPassword();
  v.IsCorruptedFMRecords = d.get_IsCorruptedFMRecords();
  v.IsCorruptedFiscalizationInfo = d.get_IsCorruptedFiscalizationInfo();
  v.LastFMRecordType = d.get_LastFMRecordType();
  v.SKNOStatus = d.get_SKNOStatus();
  v.CapFN = ModelParamBool(d, ModelParam::CapFN);
  v.CapCashCore = ModelParamBool(d, ModelParam::CapCashCore);
  v.CapSKNO = ModelParamBool(d, ModelParam::CapSKNO);
  d.put_TableNumber(18);
  d.put_RowNumber(1);
  d.put_FieldNumber(1);
  v.SerialNumber = d.ReadTable() == 0 ? d.get_ValueOfFieldString() : std::string();
  return v;
}

TShortStatusValues ReadShortStatus(TZelvox& d) {
  TShortStatusValues v;
  v.ECRMode = d.get_ECRMode();
  v.ECRModeDescription = d.get_ECRModeDescription();
  v.ECRAdvancedMode = d.get_ECRAdvancedMode();
  v.ECRAdvancedModeDescription = d.get_ECRAdvancedModeDescription();
  v.ECRModeStatus = d.get_ECRModeStatus();
  v.QuantityOfOperations = d.get_QuantityOfOperations();
  v.BatteryVoltage = d.get_BatteryVoltage();
  v.PowerSourceVoltage = d.get_PowerSourceVoltage();
  v.PreviousECRMode = d.get_PreviousECRMode();
  v.PrinterHeadTemperature = d.get_PrinterHeadTemperature();
  v.UpdateKeysResultCode = d.get_UpdateKeysResultCode();
  v.UpdateKeysStatus = d.get_UpdateKeysStatus();
  v.LastPrintResult = d.get_LastPrintResult();
  v.Flags = ReadDeviceFlags(d);
  v.CapFN = ModelParamBool(d, ModelParam::CapFN);
  v.CapLastPrintResult = ModelParamBool(d, ModelParam::CapLastPrintResult);
  v.ModelID = ModelParamInt(d, ModelParam::GetModelID);
  return v;
}

}  // namespace zel
