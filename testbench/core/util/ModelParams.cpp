#include "testbench/core/util/ModelParams.h"

#include <algorithm>
#include <array>

namespace zel {

namespace {
constexpr std::array kModelType2Ids{16, 19, 20, 21, 27, 28, 29, 30, 32, 33,
                                    34, 35, 36, 38, 39, 40, 41, 42, 45, 46};
}

bool IsModelType2(int modelId) {
  return std::find(kModelType2Ids.begin(), kModelType2Ids.end(), modelId) != kModelType2Ids.end();
}

int CorrectTableNumber(int number, const std::function<int(int paramId)>& readIntParam) {
  switch (number) {
    case 18: return readIntParam(ModelParam::FSTableNumber);
    case 19: return readIntParam(ModelParam::Table19Number);
    default: return number;
  }
}

}  // namespace zel
