// Every real method against the in-process virtual register, step tables
// that follow the life of a register from registration to closing: each step
// sets properties, calls a method and checks the result code, the output
// properties and what the register recorded. A test keeps the tables complete.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

#include "driver/CommandsDoc.h"
#include "driver/DriverDialogs.h"
#include "driver/HexText.h"
#include "driver/Zelvox.h"
#include "emulator/model/CommandHandler.h"
#include "emulator/model/DeviceModel.h"
#include "tests/support/TempConfig.h"

namespace zel {
namespace {

// In: "{dir}" in a value is the test's own folder. Out: "*" = any non-empty
// text, "~text" = holds text; a name starting with '@' is what the virtual
// register or the host recorded (see Recorded()).
struct Step {
  const char* Method;
  std::vector<std::pair<const char*, const char*>> In;
  int Code;
  std::vector<std::pair<const char*, const char*>> Out;
};

const std::vector<Step> kStatusSteps = {
    {"GetDeviceMetrics", {}, 0, {{"UModel", "16"}, {"UDescription", "ZELVOX-01F"}, {"UCodePageText", "Windows-1251"}}},
    {"GetECRStatus", {}, 0,
     {{"ECRMode", "4"}, {"ECRModeDescription", "Смена закрыта"}, {"ECRSoftVersion", "3.2"}, {"ECRBuild", "25611"},
      {"ECRSoftDate", "13.02.2023 00:00:00"}, {"OperatorNumber", "30"}, {"Connected", "1"}}},
    {"GetShortECRStatus", {}, 0, {{"ECRMode", "4"}, {"ECRAdvancedMode", "0"}, {"ECRAdvancedModeDescription", "Бумага есть"}}},
    {"ReadModelParamValue", {{"ModelParamNumber", "72"}}, 0, {{"ModelParamValue", "18"}}},
    {"ReadModelParamValue", {{"ModelParamNumber", "28"}}, 0, {{"ModelParamValue", "0"}}},
    {"ReadModelParam", {{"ModelParamIndex", "0"}}, 0, {{"ModelParamDescription", "*"}}},
    {"ReadSerialNumber", {}, 0, {{"SerialNumber", ""}}},
    {"SetSerialNumber", {{"SerialNumber", "10000012345678"}}, 0, {}},
    {"ReadSerialNumber", {{"SerialNumber", ""}}, 0, {{"SerialNumber", "10000012345678"}}},
    {"SetSerialNumber", {{"SerialNumber", "1"}}, 115, {}},  // written once
    // 14 digits do not fit the status record: the full serial is fetched.
    {"GetECRStatus", {{"SerialNumber", ""}}, 0, {{"SerialNumber", "10000012345678"}, {"ECRInput", "11 1E 00 00 00"}}},
    {"LockPort", {}, 0, {{"Connected", "1"}}},
    {"UnlockPort", {}, 0, {}},
    {"Beep", {}, 0, {{"ECRInput", "13 1E 00 00 00"}, {"ECROutput", "13 00 1E"}}},
    {"ResetECR", {}, 0, {}},
    {"ContinuePrint", {}, 0, {}},
    {"ContinuePrint", {{"Password", "123456"}}, 79, {}},  // no operator has it
    {"PrintStringWithWrap", {{"Password", "30"}, {"StringForPrinting", "Итог"}}, 0, {{"@Tape", "Итог"}}},
    {"ClearResult", {}, 0, {{"ResultCode", "0"}, {"ResultCodeDescription", "Ошибок нет"}}},
    {"ReadErrorDescription", {{"ErrorCode", "93"}}, 0, {{"ErrorDescription", "Таблица или поле не определены"}}},
    {"ReadErrorDescription", {{"ErrorCode", "-14"}}, 0, {{"ErrorDescription", "*"}}},
    // Memory dumps in 32-byte blocks: the clock area is one block.
    {"DampRequest", {{"DeviceCode", "3"}}, 0, {{"DataBlockNumber", "1"}}},
    {"GetData", {{"DataBlockNumber", "0"}}, 0, {{"DeviceCode", "3"}, {"DataBlockNumber", "1"}, {"DataBlock", "*"}}},
    {"GetData", {}, 8, {}},  // past the last block
    {"DampRequest", {{"DeviceCode", "4"}}, 0, {{"DataBlockNumber", "*"}}},
    {"InterruptDataStream", {}, 0, {}},
    {"GetData", {}, 8, {}},
    {"DampRequest", {{"DeviceCode", "9"}}, 51, {}},
    // The echo travels in Windows-1251 both ways.
    {"SendLongData", {{"LongData", "Длинные данные"}}, 0, {{"LongData", "Длинные данные"}, {"ECROutput", "~FF 70 00 C4 EB E8"}}},
};

const std::vector<Step> kTableSteps = {
    {"GetTableStruct", {{"TableNumber", "18"}}, 0, {{"TableName", "Фискальный накопитель"}, {"RowNumber", "1"}}},
    {"GetFieldStruct", {{"TableNumber", "10"}, {"FieldNumber", "10"}}, 0,
     {{"FieldType", "0"}, {"FieldSize", "1"}, {"MINValueOfField", "2"}, {"MAXValueOfField", "30"}}},
    // A number field written as text (table editor) and as an integer (wizard).
    {"WriteTable", {{"TableNumber", "10"}, {"RowNumber", "1"}, {"FieldNumber", "10"}, {"ValueOfFieldString", "30"}}, 0, {}},
    {"ReadTable", {}, 0, {{"ValueOfFieldInteger", "30"}, {"ValueOfFieldString", "30"}, {"FieldName", "Таймаут ФН"}}},
    {"WriteTable", {{"ValueOfFieldInteger", "2"}}, 0, {}},
    {"ReadTable", {}, 0, {{"ValueOfFieldInteger", "2"}}},
    {"WriteTable", {{"ValueOfFieldInteger", "31"}}, 51, {}},
    {"WriteTable", {{"ValueOfFieldString", "x2"}}, -6, {}},
    {"WriteTable", {{"TableNumber", "18"}, {"RowNumber", "1"}, {"FieldNumber", "7"}, {"ValueOfFieldString", "ООО «Ромашка»"}}, 0, {}},
    {"ReadTable", {{"ValueOfFieldString", ""}}, 0, {{"ValueOfFieldString", "ООО «Ромашка»"}, {"FieldType", "1"}}},
    {"ExportTables", {{"FileName", "{dir}/tables.csv"}}, 0, {}},
    {"InitTable", {}, 0, {}},
    // An export imports back cleanly: fields that already hold their value are left alone.
    {"ImportTables", {}, 0, {}},
    {"ReadTable", {{"TableNumber", "18"}, {"RowNumber", "1"}, {"FieldNumber", "7"}, {"ValueOfFieldString", ""}}, 0,
     {{"ValueOfFieldString", "ООО «Ромашка»"}}},
    {"ImportTables", {{"FileName", "{dir}/missing.csv"}}, -6, {}},
    {"ExportTables", {{"FileName", "/dev/full"}}, -6, {}},  // a write that fails is no success
    {"ExportTables", {{"FileName", "{dir}/no/such/folder.csv"}}, -6, {}},
    {"ReadTable", {{"TableNumber", "250"}}, 93, {{"ResultCodeDescription", "Таблица или поле не определены"}}},
    {"GetTableStruct", {{"TableNumber", "250"}}, 93, {}},
    {"InitTable", {}, 0, {}},
    {"ReadTable", {{"TableNumber", "18"}, {"FieldNumber", "7"}}, 0, {{"ValueOfFieldString", ""}}},
    {"SetTime", {{"Time", "10:20:30"}}, 0, {}},
    {"SetDate", {{"Date", "15.06.2030"}}, 0, {}},
    {"ConfirmDate", {}, 0, {}},
    {"GetCashReg", {{"RegisterNumber", "0"}}, 0, {{"NameCashReg", "*"}}},
    {"GetOperationReg", {{"RegisterNumber", "0"}}, 0, {{"NameOperationReg", "*"}}},
    {"GetOperationReg", {{"RegisterNumber", "255"}}, 51, {}},
};

const std::vector<Step> kLifeSteps = {
    {"FNGetStatus", {}, 0, {{"FNLifeState", "1"}, {"SerialNumber", "9999078900001234"}}},
    {"FNGetSerial", {}, 0, {{"SerialNumber", "9999078900001234"}}},
    {"FNGetVersion", {}, 0, {{"FNSoftVersion", "fn_v_1_2 2.2.0"}, {"FNSoftType", "1"}}},
    {"FNGetExpirationTime", {}, 0, {{"FreeRegistration", "30"}}},
    {"FNGetOSUSupportStatus", {}, 0, {{"FNOSUSupportStatus", "*"}}},
    {"FNBeginRegistrationReport", {{"ReportTypeInt", "0"}}, 0, {}},
    {"FNSendTag", {{"TagNumber", "1021"}, {"TagType", "7"}, {"TagValueStr", "Иванов И.И."}}, 0, {}},
    {"FNBuildRegistrationReport",
     {{"INN", "7707083893"}, {"KKTRegistrationNumber", "0000000001012345"}, {"TaxType", "1"}, {"WorkMode", "0"}},
     0, {{"DocumentNumber", "1"}, {"FiscalSign", "*"}}},
    {"FNGetFiscalizationResult", {{"INN", ""}, {"KKTRegistrationNumber", ""}}, 0,
     {{"INN", "7707083893"}, {"KKTRegistrationNumber", "0000000001012345"}, {"TaxType", "1"},
      {"DocumentNumber", "1"}, {"FiscalSignAsString", "*"}}},
    {"FNGetFiscalizationResultByNumber", {{"RegistrationNumber", "1"}}, 0, {{"INN", "7707083893"}}},
    {"FNGetFiscalizationResultByNumber", {{"RegistrationNumber", "2"}}, 8, {}},
    {"FNGetStatus", {}, 0, {{"FNLifeState", "3"}}},
    {"FNBeginOpenSession", {}, 0, {}},
    {"OpenSession", {}, 0, {{"SessionNumber", "1"}, {"DocumentNumber", "2"}, {"FiscalSignAsString", "*"}}},
    {"FNFindDocument", {{"DocumentNumber", "1"}}, 0,
     {{"DocumentType", "1"}, {"DocumentNumber", "1"}, {"FiscalSignAsString", "*"}}},
    {"FNFindDocument", {{"DocumentNumber", "99"}}, 8, {}},
    {"FNOperation",
     {{"CheckType", "1"}, {"Price", "100.50"}, {"Quantity", "2"}, {"Summ1Enabled", "0"}, {"StringForPrinting", "Товар"}},
     0, {}},
    {"FNBeginSTLVTag", {{"TagID", "0"}, {"TagNumber", "1223"}}, 0, {}},
    {"FNAddTag", {{"TagNumber", "1005"}, {"TagType", "7"}, {"TagValueStr", "Агент"}}, 0, {}},
    {"FNSendSTLVTagOperation", {{"TagNumber", "1223"}}, 0, {}},
    {"FNSendTagOperation", {{"TagNumber", "1222"}, {"TagType", "0"}, {"TagValueInt", "4"}}, 0, {}},
    {"FNSendTLVOperation", {{"TLVData", "A7 04 01 00 58"}}, 0, {{"@PendingTag:1191", "X"}}},
    {"FNSendTLVOperation", {{"TLVData", "A7 04 05 00 58"}}, 9, {}},  // cut record
    {"FNSendTLV", {{"TLVData", "A8 04 02 00 41 42"}}, 0, {{"@PendingTag:1192", "AB"}}},
    {"FNSendTLV", {{"TLVData", ""}}, 9, {}},
    {"FNSendSenderEmail", {{"EmailAddress", "shop@example.ru"}}, 0, {{"@PendingTag:1117", "shop@example.ru"}}},
    // A structure for the whole document: 1084 {1085 = "N", 1086 = "V"}.
    {"FNBeginSTLVTag", {{"TagID", "0"}, {"TagNumber", "1084"}}, 0, {}},
    {"FNAddTag", {{"TagNumber", "1085"}, {"TagType", "7"}, {"TagValueStr", "N"}}, 0, {}},
    {"FNAddTag", {{"TagNumber", "1086"}, {"TagValueStr", "V"}}, 0, {}},
    {"FNSendSTLVTag", {{"TagNumber", "1084"}}, 0, {{"@PendingTagHex:1084", "3D 04 01 00 4E 3E 04 01 00 56"}}},
    {"FNSendSTLVTag", {}, -6, {}},  // already sent
    {"FNCloseCheckEx", {{"Summ1", "100"}}, 51, {}},  // not paid in full
    {"FNCloseCheckEx", {{"Summ1", "500"}, {"StringForPrinting", ""}}, 0,
     {{"Change", "299"}, {"ReceiptNumber", "1"}, {"FiscalSignAsString", "*"}, {"@DocumentTag:1117", "shop@example.ru"},
      {"@DocumentTag:1191", "X"}, {"@DocumentTagHex:1084", "3D 04 01 00 4E 3E 04 01 00 56"}}},
    {"FNReadFiscalBarcode", {{"DocumentNumber", "3"}}, 0, {{"BarCode", "~&s=201.00&fn=9999078900001234&i=3&"}}},
    {"FNReadFiscalBarcode", {{"DocumentNumber", "1"}}, 8, {}},  // a registration has none
    {"CashIncome", {{"Summ1", "150.25"}}, 0, {}},
    {"CashOutcome", {{"Summ1", "1000"}}, 51, {}},  // more than the drawer holds
    {"CashOutcome", {{"Summ1", "50.25"}}, 0, {}},
    {"FNGetCurrentSessionParams", {}, 0, {{"FNSessionState", "1"}, {"SessionNumber", "1"}}},
    {"OpenCheck", {{"CheckType", "0"}}, 0, {}},
    {"GetECRStatus", {}, 0, {{"ECRMode", "8"}}},
    {"OpenCheck", {}, 74, {}},
    {"CancelCheck", {}, 0, {}},
    {"CancelCheck", {}, 85, {}},
    {"OpenCheck", {}, 0, {}},
    {"SysAdminCancelCheck", {}, 0, {}},
    {"OpenCheck", {}, 0, {}},
    {"ResetECR", {}, 0, {}},
    {"GetECRStatus", {}, 0, {{"ECRMode", "2"}}},
    {"FNGetInfoExchangeStatus", {}, 0, {{"MessageCount", "*"}}},
    {"FNCountersSync", {}, 0, {}},
    {"FNBeginCloseSession", {}, 0, {}},
    {"PrintReportWithCleaning", {}, 0, {}},
    {"GetECRStatus", {}, 0, {{"ECRMode", "4"}}},
    {"FNBeginCalculationStateReport", {}, 0, {}},
    {"FNBuildCalculationStateReport", {}, 0, {{"DocumentNumber", "*"}, {"FiscalSign", "*"}}},
    {"FNResetState", {{"RequestType", "0"}}, 2, {}},  // serial firmware cannot be reset
    {"FNCancelDocument", {}, 0, {}},
    {"FNBeginCloseFiscalMode", {}, 0, {}},
    {"FNCloseFiscalMode", {}, 0, {{"FiscalSignAsString", "*"}}},
    {"FNGetStatus", {}, 0, {{"FNLifeState", "*"}}},
};

const std::vector<Step> kReregistrationSteps = {
    {"FNBeginRegistrationReport", {{"ReportTypeInt", "0"}}, 0, {}},
    {"FNBuildRegistrationReport",
     {{"INN", "7707083893"}, {"KKTRegistrationNumber", "0000000001012345"}, {"TaxType", "1"}, {"WorkMode", "0"}},
     0, {}},
    // Re-registration without replacing the storage: new tax system, reason 4.
    {"FNBeginRegistrationReport", {{"ReportTypeInt", "2"}}, 0, {}},
    {"FNBuildReregistrationReport", {{"TaxType", "2"}, {"RegistrationReasonCode", "4"}}, 0, {{"DocumentNumber", "2"}}},
    {"FNGetFiscalizationResult", {}, 0, {{"TaxType", "2"}, {"RegistrationReasonCode", "4"}}},
    {"FNGetExpirationTime", {}, 0, {{"RegistrationNumber", "2"}}},
    {"FNBeginOpenSession", {}, 0, {}},
    {"OpenSession", {}, 0, {}},
    {"FNOperation", {{"CheckType", "1"}, {"Price", "10"}, {"Quantity", "1.5"}, {"StringForPrinting", "Вода"}}, 0, {}},
    {"FNSendCustomerEmail", {{"CustomerEmail", "buyer@example.ru"}}, 0, {}},
    {"FNSendUserAttribute", {{"UserAttributeName", "Заказ"}, {"UserAttributeValue", "42"}}, 0, {}},
    {"FNCloseCheckEx", {{"Summ1", "15"}}, 0, {{"Change", "0"}}},
    {"FNGetNonClearableSumm", {}, 0, {{"Summ1", "15"}}},
    {"FNGetNonClearableSummEx", {{"CheckType", "1"}}, 0, {{"Summ1", "15"}}},
    {"GetCashRegEx", {{"RegisterNumber", "4096"}}, 0, {{"NameCashRegEx", "*"}}},
    {"FNGetDocumentSize", {}, 0, {{"DocumentSize", "*"}}},
    {"FNGetFreeMemoryResource", {}, 0, {{"FN5YearResource", "*"}, {"FNMarkingFillPercentage", "*"}}},
    {"FNGetImplementation", {}, 0, {{"FNImplementation", "*"}}},
    {"FNGetUnconfirmedDocCount", {}, 0, {{"DocumentCount", "*"}}},
    {"PrintReportWithoutCleaning", {}, 0, {}},
    {"SetExchangeParam", {{"PortNumber", "2"}, {"BaudRate", "6"}, {"Timeout", "3000"}, {"TCPPort", "7001"}}, 0, {}},
    {"GetExchangeParam", {{"TCPPort", "0"}}, 0, {{"TCPPort", "7001"}}},
    // Raw service commands as the service page sends them: the payload starts at the third byte.
    {"ExchangeBytes", {{"BinaryConversion", "1"}, {"TransferBytes", "FE 0F 02 00 00 00"}}, 0, {{"TransferBytes", "*"}}},
    {"ExchangeBytes", {{"TransferBytes", "fe eb 00 00 00 00"}}, 0, {{"TransferBytes", "*"}}},
    {"ExchangeBytes", {{"TransferBytes", "0b"}}, 55, {{"TransferBytes", "0B 37"}}},
};

const std::vector<Step> kPrintSteps = {
    {"GetFontMetrics", {{"FontType", "1"}}, 0, {{"PrintWidth", "*"}, {"CharWidth", "*"}, {"FontCount", "*"}}},
    {"PrintString", {{"StringForPrinting", "Строка 1"}}, 0, {}},
    {"PrintStringWithFont", {{"StringForPrinting", "Крупно"}, {"FontType", "2"}}, 0, {}},
    {"PrintStringWithFont", {{"FontType", "99"}}, 51, {}},
    {"FeedDocument", {{"StringQuantity", "3"}}, 0, {}},
    {"CutCheck", {{"CutType", "0"}}, 0, {}},
    {"WaitForPrinting", {}, 0, {}},
};

const std::vector<Step> kTagSteps = {
    {"FNBeginOpenSession", {}, 5, {}},  // not registered yet: wrong life phase
    {"FNBeginRegistrationReport", {{"ReportTypeInt", "0"}}, 0, {}},
    {"FNSendTag", {{"TagNumber", "1048"}, {"TagType", "7"}, {"TagValueStr", "ООО Тест"}}, 0, {}},
    {"FNSendTag", {{"TagNumber", "1057"}, {"TagType", "0"}, {"TagValueInt", "300"}}, -6, {}},
    {"FNSendTag", {{"TagType", "12"}}, -6, {}},
    {"FNCancelDocument", {}, 0, {}},
};

const std::vector<Step> kTlvEncoderSteps = {
    {"GetTagAsTLV", {{"TagNumber", "2108"}, {"TagType", "0"}, {"TagValueInt", "10"}}, 0, {{"TLVDataHex", "3C0801000A"}}},
    {"GetTagAsTLV", {{"TagNumber", "1023"}, {"TagType", "11"}, {"TagValueFVLND", "1.5"}}, 0, {{"TLVDataHex", "FF030200010F"}}},
    {"GetTagAsTLV", {{"TagNumber", "1228"}, {"TagType", "6"}, {"TagValueDateTime", "01.01.1970 00:01:00"}}, 0,
     {{"TLVDataHex", "CC0404003C000000"}}},
    {"FNBeginSTLVTag", {{"TagID", "0"}, {"TagNumber", "1291"}}, 0, {{"TagID", "*"}}},
    {"FNAddTag", {{"TagNumber", "1293"}, {"TagType", "3"}, {"TagValueVLN", "1"}}, 0, {}},
    {"FNAddTag", {{"TagNumber", "1294"}, {"TagValueVLN", "3"}}, 0, {}},
    {"GetTagAsTLV", {{"TagNumber", "1291"}, {"TagType", "8"}}, 0, {{"TLVDataHex", "0B050A000D050100010E05010003"}}},
    {"GetTagAsTLV", {}, -6, {}},  // the structure was taken
};

// The link, the driver's windows and the per-user list of logical devices.
const std::vector<Step> kLinkSteps = {
    {"Disconnect", {}, 0, {{"Connected", "0"}}},
    {"Connect", {}, 0, {{"Connected", "1"}}},
    {"FindDevice", {{"ECRMode", "0"}}, 0, {{"ECRMode", "4"}}},
    {"WaitConnection", {{"ConnectionTimeout", "1000"}}, 0, {{"Connected", "1"}}},
    {"WaitForCheckClose", {}, 0, {}},
    {"Ping", {{"URL", ""}}, 0, {{"PingResult", "2"}}},
    {"ShowProperties", {}, 0, {{"@Dialogs", "ShowProperties"}}},
    {"ShowTablesDlg", {}, 0, {{"@Dialogs", "ShowProperties ShowTablesDlg"}}},
    {"GetCountLD", {}, 0, {{"LDCount", "0"}}},
    {"GetActiveLD", {}, -14, {}},
    {"AddLD", {{"LDName", "Касса 1"}, {"LDComNumber", "3"}, {"LDBaudrate", "6"}, {"LDTimeout", "200"}}, 0,
     {{"LDCount", "1"}, {"LDNumber", "1"}}},
    {"AddLD", {{"LDName", "Касса 2"}, {"LDComNumber", "4"}}, 0, {{"LDCount", "2"}, {"LDNumber", "2"}}},
    {"GetCountLD", {{"LDCount", "0"}}, 0, {{"LDCount", "2"}}},
    {"EnumLD", {{"LDIndex", "0"}}, 0, {{"LDName", "Касса 1"}, {"LDNumber", "1"}, {"LDComNumber", "3"}}},
    {"EnumLD", {{"LDIndex", "2"}}, -14, {}},
    {"SetParamLD", {{"LDNumber", "1"}, {"LDName", "Касса 1А"}, {"LDComNumber", "5"}}, 0, {{"LDName", "Касса 1А"}}},
    {"GetParamLD", {{"LDName", ""}, {"LDComNumber", "0"}}, 0, {{"LDName", "Касса 1А"}, {"LDComNumber", "5"}}},
    {"SetActiveLD", {}, 0, {{"ComNumber", "5"}, {"Timeout", "200"}}},
    {"GetActiveLD", {{"LDNumber", "2"}}, 0, {{"LDNumber", "1"}, {"LDName", "Касса 1А"}}},
    {"DeleteLD", {{"LDNumber", "2"}}, 0, {{"LDCount", "1"}}},
    {"GetParamLD", {}, -14, {}},
    {"DeleteLD", {}, -14, {}},
    {"SetParamLD", {}, -14, {}},
    {"SetActiveLD", {}, -14, {}},
};

const std::vector<const std::vector<Step>*> kAllTables = {
    &kStatusSteps, &kTableSteps, &kLifeSteps, &kReregistrationSteps, &kPrintSteps, &kTagSteps, &kTlvEncoderSteps,
    &kLinkSteps};

// The driver's windows as a host program installs them; here they only note
// that they were asked for.
class TNotedDialogs : public IDriverDialogs {
 public:
  int ShowProperties(TZelvox&) override { return Note("ShowProperties"); }
  int ShowTablesDlg(TZelvox&) override { return Note("ShowTablesDlg"); }
  std::string Shown;

 private:
  int Note(const char* name) {
    Shown += (Shown.empty() ? "" : " ") + std::string(name);
    return 0;
  }
};

class VirtualRegisterTest : public ::testing::Test {
 protected:
  VirtualRegisterTest() {
    drv.SetInProcessDevice([this](const Bytes& command) { return handler.Handle(command); });
    SetDriverDialogs(&dialogs);
  }
  ~VirtualRegisterTest() override { SetDriverDialogs(nullptr); }

  // "@PendingTag:N" / "@DocumentTag:N": tag N of the document in preparation or
  // of the last one closed (…Hex: as hex pairs); "@Tape": the last printed
  // line; "@Dialogs": the windows opened so far.
  std::string Recorded(const std::string& what) {
    if (what == "@Tape") {
      const auto tape = model.Tape();
      return tape.empty() ? "" : tape.back().text;
    }
    if (what == "@Dialogs") return dialogs.Shown;
    const auto colon = what.find(':');
    const std::string kind = what.substr(0, colon);
    const int tag = std::stoi(what.substr(colon + 1));
    const emu::TDeviceState state = model.Snapshot();
    const std::map<int, std::string>* tags = &state.fn.pendingTags;
    if (kind.rfind("@DocumentTag", 0) == 0) {
      if (state.fn.documents.empty()) return "<no document>";
      tags = &state.fn.documents.back().tags;
    }
    const auto it = tags->find(tag);
    if (it == tags->end()) return "<no tag>";
    return kind.ends_with("Hex") ? ToHexText(it->second) : it->second;
  }

  std::string Expand(std::string value) const {
    if (const auto at = value.find("{dir}"); at != std::string::npos) value.replace(at, 5, config.Path());
    return value;
  }

  void RunSteps(const std::vector<Step>& steps) {
    for (const auto& s : steps) {
      SCOPED_TRACE(s.Method);
      for (const auto& [name, value] : s.In) ASSERT_TRUE(drv.SetPropertyText(name, Expand(value))) << name;
      EXPECT_EQ(drv.Call(s.Method), s.Code) << drv.get_ResultCodeDescription();
      for (const auto& [name, want] : s.Out) {
        std::string got;
        if (name[0] == '@')
          got = Recorded(name);
        else
          ASSERT_TRUE(drv.GetPropertyText(name, got)) << name;
        if (std::string(want) == "*")
          EXPECT_FALSE(got.empty()) << name;
        else if (want[0] == '~')
          EXPECT_NE(got.find(want + 1), std::string::npos) << name << ": " << got;
        else
          EXPECT_EQ(got, want) << name;
      }
    }
  }

  test::ScopedConfigHome config;  // the logical devices and exported files stay private
  TNotedDialogs dialogs;
  emu::TDeviceModel model;
  emu::TCommandHandler handler{model};
  TZelvox drv;
};

TEST_F(VirtualRegisterTest, StatusIdentityAndModelParameters) {
  RunSteps(kStatusSteps);
  const TPropValue bool28 = drv.get_ModelParamValue();
  EXPECT_EQ(bool28.Kind, TPropType::Bool);  // capabilities come back as booleans
}

TEST_F(VirtualRegisterTest, TablesClockAndRegisters) {
  RunSteps(kTableSteps);
  std::string date;
  RunSteps({{"GetECRStatus", {}, 0, {}}});
  drv.GetPropertyText("Date", date);
  EXPECT_EQ(date.substr(0, 10), "15.06.2030");
}

TEST_F(VirtualRegisterTest, TablesExportAndImportThroughAFile) {
  const std::string path = ::testing::TempDir() + "/tables-" + std::to_string(::getpid()) + ".csv";
  drv.put_TableNumber(18);
  drv.put_RowNumber(1);
  drv.put_FieldNumber(7);
  drv.put_ValueOfFieldString("ООО \"Ромашка\"; филиал");
  ASSERT_EQ(drv.WriteTable(), 0);
  drv.put_FileName(path);
  ASSERT_EQ(drv.ExportTables(), 0) << drv.get_ResultCodeDescription();
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str().rfind("Table;Row;Field;Name;Value\n", 0), 0u);
  EXPECT_NE(text.str().find("\n18;1;7;\"Пользователь\";\"ООО \"\"Ромашка\"\"; филиал\"\n"), std::string::npos);
  EXPECT_NE(text.str().find("\n10;1;10;\"Таймаут ФН\";\"2\"\n"), std::string::npos);

  ASSERT_EQ(drv.InitTable(), 0);
  // Fields the register keeps for itself (such as the DHCP state) are refused;
  // the rest is written and the first refusal is reported with the count.
  const int imported = drv.ImportTables();
  if (imported != 0) {
    EXPECT_NE(drv.get_ResultCodeDescription().find(" ("), std::string::npos);
  }
  drv.put_TableNumber(18);
  drv.put_RowNumber(1);
  drv.put_FieldNumber(7);
  ASSERT_EQ(drv.ReadTable(), 0);
  EXPECT_EQ(drv.get_ValueOfFieldString(), "ООО \"Ромашка\"; филиал");

  std::ofstream(path) << "18;1;7;\"x\"\n18;1;x;\"y\";\"z\"\n";
  EXPECT_EQ(drv.ImportTables(), -6);
  // A damaged line further down: the good lines before it are not written either.
  std::ofstream(path) << "18;1;7;\"Пользователь\";\"Другое\"\n18;1;x;\"y\";\"z\"\n";
  EXPECT_EQ(drv.ImportTables(), -6);
  drv.put_TableNumber(18);
  drv.put_RowNumber(1);
  drv.put_FieldNumber(7);
  ASSERT_EQ(drv.ReadTable(), 0);
  EXPECT_EQ(drv.get_ValueOfFieldString(), "ООО \"Ромашка\"; филиал");
  std::remove(path.c_str());
}

TEST_F(VirtualRegisterTest, RegistrationShiftReceiptAndClosing) {
  RunSteps(kLifeSteps);
}

TEST_F(VirtualRegisterTest, ReregistrationSaleTotalsAndServiceCommands) {
  RunSteps(kReregistrationSteps);
}

TEST_F(VirtualRegisterTest, PrintingReachesTheTape) {
  RunSteps(kPrintSteps);
  const auto width = static_cast<std::size_t>(drv.get_PrintWidth() / drv.get_CharWidth());
  const std::string word = "слово ";
  std::string longLine;
  while (longLine.size() / 2 < width * 2) longLine += word;
  drv.put_StringForPrinting("А\n\n" + longLine);
  ASSERT_EQ(drv.PrintStringWithWrap(), 0) << drv.get_ResultCodeDescription();

  std::vector<std::string> texts;
  for (const auto& item : model.Tape())
    if (item.kind == emu::TTapeItem::kText) texts.push_back(item.text);
  ASSERT_GE(texts.size(), 6u);
  EXPECT_EQ(texts[0], "Строка 1");
  EXPECT_EQ(texts[1], "Крупно");
  // The wrapped text: "А", an empty line, then the long line in pieces that
  // end at a blank, none longer than the font's line.
  const std::size_t first = 2;
  EXPECT_EQ(texts[first], "А");
  EXPECT_EQ(texts[first + 1], "");
  std::string joined;
  for (std::size_t i = first + 2; i < texts.size(); ++i) joined += texts[i];
  EXPECT_GE(texts.size() - first - 2, 3u);
  EXPECT_EQ(joined, longLine);
}

TEST_F(VirtualRegisterTest, BusyAnswersComeBackAsTheirCodes) {
  model.SetBusy(80, 1);
  EXPECT_EQ(drv.PrintString(), 80);
  EXPECT_EQ(drv.get_ResultCodeDescription(), "Идет печать предыдущей команды");
  model.SetBusy(75, 1);
  EXPECT_EQ(drv.Beep(), 75);
  EXPECT_EQ(drv.Beep(), 0);
  // Wrapped printing waits a busy printer out instead of losing the line.
  model.SetBusy(80, 2);
  drv.put_StringForPrinting("после занятости");
  EXPECT_EQ(drv.PrintStringWithWrap(), 0);
  ASSERT_FALSE(model.Tape().empty());
  EXPECT_EQ(model.Tape().back().text, "после занятости");
}

TEST_F(VirtualRegisterTest, TagsAndStructuresAreSentAsTlv) {
  RunSteps(kTagSteps);
  // Encoder only: the structure 1291 {1293 = 1, 1294 = 3} and single tags.
  RunSteps(kTlvEncoderSteps);
}

TEST_F(VirtualRegisterTest, LinkWindowsAndLogicalDevices) {
  RunSteps(kLinkSteps);
  // The list is the user's, not the instance's: another driver finds it.
  TZelvox other;
  EXPECT_EQ(other.GetActiveLD(), 0) << other.get_ResultCodeDescription();
  EXPECT_EQ(other.get_LDName(), "Касса 1А");
  EXPECT_EQ(other.get_LDCount(), 1);
}

// A method that becomes real gets a row in the tables above; the command
// reference lists as "not real yet" exactly the methods the driver does not run.
TEST(VirtualRegisterCoverage, EveryRealMethodHasATableRow) {
  std::set<std::string> rows;
  for (const auto* table : kAllTables)
    for (const auto& s : *table) rows.insert(s.Method);
  const std::string doc = DeviceCommandsMarkdown();
  const auto from = doc.find("## Methods not real yet");
  ASSERT_NE(from, std::string::npos);
  const std::string pending = doc.substr(from, doc.find("\n## ", from + 1) - from);
  std::size_t real = 0;
  for (std::size_t i = 0; i < MethodDefs().size(); ++i) {
    const std::string name = MethodDefs()[i].Name;
    const bool isReal = TZelvox::IsReal(static_cast<TMethodId>(i));
    real += isReal;
    EXPECT_EQ(rows.count(name), isReal ? 1u : 0u) << name << (isReal ? ": real, but no row runs it" : ": a row runs it, but it is not real");
    EXPECT_EQ(pending.find("`" + name + "`") == std::string::npos, isReal) << name << ": the command reference disagrees";
  }
  EXPECT_GT(real, 100u);
}

}  // namespace
}  // namespace zel
