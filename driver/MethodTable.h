#pragma once
// The driver's methods, declared once in Methods.def: ids, names and areas.
#include <string>
#include <vector>

namespace zel {

enum class TMethodId : int {
#define ZEL_METHOD(name, area) name,
#include "driver/Methods.def"
#undef ZEL_METHOD
  Count
};

struct TMethodDef {
  const char* Name;
  const char* Area;
};

const std::vector<TMethodDef>& MethodDefs();
const TMethodDef& MethodDef(TMethodId id);
bool FindMethod(const std::string& name, TMethodId& id);  // case-insensitive

}  // namespace zel
