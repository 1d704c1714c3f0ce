// Items and closing of a receipt.
#include <cmath>

#include "emulator/model/DeviceModel.h"
#include "emulator/model/DeviceResult.h"
#include "emulator/model/Registers.h"

namespace zel::emu {
namespace {

// FN operation sign (1 sale, 2 sale return, 3 purchase, 4 purchase return) of a receipt type and back.
int ReceiptTypeOfSign(std::int64_t sign) { return sign == 1 ? 0 : sign == 2 ? 2 : sign == 3 ? 1 : 3; }
int SignOfReceiptType(int type) { return type == 0 ? 1 : type == 2 ? 2 : type == 1 ? 3 : 4; }

// Quantity as a multiplier: a fraction, or an integer in thousandths.
double QuantityOf(const TFieldValues& in) {
  const zel::TFieldValue* v = in.Find("Quantity");
  if (!v) return 1.0;
  if (auto* d = std::get_if<double>(v)) return *d;
  return static_cast<double>(in.Int("Quantity", 1000)) / 1000.0;
}

std::string Money(std::int64_t k) {
  std::string c = std::to_string(k % 100);
  return std::to_string(k / 100) + "." + (c.size() < 2 ? "0" : "") + c;
}

constexpr std::int64_t kMaxSum = 99999999999LL;  // what five bytes of kopecks hold, rounded to 11 digits

}  // namespace

std::uint8_t TDeviceModel::FNOperation(const TFieldValues& in, TFieldValues&) {
  const int op = OperatorOf(in.Int("Password", -1));
  if (op == 0) return kWrongPassword;
  const std::int64_t sign = in.Int("CheckType", 1);
  if (sign < 1 || sign > 4) return kBadParameter;
  const std::int64_t price = in.Int("Price", -1), department = in.Int("Department", 1);
  const double quantity = QuantityOf(in);
  if (price < 0 || price > kMaxSum || !(quantity > 0) || quantity > 99999.0 || department < 0 || department > 16)
    return kBadParameter;
  const std::int64_t sum = in.Int("Summ1Enabled") ? in.Int("Summ1", -1)
                                                  : std::llround(static_cast<double>(price) * quantity);
  if (sum < 0 || sum > kMaxSum) return kBadParameter;
  if (!s_.receipt.open) {
    const int mode = ModeLocked();
    if (mode == kModeShiftOver24h) return kShiftOver24h;
    if (mode != kModeShiftOpen) return kShiftNotOpen;
    if (s_.fn.openDocument != 0) return kFnWrongState;
    s_.receipt = {true, ReceiptTypeOfSign(sign), op, 0};
  } else if (SignOfReceiptType(s_.receipt.type) != sign) {
    return kNotInThisMode;  // one receipt, one kind of operation
  }
  if (s_.receipt.total + sum > kMaxSum) return kBadParameter;
  s_.receipt.total += sum;
  const int d = department == 0 ? 0 : static_cast<int>(department) - 1;
  s_.cashRegisters[static_cast<std::size_t>(16 * s_.receipt.type + d)] += sum;
  PrintLine(in.Str("StringForPrinting"));
  PrintLine(std::to_string(quantity).substr(0, std::to_string(quantity).find('.') + 4) + " X " + Money(price) + " = " +
            Money(sum));
  return kOk;
}

std::uint8_t TDeviceModel::FNCloseCheckEx(const TFieldValues& in, TFieldValues& out) {
  if (OperatorOf(in.Int("Password", -1)) == 0) return kWrongPassword;
  if (!s_.receipt.open) return kReceiptClosed;
  std::int64_t paid = 0;
  for (int i = 1; i <= 16; ++i) {
    const std::int64_t p = in.Int("Summ" + std::to_string(i));
    if (p < 0 || p > kMaxSum) return kBadParameter;
    paid += p;
  }
  const std::int64_t total = s_.receipt.total, cash = in.Int("Summ1");
  if (paid < total) return kBadParameter;                // not paid in full
  const std::int64_t change = paid - total;
  if (change > cash) return kBadParameter;               // change is given in cash only
  const bool incoming = s_.receipt.type == 0 || s_.receipt.type == 3;  // sale, purchase return
  const std::int64_t cashNet = cash - change;
  if (!incoming && cashNet > s_.cashRegisters[reg::kCashInDrawer]) return kBadParameter;

  s_.cashRegisters[reg::kCashInDrawer] += incoming ? cashNet : -cashNet;
  auto& totals = s_.fn.totals[static_cast<std::size_t>(SignOfReceiptType(s_.receipt.type) - 1)];
  for (int i = 1; i <= 16; ++i) totals[static_cast<std::size_t>(i - 1)] += i == 1 ? cashNet : in.Int("Summ" + std::to_string(i));
  if (s_.receipt.type == 0) s_.cashRegisters[reg::kCumulativeSales] += total;
  s_.operationRegisters[static_cast<std::size_t>(reg::kOpReceiptsBase + s_.receipt.type)]++;
  s_.fn.receiptNumber++;
  TFnDocument& doc = AddDocument(3);
  doc.operationType = SignOfReceiptType(s_.receipt.type);
  doc.sum = total;
  doc.tags = s_.fn.pendingTags;
  doc.fiscalSign = FiscalSignOf(s_.fn.serial, doc);
  s_.fn.pendingTags.clear();
  s_.receipt = {};
  if (const std::string text = in.Str("StringForPrinting"); !text.empty()) PrintLine(text);
  PrintLine("ИТОГ " + Money(total), 2);
  if (change) PrintLine("СДАЧА " + Money(change));
  PrintLine("ЧЕК " + std::to_string(s_.fn.receiptNumber) + " СМЕНА " + std::to_string(s_.fn.sessionNumber));
  PrintDocumentFooter(doc);
  out.Set("Change", change);
  out.Set("DocumentNumber", static_cast<std::int64_t>(doc.number));
  out.Set("FiscalSign", static_cast<std::int64_t>(doc.fiscalSign));
  out.Set("ReceiptNumber", s_.fn.receiptNumber);
  return kOk;
}

}  // namespace zel::emu
