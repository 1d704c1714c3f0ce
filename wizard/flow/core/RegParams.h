#pragma once
// The registration record the wizard's steps fill and the registration writes.
#include <cstdint>
#include <string>

#include "wizard/flow/core/DateTimeRec.h"

namespace zel {

// A bit set (or FFD code) the operator has not chosen yet. Never written to a register.
inline constexpr std::uint8_t kNotChosen = 255;

// Tax systems (TaxSystem).
enum ETaxSystemBit : int { tsOSN = 0, tsUSNIncome = 1, tsUSNIncomeExpense = 2, tsENVD = 3, tsESHN = 4, tsPSN = 5 };
// Work modes (WorkMode).
enum EWorkModeBit : int {
  wmEncryption = 0, wmAutonomous = 1, wmAutomatic = 2, wmServices = 3,
  wmBSO = 4, wmInternet = 5, wmCatering = 6, wmWholesale = 7
};
// Extended work modes (WorkModeEx).
enum EWorkModeExBit : int {
  wmxExcise = 0, wmxGambling = 1, wmxLottery = 2, wmxPrinterInAutomat = 3,
  wmxMarking = 4, wmxPawnshop = 5, wmxInsurance = 6, wmxVendingMachine = 7
};
// Agent signs (Agent).
enum EAgentBit : int {
  agBankAgent = 0, agBankSubagent = 1, agPayAgent = 2, agPaySubagent = 3,
  agAttorney = 4, agCommission = 5, agAgent = 6
};

inline constexpr std::uint8_t Bit(int n) { return static_cast<std::uint8_t>(1u << n); }
inline constexpr bool TestBit(std::uint32_t set, int n) { return (set >> n) & 1u; }

// FFD version codes written to the register.
inline constexpr int kFFD105 = 2;
inline constexpr int kFFD12 = 4;

struct TRegParams {
  bool FirstTime = false;
  bool OFDEnabled = false;
  bool NewFN = false;
  std::string INN;
  std::string RNM;
  std::string User;
  std::string Cashier;
  std::string Address;
  std::uint8_t TaxSystem = kNotChosen;
  std::uint8_t Agent = kNotChosen;
  std::uint8_t WorkMode = kNotChosen;
  std::uint8_t WorkModeEx = kNotChosen;
  std::string AutomatNumber;
  int ReasonCode = kNotChosen;
  int FFD = kNotChosen;
  std::string TaxOfficeURL;
  std::string SenderEmail;
  std::string PayPlace;
  std::string OFDName;
  std::string OFDUrl;
  std::string OFDINN;
  std::string OFDServer;
  int OFDPort = 0;
  std::string CashierINN;
  std::string X5FactoryCode;
  int DocType = 0;
  bool PrinterInAutomat = false;
  std::string FNSerial;
  std::string KKTSerial;
  TDateTimeRec DateTime;
  int DocNumber = 0;
  std::string FiscalSign;
  std::string VersionKKT;
  bool LotterySign = false;
  bool GameSign = false;
  bool ExciseSign = false;
  bool DeliveryTradeSign = false;
  bool PayTerminalSign = false;
  std::uint32_t ReasonCodesEx = 0;  // bit n = change reason n+1
  std::string ServerKM;
  int PortKM = 0;

  // Back to "nothing chosen" for a new pass through the flow; the X5 factory code stays.
  void Reset();
};

// Name of the first bit set still at kNotChosen among those a registration writes
// ("TaxSystem", "WorkMode", "WorkModeEx", or "Agent" for FFD 1.05); empty when all were chosen.
std::string UnchosenRegField(const TRegParams& p);

}  // namespace zel
