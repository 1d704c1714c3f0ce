#include "wizard/flow/core/TableMap.h"

namespace zel {

namespace {
struct TTableParam {
  int Table;
  int Param;
};
constexpr TTableParam kMappedTables[] = {{18, 72}, {19, 73}, {24, 75}};
}  // namespace

int ModelParamOfTable(int table) {
  for (const auto& m : kMappedTables)
    if (m.Table == table) return m.Param;
  return 0;
}

int MapTableNumber(int table, const std::function<int(int param)>& readModelParam) {
  const int param = ModelParamOfTable(table);
  return param ? readModelParam(param) : table;
}

}  // namespace zel
