#include "driver/MethodTable.h"

#include <strings.h>

namespace zel {

const std::vector<TMethodDef>& MethodDefs() {
  static const std::vector<TMethodDef> kDefs = {
#define ZEL_METHOD(name, area) {#name, area},
#include "driver/Methods.def"
#undef ZEL_METHOD
  };
  return kDefs;
}

const TMethodDef& MethodDef(TMethodId id) { return MethodDefs()[static_cast<int>(id)]; }

bool FindMethod(const std::string& name, TMethodId& id) {
  const auto& defs = MethodDefs();
  for (std::size_t i = 0; i < defs.size(); ++i)
    if (strcasecmp(defs[i].Name, name.c_str()) == 0) {
      id = static_cast<TMethodId>(i);
      return true;
    }
  return false;
}

}  // namespace zel
