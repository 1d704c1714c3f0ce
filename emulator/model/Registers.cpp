#include "emulator/model/Registers.h"

namespace zel::emu {
namespace {
const char* const kOperationKinds[] = {"продаж", "покупок", "возвратов продаж", "возвратов покупок"};
}

std::string CashRegisterName(int n) {
  if (n < 0 || n >= kCashRegisterCount) return {};
  if (n < 64) return std::string("Накопление ") + kOperationKinds[n / 16] + " в отдел " + std::to_string(n % 16 + 1);
  switch (n) {
    case reg::kCashInDrawer: return "Наличность в кассе";
    case reg::kCashIncome: return "Внесенные суммы за смену";
    case reg::kCashOutcome: return "Выплаченные суммы за смену";
    case reg::kCumulativeSales: return "Необнуляемая сумма продаж";
  }
  return "Денежный регистр " + std::to_string(n);
}

std::string OperationRegisterName(int n) {
  if (n < 0 || n >= kOperationRegisterCount) return {};
  if (n < 4) return std::string("Количество чеков ") + kOperationKinds[n] + " за смену";
  switch (n) {
    case reg::kOpCancelled: return "Количество аннулированных чеков за смену";
    case reg::kOpCashIncome: return "Количество внесений за смену";
    case reg::kOpCashOutcome: return "Количество выплат за смену";
    case reg::kOpShiftCloses: return "Количество закрытых смен";
    case reg::kOpShiftOpens: return "Количество открытых смен";
  }
  return "Операционный регистр " + std::to_string(n);
}

}  // namespace zel::emu
