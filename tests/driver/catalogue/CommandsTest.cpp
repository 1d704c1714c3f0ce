#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "driver/catalogue/Commands.h"
#include "driver/catalogue/ErrorCodes.h"
#include "driver/catalogue/StatusRec.h"

namespace zel {
namespace {

bool SameLayout(const std::vector<TFieldDef>& a, const std::vector<TFieldDef>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].Codec != b[i].Codec || a[i].Size != b[i].Size) return false;
  return true;
}

TEST(Commands, MethodsAreUniqueAndSharedCodesShareTheirLayout) {
  std::set<std::string> methods;
  for (const auto& c : Commands()) {
    SCOPED_TRACE(c.Method);
    EXPECT_TRUE(methods.insert(c.Method).second);
    EXPECT_TRUE(c.Code <= 0xFE || (c.Code >> 8) == 0xFF);
    EXPECT_NE(c.Code, kServiceCommand);
    const TCommandDef* first = FindCommandByCode(c.Code);
    EXPECT_TRUE(SameLayout(first->Request, c.Request));
    EXPECT_TRUE(SameLayout(first->Answer, c.Answer));
    // A to-end field can only be the last one.
    for (const auto* list : {&c.Request, &c.Answer})
      for (std::size_t i = 0; i + 1 < list->size(); ++i) EXPECT_NE(FieldWireSize((*list)[i]), 0u);
  }
}

TEST(Commands, StatusRecordHasTheFixedLayout) {
  std::size_t size = 0;
  for (const auto& f : StatusRecFields()) size += FieldWireSize(f);
  EXPECT_EQ(size, kStatusRecSize);
  EXPECT_EQ(StatusRecOffset("ECRMode"), kStatusModeOffset);
  EXPECT_EQ(FindCommand("GetECRStatus")->Code, 0x11);
  EXPECT_EQ(FindCommand("CancelCheck")->Code, 0x88);

  TFieldMap values{{"ECRMode", std::int64_t{kModeReceiptOpen}}, {"OperatorNumber", std::int64_t{30}}};
  const Bytes answer = EncodeAnswer(*FindCommand("GetECRStatus"), 0, values);
  ASSERT_EQ(answer.size(), kStatusRecOffset + kStatusRecSize);
  EXPECT_EQ(answer[kStatusRecOffset + kStatusModeOffset], kModeReceiptOpen);
  EXPECT_EQ(std::get<std::int64_t>(DecodeAnswer(*FindCommand("GetECRStatus"), answer).at("ECRMode")), 8);
}

TEST(Commands, RequestsAndAnswersRoundTripWithTwoByteCodes) {
  const TCommandDef& cmd = *FindCommand("FNGetFiscalizationResultByNumber");
  const Bytes request = EncodeRequest(cmd, {{"Password", std::int64_t{30}}, {"RegistrationNumber", std::int64_t{2}}});
  EXPECT_EQ(request, (Bytes{0xFF, 0x0A, 30, 0, 0, 0, 2}));
  EXPECT_EQ(std::get<std::int64_t>(DecodeRequest(cmd, request).at("RegistrationNumber")), 2);

  const Bytes error = EncodeAnswer(cmd, kDevNoData, {});
  EXPECT_EQ(error, (Bytes{0xFF, 0x0A, 8}));
  EXPECT_EQ(AnswerError(cmd.Code, error), 8);
  EXPECT_EQ(AnswerError(0xFF0B, error), -1);
  EXPECT_EQ(AnswerError(cmd.Code, Bytes{0xFF, 0x0A}), -1);

  const Bytes ok = EncodeAnswer(cmd, 0, {{"INN", std::string("7701234567")}, {"FiscalSign", std::int64_t{4000000000}}});
  const TFieldMap back = DecodeAnswer(cmd, ok);
  EXPECT_EQ(std::get<std::string>(back.at("INN")), "7701234567");
  EXPECT_EQ(std::get<std::int64_t>(back.at("FiscalSign")), 4000000000);
  Bytes cut(ok.begin(), ok.end() - 1);
  EXPECT_THROW(DecodeAnswer(cmd, cut), ECodecError);
}

TEST(Commands, ReadCodeHandlesCutMessages) {
  std::size_t pos = 0;
  EXPECT_EQ(ReadCode(Bytes{0xFF}, pos), -1);
  pos = 0;
  EXPECT_EQ(ReadCode(Bytes{}, pos), -1);
  pos = 0;
  EXPECT_EQ(ReadCode(Bytes{0xFF, 0x01, 9}, pos), 0xFF01);
  EXPECT_EQ(pos, 2u);
  EXPECT_EQ(CodeText(0xFF01), "FF 01");
  EXPECT_EQ(CodeText(0x11), "11");
}

TEST(Commands, BitFieldsAreFieldsOfSomeCommand) {
  for (const auto& bit : BitFields()) {
    SCOPED_TRACE(bit.Property);
    bool found = false;
    for (const auto& c : Commands())
      for (const auto* list : {&c.Request, &c.Answer})
        for (const auto& f : *list)
          if (std::strcmp(f.Name, bit.Field) == 0) {
            found = true;
            EXPECT_LT(bit.Bit, 8 * FieldWireSize(f));
          }
    EXPECT_TRUE(found);
  }
}

TEST(ErrorCodes, EveryCodeHasOneTextAndTheFixedOnesMeanWhatProgramsTest) {
  std::set<int> codes;
  for (const auto* table : {&LinkErrors(), &DeviceErrors()})
    for (const auto& e : *table) {
      EXPECT_TRUE(codes.insert(e.Code).second) << e.Code;
      EXPECT_NE(std::strlen(e.Text), 0u);
    }
  EXPECT_STREQ(ErrorText(0), "Ошибок нет");
  EXPECT_STREQ(ErrorText(-1), "Нет связи");
  EXPECT_STREQ(ErrorText(-2), "\u0421OM порт недоступен");
  EXPECT_STREQ(ErrorText(8), "Нет запрошенных данных");
  EXPECT_STREQ(ErrorText(93), "Таблица или поле не определены");
  for (int code : {51, 55, 75, 80, -7, -18}) EXPECT_STRNE(ErrorText(code), kTextUnknownError) << code;
  EXPECT_STREQ(ErrorText(250), kTextUnknownError);
  EXPECT_STREQ(ErrorText(-100), kTextUnknownError);
}

}  // namespace
}  // namespace zel
