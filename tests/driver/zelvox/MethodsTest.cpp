// Every real method against the in-process virtual register, as one
// registration-to-closing life of a register: each step sets properties,
// calls a method and checks the result code and output properties.
#include <gtest/gtest.h>

#include "driver/Zelvox.h"
#include "emulator/model/CommandHandler.h"
#include "emulator/model/DeviceModel.h"

namespace zel {
namespace {

struct Step {
  const char* Method;
  std::vector<std::pair<const char*, const char*>> In;
  int Code;
  std::vector<std::pair<const char*, const char*>> Out;  // "*" = any non-empty text
};

class VirtualRegisterTest : public ::testing::Test {
 protected:
  VirtualRegisterTest() {
    drv.SetInProcessDevice([this](const Bytes& command) { return handler.Handle(command); });
  }

  void RunSteps(const std::vector<Step>& steps) {
    for (const auto& s : steps) {
      SCOPED_TRACE(s.Method);
      for (const auto& [name, value] : s.In) ASSERT_TRUE(drv.SetPropertyText(name, value)) << name;
      EXPECT_EQ(drv.Call(s.Method), s.Code) << drv.get_ResultCodeDescription();
      for (const auto& [name, want] : s.Out) {
        std::string got;
        ASSERT_TRUE(drv.GetPropertyText(name, got)) << name;
        if (std::string(want) == "*")
          EXPECT_FALSE(got.empty()) << name;
        else
          EXPECT_EQ(got, want) << name;
      }
    }
  }

  emu::TDeviceModel model;
  emu::TCommandHandler handler{model};
  TZelvox drv;
};

TEST_F(VirtualRegisterTest, StatusIdentityAndModelParameters) {
  RunSteps({
      {"GetDeviceMetrics", {}, 0, {{"UModel", "16"}, {"UDescription", "ZELVOX-01F"}, {"UCodePageText", "Windows-1251"}}},
      {"GetECRStatus", {}, 0,
       {{"ECRMode", "4"}, {"ECRModeDescription", "Смена закрыта"}, {"ECRSoftVersion", "3.2"}, {"ECRBuild", "25611"},
        {"ECRSoftDate", "13.02.2023 00:00:00"}, {"OperatorNumber", "30"}, {"Connected", "1"}}},
      {"GetShortECRStatus", {}, 0, {{"ECRMode", "4"}, {"ECRAdvancedMode", "0"}, {"ECRAdvancedModeDescription", "Бумага есть"}}},
      {"ReadModelParamValue", {{"ModelParamNumber", "72"}}, 0, {{"ModelParamValue", "18"}}},
      {"ReadModelParamValue", {{"ModelParamNumber", "28"}}, 0, {{"ModelParamValue", "0"}}},
      {"ReadModelParam", {{"ModelParamIndex", "0"}}, 0, {{"ModelParamDescription", "*"}}},
      {"ReadSerialNumber", {}, 0, {{"SerialNumber", ""}}},
      {"SetSerialNumber", {{"SerialNumber", "00000012345678"}}, 0, {}},
      {"ReadSerialNumber", {{"SerialNumber", ""}}, 0, {{"SerialNumber", "00000012345678"}}},
      {"SetSerialNumber", {{"SerialNumber", "1"}}, 115, {}},  // written once
      {"LockPort", {}, 0, {{"Connected", "1"}}},
      {"UnlockPort", {}, 0, {}},
      {"Beep", {}, 0, {{"ECRInput", "13 1E 00 00 00"}, {"ECROutput", "13 00 1E"}}},
      {"ResetECR", {}, 0, {}},
  });
  const TPropValue bool28 = drv.get_ModelParamValue();
  EXPECT_EQ(bool28.Kind, TPropType::Bool);  // capabilities come back as booleans
}

TEST_F(VirtualRegisterTest, TablesClockAndRegisters) {
  RunSteps({
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
  });
  std::string date;
  RunSteps({{"GetECRStatus", {}, 0, {}}});
  drv.GetPropertyText("Date", date);
  EXPECT_EQ(date.substr(0, 10), "15.06.2030");
}

TEST_F(VirtualRegisterTest, RegistrationShiftReceiptAndClosing) {
  RunSteps({
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
  });
}

TEST_F(VirtualRegisterTest, PrintingReachesTheTape) {
  RunSteps({
      {"GetFontMetrics", {{"FontType", "1"}}, 0, {{"PrintWidth", "*"}, {"CharWidth", "*"}, {"FontCount", "*"}}},
      {"PrintString", {{"StringForPrinting", "Строка 1"}}, 0, {}},
      {"PrintStringWithFont", {{"StringForPrinting", "Крупно"}, {"FontType", "2"}}, 0, {}},
      {"PrintStringWithFont", {{"FontType", "99"}}, 51, {}},
      {"FeedDocument", {{"StringQuantity", "3"}}, 0, {}},
      {"CutCheck", {{"CutType", "0"}}, 0, {}},
      {"WaitForPrinting", {}, 0, {}},
  });
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
  RunSteps({
      {"FNBeginOpenSession", {}, 5, {}},  // not registered yet: wrong life phase
      {"FNBeginRegistrationReport", {{"ReportTypeInt", "0"}}, 0, {}},
      {"FNSendTag", {{"TagNumber", "1048"}, {"TagType", "7"}, {"TagValueStr", "ООО Тест"}}, 0, {}},
      {"FNSendTag", {{"TagNumber", "1057"}, {"TagType", "0"}, {"TagValueInt", "300"}}, -6, {}},
      {"FNSendTag", {{"TagType", "12"}}, -6, {}},
      {"FNCancelDocument", {}, 0, {}},
  });
  // Encoder only: the structure 1291 {1293 = 1, 1294 = 3} and single tags.
  RunSteps({
      {"GetTagAsTLV", {{"TagNumber", "2108"}, {"TagType", "0"}, {"TagValueInt", "10"}}, 0, {{"TLVDataHex", "3C0801000A"}}},
      {"GetTagAsTLV", {{"TagNumber", "1023"}, {"TagType", "11"}, {"TagValueFVLND", "1.5"}}, 0, {{"TLVDataHex", "FF030200010F"}}},
      {"GetTagAsTLV", {{"TagNumber", "1228"}, {"TagType", "6"}, {"TagValueDateTime", "01.01.1970 00:01:00"}}, 0,
       {{"TLVDataHex", "CC0404003C000000"}}},
      {"FNBeginSTLVTag", {{"TagID", "0"}, {"TagNumber", "1291"}}, 0, {{"TagID", "*"}}},
      {"FNAddTag", {{"TagNumber", "1293"}, {"TagType", "3"}, {"TagValueVLN", "1"}}, 0, {}},
      {"FNAddTag", {{"TagNumber", "1294"}, {"TagValueVLN", "3"}}, 0, {}},
      {"GetTagAsTLV", {{"TagNumber", "1291"}, {"TagType", "8"}}, 0, {{"TLVDataHex", "0B050A000D050100010E05010003"}}},
      {"GetTagAsTLV", {}, -6, {}},  // the structure was taken
  });
}

}  // namespace
}  // namespace zel
