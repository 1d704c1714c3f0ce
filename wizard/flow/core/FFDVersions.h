#pragma once
// FFD version codes as the register stores them and the names shown for them.
// One table serves every list and report, so a label never disagrees with its code.
#include <string>
#include <vector>

namespace zel {

// "1.0 beta", "1.0", "1.05", "1.1", "1.2" for codes 0..4; empty for any other code.
std::string FFDVersionText(int code);
// "ФФД " + the version text; empty for an unknown code.
std::string FFDName(int code);

struct TFFDChoice {
  std::string Label;
  int Code;
};
// The X5 step's list: codes 0..3 in code order, so the list index is the code written.
std::vector<TFFDChoice> X5FFDChoices();

}  // namespace zel
