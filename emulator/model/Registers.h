#pragma once
// Cash registers (money, kopecks) and operation registers (counters) with
// the names the register reports for them.
#include <string>

namespace zel::emu {

inline constexpr int kCashRegisterCount = 256;
inline constexpr int kOperationRegisterCount = 100;

// Registers the model updates.
namespace reg {
inline constexpr int kSaleBase = 0;          // cash 0..15: sales per department; +16 purchase, +32 sale return, +48 purchase return
inline constexpr int kCashInDrawer = 241;
inline constexpr int kCashIncome = 242;
inline constexpr int kCashOutcome = 243;
inline constexpr int kCumulativeSales = 245;
inline constexpr int kOpReceiptsBase = 0;  // operation 0..3: receipts of each type in the shift
inline constexpr int kOpCancelled = 4;       // receipts cancelled in the shift
inline constexpr int kOpCashIncome = 5;
inline constexpr int kOpCashOutcome = 6;
inline constexpr int kOpShiftCloses = 7;     // shift closing reports since start
inline constexpr int kOpShiftOpens = 8;
}  // namespace reg

std::string CashRegisterName(int number);
std::string OperationRegisterName(int number);

}  // namespace zel::emu
