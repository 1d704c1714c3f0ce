#include "tests/emulator/model/DeviceFixture.h"

#include "driver/catalogue/StatusRec.h"
#include "emulator/model/PaperTape.h"

namespace zel::emu::test {

std::int64_t TReply::Int(const std::string& name) const {
  auto it = fields.find(name);
  if (it == fields.end()) ADD_FAILURE() << "no field " << name;
  else if (auto* i = std::get_if<std::int64_t>(&it->second)) return *i;
  else if (auto* b = std::get_if<bool>(&it->second)) return *b;
  else ADD_FAILURE() << name << " is not a number";
  return -1;
}

std::string TReply::Str(const std::string& name) const {
  auto it = fields.find(name);
  if (it == fields.end() || !std::holds_alternative<std::string>(it->second)) {
    ADD_FAILURE() << "no text field " << name;
    return {};
  }
  return std::get<std::string>(it->second);
}

DeviceTest::DeviceTest() {
  model_ = std::make_unique<TDeviceModel>();
  model_->SetHostClock([this] { return hostMs_; });
  handler_ = std::make_unique<TCommandHandler>(*model_);
}

TReply DeviceTest::Call(const std::string& method, zel::TFieldMap fields) {
  const zel::TCommandDef* cmd = zel::FindCommand(method);
  EXPECT_NE(cmd, nullptr) << method;
  TReply r;
  if (!cmd) return r;
  if (!fields.count("Password")) fields["Password"] = kAdmin;
  r.raw = handler_->Handle(zel::EncodeRequest(*cmd, fields));
  r.error = zel::AnswerError(cmd->Code, r.raw);
  if (r.error == 0) r.fields = zel::DecodeAnswer(*cmd, r.raw);
  return r;
}

int DeviceTest::Mode() {
  const TReply r = Call("GetECRStatus");
  EXPECT_EQ(r.error, 0);
  EXPECT_EQ(r.raw.size(), zel::kStatusRecOffset + zel::kStatusRecSize);
  return r.raw.size() > 17 ? r.raw[zel::kStatusRecOffset + zel::kStatusModeOffset] : -1;
}

void DeviceTest::Register(const std::string& inn, const std::string& rnm) {
  ASSERT_EQ(Call("FNBeginRegistrationReport", {{"ReportTypeInt", std::int64_t{0}}}).error, 0);
  ASSERT_EQ(Call("FNBuildRegistrationReport", {{"INN", inn},
                                               {"KKTRegistrationNumber", rnm},
                                               {"TaxType", std::int64_t{1}},
                                               {"WorkMode", std::int64_t{0}}})
                .error,
            0);
}

std::string DeviceTest::TapeText() {
  std::string text;
  for (const auto& item : model_->Tape()) text += FormatTapeItem(item);
  return text;
}

}  // namespace zel::emu::test
