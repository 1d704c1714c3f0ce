#include "driver/catalogue/Commands.h"

#include <cstdio>

#include "driver/catalogue/StatusRec.h"

namespace zel {

namespace {

TFieldDef U(const char* name, std::uint8_t size) { return {name, TCodec::UInt, size}; }
TFieldDef Txt(const char* name, std::uint8_t size) { return {name, TCodec::Text, size}; }
TFieldDef TxtEnd(const char* name) { return {name, TCodec::TextToEnd, 0}; }
TFieldDef Raw(const char* name) { return {name, TCodec::BytesToEnd, 0}; }
TFieldDef Amount(const char* name) { return {name, TCodec::Amount, 0}; }
TFieldDef D(const char* name) { return {name, TCodec::Date, 0}; }
TFieldDef T(const char* name) { return {name, TCodec::Time, 0}; }
TFieldDef Milli(const char* name, std::uint8_t size) { return {name, TCodec::Milli, size}; }
TFieldDef Var(const char* name) { return {name, TCodec::Variant, 0}; }

const TFieldDef kPwd = U("Password", 4);
const TFieldDef kOp = U("OperatorNumber", 1);

std::vector<TFieldDef> FiscalizationAnswer() {
  return {D("Date"), T("Time"), Txt("INN", 12), Txt("KKTRegistrationNumber", 20), U("TaxType", 1),
          U("WorkMode", 1), U("RegistrationReasonCode", 1), U("DocumentNumber", 4), U("FiscalSign", 4),
          Txt("INNOFD", 12), U("WorkModeEx", 1), U("RegistrationReasonCodeEx", 4)};
}

std::vector<TCommandDef> BuildCommands() {
  std::vector<TCommandDef> c = {
      // Status and identity
      {"ReadSerialNumber", 0x0F, {kPwd}, {kOp, TxtEnd("SerialNumber")}, "Register serial number as text"},
      {"GetShortECRStatus", 0x10, {kPwd},
       {kOp, U("ECRFlags", 2), U("ECRMode", 1), U("ECRAdvancedMode", 1), U("QuantityOfOperations", 2),
        Milli("BatteryVoltage", 2), Milli("PowerSourceVoltage", 2), U("FMResultCode", 1), U("EKLZResultCode", 1),
        U("PreviousECRMode", 1), U("PrinterHeadTemperature", 1), U("LastPrintResult", 1),
        U("UpdateKeysResultCode", 1), U("UpdateKeysStatus", 1), U("ECRModeStatus", 1), U("FMFlags", 1)},
       "Short status: modes, flags, voltages and the last key update"},
      {"GetECRStatus", kStatusCommand, {kPwd}, StatusRecFields(), "Full status: the 50-byte TStatusRec"},
      {"Beep", 0x13, {kPwd}, {kOp}, "Sounds the buzzer"},
      {"SetExchangeParam", 0x14, {kPwd, U("PortNumber", 1), U("BaudRate", 1), U("Timeout", 2), U("TCPPort", 2)}, {},
       "Sets speed index, timeout (ms) and TCP port of interface PortNumber (0 RS-232, 1 USB, 2 TCP)"},
      {"GetExchangeParam", 0x15, {kPwd, U("PortNumber", 1)}, {U("BaudRate", 1), U("Timeout", 2), U("TCPPort", 2)},
       "Speed index, timeout (ms) and TCP port of interface PortNumber"},
      {"SetSerialNumber", 0x0E, {kPwd, TxtEnd("SerialNumber")}, {},
       "Writes the register serial number (up to 20 digits) once; 115 when it is already set"},
      {"GetDeviceMetrics", 0xFC, {},
       {U("UMajorType", 1), U("UMinorType", 1), U("UMajorProtocolVersion", 1), U("UMinorProtocolVersion", 1),
        U("UModel", 1), U("UCodePage", 1), U("ModelParamCount", 1), TxtEnd("UDescription")},
       "Device type, protocol version, model id, code page, number of model parameters and the model name"},
      {"ReadModelParam", 0xF7, {U("ModelParamIndex", 2)},
       {U("ModelParamNumber", 2), Var("ModelParamValue"), TxtEnd("ModelParamDescription")},
       "Model parameter by index 0 .. ModelParamCount-1; 51 past the last"},
      {"ReadModelParamValue", 0xF8, {U("ModelParamNumber", 2)}, {Var("ModelParamValue")},
       "Model parameter by number; 51 for a number the model lacks"},
      // Printing
      {"PrintStringWithFont", 0x12, {kPwd, U("PrintFlags", 1), U("FontType", 1), TxtEnd("StringForPrinting")}, {kOp},
       "Prints one line in a font; 80 while busy printing, 75 when the print buffer is full"},
      {"PrintString", 0x17, {kPwd, U("PrintFlags", 1), TxtEnd("StringForPrinting")}, {kOp},
       "Prints one line in font 1; 80 while busy printing, 75 when the print buffer is full"},
      {"CutCheck", 0x25, {kPwd, U("CutType", 1)}, {kOp}, "Cuts the tape: 0 full cut, 1 partial"},
      {"GetFontMetrics", 0x26, {kPwd, U("FontType", 1)},
       {U("PrintWidth", 2), U("CharWidth", 1), U("CharHeight", 1), U("FontCount", 1)},
       "Print width in dots, character width and height of a font, number of fonts; 51 for an unknown font"},
      {"FeedDocument", 0x29, {kPwd, U("PrintFlags", 1), U("StringQuantity", 1)}, {kOp}, "Feeds n lines"},
      {"ContinuePrint", 0xB0, {kPwd}, {kOp}, "Continues printing after the paper was replaced"},
      // Registers
      {"GetCashReg", 0x1A, {kPwd, U("RegisterNumber", 1)},
       {kOp, Amount("ContentsOfCashRegister"), TxtEnd("NameCashReg")}, "Cash register 0..255 with its name"},
      {"GetOperationReg", 0x1B, {kPwd, U("RegisterNumber", 1)},
       {kOp, U("ContentsOfOperationRegister", 2), TxtEnd("NameOperationReg")},
       "Operation register with its name; 51 past the last register"},
      {"GetCashRegEx", 0x1C, {kPwd, U("RegisterNumber", 2)},
       {kOp, Amount("ContentsOfCashRegister"), TxtEnd("NameCashRegEx")}, "Extended cash register 4096.. with its name"},
      // Tables
      {"WriteTable", 0x1E, {kPwd, U("TableNumber", 1), U("RowNumber", 2), U("FieldNumber", 1), Raw("FieldValue")}, {},
       "Writes a field: FieldSize bytes, LE integer or zero-padded text; 93 no such table or field, 51 out of range"},
      {"ReadTable", 0x1F, {kPwd, U("TableNumber", 1), U("RowNumber", 2), U("FieldNumber", 1)}, {Raw("FieldValue")},
       "Reads a field as FieldSize bytes; 93 no such table or field"},
      {"InitTable", 0x24, {kPwd}, {}, "Resets every table to its initial values"},
      {"GetTableStruct", 0x2D, {kPwd, U("TableNumber", 1)},
       {Txt("TableName", 40), U("RowNumber", 2), U("FieldNumber", 1)},
       "Table name, number of rows and of fields; 93 no such table"},
      {"GetFieldStruct", 0x2E, {kPwd, U("TableNumber", 1), U("FieldNumber", 1)},
       {Txt("FieldName", 40), U("FieldType", 1), U("FieldSize", 1), U("MINValueOfField", 4), U("MAXValueOfField", 4)},
       "Field name, type (0 number, 1 text), size in bytes, limits of a number; 93 no such table or field"},
      // Date and time
      {"SetTime", 0x21, {kPwd, T("Time")}, {}, "Sets the clock"},
      {"SetDate", 0x22, {kPwd, D("Date")}, {}, "Proposes a date; mode 6 until ConfirmDate"},
      {"ConfirmDate", 0x23, {kPwd, D("Date")}, {}, "Confirms the proposed date"},
      // Shift and receipt
      {"PrintReportWithoutCleaning", 0x40, {kPwd}, {kOp}, "X report"},
      {"PrintReportWithCleaning", 0x41, {kPwd}, {kOp}, "Closes the shift with the shift-closing report"},
      {"CancelCheck", kCancelCommand, {kPwd}, {kOp}, "Cancels the open receipt; mode 8 returns to the shift mode"},
      {"SysAdminCancelCheck", kCancelCommand, {U("SysAdminPassword", 4)}, {kOp},
       "Cancels the open receipt with the system administrator password"},
      {"OpenCheck", 0x8D, {kPwd, U("CheckType", 1)}, {kOp},
       "Opens a receipt: 0 sale, 1 purchase, 2 sale return, 3 purchase return; mode 8"},
      {"OpenSession", 0xE0, {kPwd}, {kOp, U("SessionNumber", 2), U("DocumentNumber", 4), U("FiscalSign", 4)},
       "Opens a shift with the shift-opening report"},
      {"CashIncome", 0x50, {kPwd, Amount("Summ1")}, {kOp}, "Cash paid in; the shift must be open"},
      {"CashOutcome", 0x51, {kPwd, Amount("Summ1")}, {kOp}, "Cash paid out, no more than the drawer holds"},
      // FN
      {"FNGetStatus", 0xFF01, {kPwd},
       {U("FNLifeState", 1), U("FNCurrentDocument", 1), U("FNDocumentData", 1), U("FNSessionState", 1),
        U("FNWarningFlags", 1), D("Date"), T("Time"), Txt("SerialNumber", 16), U("DocumentNumber", 4)},
       "FN life phase, open document, shift, warnings, last document date and number, FN serial"},
      {"FNGetSerial", 0xFF02, {kPwd}, {Txt("SerialNumber", 16)}, "FN serial number"},
      {"FNGetExpirationTime", 0xFF03, {kPwd}, {D("Date"), U("FreeRegistration", 1), U("RegistrationNumber", 1)},
       "FN expiry date, registrations left and made"},
      {"FNGetVersion", 0xFF04, {kPwd}, {Txt("FNSoftVersion", 16), U("FNSoftType", 1)},
       "FN firmware version, 0 debug or 1 serial firmware"},
      {"FNCloseFiscalMode", 0xFF06, {kPwd}, {U("DocumentNumber", 4), U("FiscalSign", 4)},
       "Closes the fiscal mode of the FN"},
      {"FNResetState", 0xFF07, {kPwd, U("RequestType", 1)}, {}, "Resets the FN (debug FN only)"},
      {"FNCancelDocument", 0xFF08, {kPwd}, {}, "Cancels the FN document being built"},
      {"FNGetFiscalizationResult", 0xFF09, {kPwd}, FiscalizationAnswer(), "Last registration"},
      {"FNGetFiscalizationResultByNumber", 0xFF0A, {kPwd, U("RegistrationNumber", 1)}, FiscalizationAnswer(),
       "Registration number n (1 = first); 8 when there is none"},
      {"FNFindDocument", 0xFF0B, {kPwd, U("DocumentNumber", 4)},
       {U("DocumentType", 1), U("OFDTicketReceived", 1), D("Date"), T("Time"), U("DocumentNumber", 4),
        U("FiscalSign", 4), Txt("INN", 12), Txt("INNOFD", 12), Txt("KKTRegistrationNumber", 20), U("TaxType", 1),
        U("WorkMode", 1), U("WorkModeEx", 1), U("SessionNumber", 2), U("OperationType", 1), Amount("Summ1"),
        U("RegistrationReasonCode", 1), U("RegistrationReasonCodeEx", 4), U("DocumentCount", 4), D("Date2"),
        T("Time2")},
       "A fiscal document by number with the fields of its type (others 0); 8 when there is none"},
      {"FNSendTLV", 0xFF0C, {kPwd, Raw("TLVData")}, {}, "Adds tag records to the open document"},
      {"FNGetOSUSupportStatus", 0xFF0F, {kPwd}, {U("FNOSUSupportStatus", 1)},
       "0 OSU supported and not active, 1 active, 255 not supported"},
      {"FNBuildReregistrationReport", 0xFF34,
       {kPwd, Txt("INN", 12), Txt("KKTRegistrationNumber", 20), U("TaxType", 1), U("WorkMode", 1),
        U("RegistrationReasonCode", 1)},
       {U("DocumentNumber", 4), U("FiscalSign", 4)}, "Builds the re-registration report"},
      {"FNBuildRegistrationReport", 0xFF35,
       {kPwd, Txt("INN", 12), Txt("KKTRegistrationNumber", 20), U("TaxType", 1), U("WorkMode", 1)},
       {U("DocumentNumber", 4), U("FiscalSign", 4)}, "Builds the registration report"},
      {"FNBeginRegistrationReport", 0xFF36, {kPwd, U("ReportTypeInt", 1)}, {},
       "Starts a registration (0) or re-registration (1 with, 2 without FN replacement)"},
      {"FNBeginCalculationStateReport", 0xFF37, {kPwd}, {}, "Starts the settlement-state report"},
      {"FNBuildCalculationStateReport", 0xFF38, {kPwd},
       {U("DocumentNumber", 4), U("FiscalSign", 4), U("DocumentCount", 4), D("Date"), T("Time")},
       "Builds the settlement-state report: unconfirmed documents and the oldest one's date"},
      {"FNGetInfoExchangeStatus", 0xFF39, {kPwd},
       {U("InfoExchangeStatus", 1), U("MessageState", 1), U("MessageCount", 2), U("DocumentNumber", 4), D("Date"),
        T("Time")},
       "OFD exchange: status bits, read state, queued messages, first queued document and its date"},
      {"FNCountersSync", 0xFF3A, {kPwd}, {}, "Brings the register's counters in line with the FN"},
      {"FNBeginCloseFiscalMode", 0xFF3D, {kPwd}, {}, "Starts closing the fiscal mode"},
      {"FNGetCurrentSessionParams", 0xFF40, {kPwd},
       {U("FNSessionState", 1), U("SessionNumber", 2), U("ReceiptNumber", 2)}, "FN shift state, number, receipts"},
      {"FNCloseCheckEx", 0xFF45,
       {kPwd, Amount("Summ1"), Amount("Summ2"), Amount("Summ3"), Amount("Summ4"), Amount("Summ5"), Amount("Summ6"),
        Amount("Summ7"), Amount("Summ8"), Amount("Summ9"), Amount("Summ10"), Amount("Summ11"), Amount("Summ12"),
        Amount("Summ13"), Amount("Summ14"), Amount("Summ15"), Amount("Summ16"), U("RoundingSumm", 1),
        Amount("TaxValue1"), Amount("TaxValue2"), Amount("TaxValue3"), Amount("TaxValue4"), Amount("TaxValue5"),
        Amount("TaxValue6"), U("TaxType", 1), TxtEnd("StringForPrinting")},
       {Amount("Change"), U("DocumentNumber", 4), U("FiscalSign", 4), U("ReceiptNumber", 2)},
       "Closes the receipt with payments Summ1 (cash) .. Summ16; change is given in cash; 51 when underpaid"},
      {"FNOperation", 0xFF46,
       {kPwd, U("CheckType", 1), Amount("Price"), Milli("Quantity", 5), U("Summ1Enabled", 1), Amount("Summ1"),
        U("TaxValueEnabled", 1), Amount("TaxValue"), U("Tax1", 1), U("Department", 1), U("PaymentTypeSign", 1),
        U("PaymentItemSign", 1), U("MeasureUnit", 1), TxtEnd("StringForPrinting")},
       {},
       "Adds an item (1 sale, 2 sale return, 3 purchase, 4 purchase return), opening the receipt when none is "
       "open; the sum is Summ1 when Summ1Enabled, else Price x Quantity"},
      {"FNBeginOpenSession", 0xFF41, {kPwd}, {}, "Starts opening a shift"},
      {"FNBeginCloseSession", 0xFF42, {kPwd}, {}, "Starts closing a shift"},
      {"FNGetDocumentSize", 0xFF47, {kPwd}, {U("DocumentSize", 4), U("NotificationSize", 4)},
       "Size of the last fiscal document and of its notification, bytes"},
      {"FNGetFreeMemoryResource", 0xFF48, {kPwd},
       {U("FN5YearResource", 4), U("FN30DayResource", 4), Var("FNMarkingFillPercentage")},
       "Free space: documents for 5 years, for 30 days, marking-code storage fill in % (-1 without one)"},
      {"FNGetImplementation", 0xFF49, {kPwd}, {TxtEnd("FNImplementation")}, "FN model and make"},
      {"FNGetNonClearableSumm", 0xFF4A, {kPwd},
       {Amount("Summ1"), Amount("Summ2"), Amount("Summ3"), Amount("Summ4")},
       "Non-resettable totals of sales, sale returns, purchases, purchase returns"},
      {"FNGetNonClearableSummEx", 0xFF4B, {kPwd, U("CheckType", 1)},
       {Amount("Summ1"), Amount("Summ2"), Amount("Summ3"), Amount("Summ4"), Amount("Summ5"), Amount("Summ6"),
        Amount("Summ7"), Amount("Summ8"), Amount("Summ9"), Amount("Summ10"), Amount("Summ11"), Amount("Summ12"),
        Amount("Summ13"), Amount("Summ14"), Amount("Summ15"), Amount("Summ16")},
       "Non-resettable totals of one operation kind (1-4, 5 corrections) by payment and tax"},
      {"FNGetUnconfirmedDocCount", 0xFF4C, {kPwd}, {U("DocumentCount", 4)},
       "Documents the OFD has not confirmed yet"},
      {"FNSendTLVOperation", 0xFF4D, {kPwd, Raw("TLVData")}, {}, "Adds tag records to the current item"},
      // Memory dumps
      {"DampRequest", 0x01, {kPwd, U("DeviceCode", 1)}, {U("DataBlockNumber", 2)},
       "Starts the dump of memory area DeviceCode (4 non-volatile memory, 3 clock); answers the number of "
       "32-byte blocks; 51 for an area the register cannot dump"},
      {"GetData", 0x02, {kPwd}, {U("DeviceCode", 1), U("DataBlockNumber", 2), Raw("DataBlock")},
       "Next block of the dump (numbered from 1; the last one may be shorter); 8 when no dump is running or "
       "every block was sent"},
      {"InterruptDataStream", 0x03, {kPwd}, {}, "Ends the running dump"},
      {"SendLongData", 0xFF70, {kPwd, TxtEnd("LongData")}, {TxtEnd("LongData")},
       "Echoes a long text back (a check of long messages; the frame limits it to 249 bytes)"},
      {"FNReadFiscalBarcode", 0xFF71, {kPwd, U("DocumentNumber", 4)}, {TxtEnd("BarCode")},
       "QR code text of a receipt (t=YYYYMMDDTHHMM&s=sum&fn=FN&i=number&fp=sign&n=operation); 8 when the "
       "document is not a receipt or does not exist"},
  };
  return c;
}

}  // namespace

const std::vector<TCommandDef>& Commands() {
  static const std::vector<TCommandDef> kCommands = BuildCommands();
  return kCommands;
}

const TCommandDef* FindCommand(const std::string& method) {
  for (const auto& c : Commands())
    if (method == c.Method) return &c;
  return nullptr;
}

const TCommandDef* FindCommandByCode(std::uint16_t code) {
  for (const auto& c : Commands())
    if (c.Code == code) return &c;
  return nullptr;
}

const std::vector<TBitDef>& BitFields() {
  static const std::vector<TBitDef> kBits = {
      {"ECRFlags", 0, "JournalRibbonIsPresent"},
      {"ECRFlags", 1, "ReceiptRibbonIsPresent"},
      {"ECRFlags", 2, "SlipDocumentIsPresent"},
      {"ECRFlags", 3, "SlipDocumentIsMoving"},
      {"ECRFlags", 4, "PointPosition"},
      {"ECRFlags", 5, "EKLZIsPresent"},
      {"ECRFlags", 6, "JournalRibbonOpticalSensor"},
      {"ECRFlags", 7, "ReceiptRibbonOpticalSensor"},
      {"ECRFlags", 8, "JournalRibbonLever"},
      {"ECRFlags", 9, "ReceiptRibbonLever"},
      {"ECRFlags", 10, "LidPositionSensor"},
      {"ECRFlags", 11, "IsDrawerOpen"},
      {"ECRFlags", 12, "PresenterIn"},
      {"ECRFlags", 13, "PresenterOut"},
      {"ECRFlags", 14, "IsEKLZOverflow"},
      {"ECRFlags", 15, "QuantityPointPosition"},
      {"FMFlags", 0, "FM1IsPresent"},
      {"FMFlags", 1, "FM2IsPresent"},
      {"FMFlags", 2, "FMOverflow"},
      {"FMFlags", 3, "IsBatteryLow"},
      {"FMFlags", 4, "IsLastFMRecordCorrupted"},
      {"FMFlags", 5, "IsFMSessionOpen"},
      {"FMFlags", 6, "IsFM24HoursOver"},
      {"FMFlagsEx", 0, "IsASPDMode"},
      {"FMFlagsEx", 1, "IsBlockedByWrongTaxPassword"},
      {"FMFlagsEx", 2, "IsCorruptedFMRecords"},
      {"FMFlagsEx", 3, "IsCorruptedFiscalizationInfo"},
      {"FMFlagsEx", 4, "LastFMRecordType"},
      {"PrintFlags", 0, "UseReceiptRibbon"},
      {"PrintFlags", 1, "UseJournalRibbon"},
      {"PrintFlags", 2, "UseSlipDocument"},
      {"PrintFlags", 3, "CarryStrings"},
      {"PrintFlags", 4, "DelayedPrint"},
      {"PrintFlags", 5, "UseSlipCheck"},
  };
  return kBits;
}

const std::vector<TServiceCommandDef>& ServiceCommands() {
  static const std::vector<TServiceCommandDef> kService = {
      {0x04, "Format the SD card", "0", "none"},
      {0x0E, "Ethernet 100 Mbit", "byte 0: 1 (interface), byte 1: 1 on / 0 off", "none"},
      {0x0F, "FN support of OSU", "byte 0: 2", "1 byte: 0 supported, 1 active, 255 not supported"},
      {0x1A, "Update the marking-code check keys", "4-byte service access code",
       "1 byte: 0..2 keys updated, 254 not needed or refused, 255 no link with the key server"},
      {0xE2, "Set the date of the last fiscal document", "4-byte service access code", "none"},
      {0xEB, "Board firmware version", "0", "text"},
      {0xED, "Switch to firmware-update (DFU) mode", "0", "none"},
  };
  return kService;
}

const std::vector<TModeText>& ModeTexts() {
  static const std::vector<TModeText> kModes = {
      {0, "Рабочий режим"},
      {1, "Выдача данных"},
      {2, "Смена открыта"},
      {3, "Смена открыта, 24 часа истекли"},
      {4, "Смена закрыта"},
      {5, "Блокировка по неверному паролю налогового инспектора"},
      {6, "Ожидание подтверждения даты"},
      {7, "Изменение положения десятичной точки"},
      {8, "Открыт документ"},
      {9, "Технологическое обнуление"},
      {10, "Тестовый прогон"},
      {11, "Печать фискального отчета"},
      {12, "Печать отчета"},
      {13, "Работа с подкладным документом"},
      {14, "Печать подкладного документа"},
      {15, "Подкладной документ сформирован"},
  };
  return kModes;
}

const std::vector<TModeText>& AdvancedModeTexts() {
  static const std::vector<TModeText> kModes = {
      {0, "Бумага есть"},
      {1, "Нет бумаги, пассивный режим"},
      {2, "Нет бумаги, активный режим"},
      {3, "Ожидание команды продолжения печати"},
      {4, "Печать отчета"},
      {5, "Печать"},
  };
  return kModes;
}

Bytes CodeBytes(std::uint16_t code) {
  if (code > 0xFF) return {0xFF, static_cast<std::uint8_t>(code & 0xFF)};
  return {static_cast<std::uint8_t>(code)};
}

int ReadCode(const Bytes& message, std::size_t& pos) {
  if (pos >= message.size()) return -1;
  const std::uint8_t first = message[pos++];
  if (first != 0xFF) return first;
  if (pos >= message.size()) return -1;
  return 0xFF00 | message[pos++];
}

std::string CodeText(std::uint16_t code) {
  char buf[8];
  if (code > 0xFF)
    std::snprintf(buf, sizeof buf, "FF %02X", code & 0xFF);
  else
    std::snprintf(buf, sizeof buf, "%02X", code);
  return buf;
}

Bytes EncodeRequest(const TCommandDef& cmd, const TFieldMap& values) {
  Bytes out = CodeBytes(cmd.Code);
  EncodeFields(cmd.Request, values, out);
  return out;
}

TFieldMap DecodeRequest(const TCommandDef& cmd, const Bytes& message) {
  std::size_t pos = 0;
  if (ReadCode(message, pos) != cmd.Code) throw ECodecError("request carries another command code");
  return DecodeFields(cmd.Request, message, pos);
}

Bytes EncodeAnswer(const TCommandDef& cmd, std::uint8_t error, const TFieldMap& values) {
  Bytes out = CodeBytes(cmd.Code);
  out.push_back(error);
  if (error == 0) EncodeFields(cmd.Answer, values, out);
  return out;
}

int AnswerError(std::uint16_t code, const Bytes& answer) {
  std::size_t pos = 0;
  if (ReadCode(answer, pos) != code || pos >= answer.size()) return -1;
  return answer[pos];
}

TFieldMap DecodeAnswer(const TCommandDef& cmd, const Bytes& answer) {
  std::size_t pos = 0;
  if (ReadCode(answer, pos) != cmd.Code || pos >= answer.size()) throw ECodecError("answer carries another command code");
  ++pos;  // error byte
  return DecodeFields(cmd.Answer, answer, pos);
}

}  // namespace zel
