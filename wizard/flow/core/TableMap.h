#pragma once
// Logical table numbers of the register's settings and the model parameters that give
// their real numbers on each model.
#include <functional>

namespace zel {

// Model parameter holding the real number of a logical table (18 -> 72, 19 -> 73, 24 -> 75);
// 0 for tables used as they are.
int ModelParamOfTable(int table);

// The table number to address: the model parameter's value for a mapped table, else the table itself.
// readModelParam reads one model parameter from the register (and throws when it cannot).
int MapTableNumber(int table, const std::function<int(int param)>& readModelParam);

}  // namespace zel
