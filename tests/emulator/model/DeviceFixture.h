#pragma once
// A virtual register driven through its command decoder with real command
// bytes, built by the shared catalogue exactly as the driver builds them.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "driver/catalogue/Commands.h"
#include "emulator/model/CommandHandler.h"
#include "emulator/model/DeviceModel.h"

namespace zel::emu::test {

inline constexpr std::int64_t kAdmin = 30;
inline constexpr std::int64_t kCashier = 1;

struct TReply {
  int error = -1;
  zel::TFieldMap fields;
  Bytes raw;
  std::int64_t Int(const std::string& name) const;
  std::string Str(const std::string& name) const;
};

class DeviceTest : public ::testing::Test {
 protected:
  DeviceTest();
  // Sends the catalogue command of `method` with these fields (Password defaults to the administrator's).
  TReply Call(const std::string& method, zel::TFieldMap fields = {});
  Bytes Raw(const Bytes& command) { return handler_->Handle(command); }
  int Mode();
  // Registers the storage (INN, RNM, tax system 1, work mode 0) and expects success.
  void Register(const std::string& inn = "7701234567", const std::string& rnm = "0000000001012345");
  std::string TapeText();

  std::int64_t hostMs_ = 1'700'000'000'000;  // fake host clock the test moves
  std::unique_ptr<TDeviceModel> model_;
  std::unique_ptr<TCommandHandler> handler_;
};

}  // namespace zel::emu::test
