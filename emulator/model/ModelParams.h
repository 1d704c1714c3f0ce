#pragma once
// Numbered model parameters: what this model can do and how it is laid out.
#include <cstdint>
#include <string>
#include <vector>

#include "emulator/model/DeviceState.h"

namespace zel::emu {

struct TModelParam {
  int number = 0;
  std::string description;
  std::int64_t value = 0;
  bool isBool = false;
};

// Parameters of the model described by identity, in ascending number order.
std::vector<TModelParam> ModelParams(const TIdentity& identity);

}  // namespace zel::emu
