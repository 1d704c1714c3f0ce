#pragma once
// The virtual register: its whole state behind one lock, and the operations
// its commands run. Operations are named after the driver methods they serve
// and take and give the fields of those methods by property name.
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "emulator/model/DeviceState.h"
#include "emulator/model/FieldValues.h"
#include "emulator/model/NetworkRuntime.h"
#include "emulator/model/PaperTape.h"

namespace zel::emu {

// Device modes reported in the status (ECRMode).
enum EMode : int {
  kModeShiftOpen = 2,
  kModeShiftOver24h = 3,
  kModeShiftClosed = 4,
  kModeDateConfirm = 6,
  kModeReceiptOpen = 8,
};

class TDeviceModel {
 public:
  explicit TDeviceModel(TIdentity identity = {});

  // Runs one operation; returns the answer's result byte. Unknown names give kNotSupported.
  std::uint8_t Execute(const std::string& operation, const TFieldValues& in, TFieldValues& out);
  static bool Knows(const std::string& operation);
  static std::vector<std::string> Operations();

  // Switches for tests and the program's options.
  // The next `times` operations (status reads excepted) answer `code` (80 or 75).
  void SetBusy(std::uint8_t code, int times);
  // Busy answers go only to these operations (empty: to every one not exempt).
  void SetBusyOperations(std::vector<std::string> operations);
  // The operator swaps the fiscal storage: a fresh one with this serial (up to 16
  // digits) is put in; the register keeps its tables, so a storage replacement
  // report can follow. False, and nothing changes, for a bad serial.
  bool ReplaceFN(const std::string& serial);
  // OFD exchange: documents confirmed per second (0 = none), and a hold that stops it.
  void SetOfdPace(double documentsPerSecond);
  void HoldOfd(bool hold);
  // The OFD refuses every document with this answer code (1..6; 0 = it accepts them).
  void SetOfdError(int code);
  // DHCP state reported while table 16 asks for DHCP (10 = address obtained).
  void SetDhcpState(int state);
  // Power cycle: what was in preparation is dropped, network settings written since
  // the last restart take effect and a DHCP address is asked for again.
  void Restart();
  // Time after a restart until the DHCP state of SetDhcpState is reached (0 before).
  void SetDhcpDelay(int ms);
  // With on, DHCP reports 0 (no address) while written network settings wait for a restart.
  void SetRestartRequired(bool on);
  bool NetworkRestartPending();
  int Restarts();
  // Host clock in milliseconds since the epoch (tests move time with it).
  void SetHostClock(std::function<std::int64_t()> nowMs);
  // Tape lines are appended to path as well.
  void SetTapeFile(const std::string& path);

  // Read-outs.
  int Mode();
  std::vector<TTapeItem> Tape();
  std::size_t UnsentDocuments();
  std::int64_t DeviceTime();  // seconds since the epoch

  // The whole state, for the state file.
  TDeviceState Snapshot();
  void Restore(const TDeviceState& state);

 private:
  using TOp = std::uint8_t (TDeviceModel::*)(const TFieldValues&, TFieldValues&);
  struct TOpRow {
    const char* name;
    TOp op;
    bool busyExempt;
  };
  static const std::vector<TOpRow>& OpTable();

  // helpers (lock held)
  std::int64_t NowLocked() const;
  int DhcpStateLocked() const;
  int ModeLocked() const;
  int OperatorOf(std::int64_t password) const;
  bool IsAdmin(std::int64_t password) const;
  std::int64_t CellInt(int table, int row, int field) const;  // 0 when the cell holds no number
  int EcrFlags() const;
  int FmFlags() const;
  void DrainOfdLocked();
  void RefreshExchangeTable();  // table 20 from the OFD queue
  void FillDefaults();
  // Table of the extended work modes and change reasons (fields 21, 22).
  int ExtendedModesTable() const;
  // A fresh storage in a register that was registered before: a replacement report may be built.
  bool FreshFnAfterRegistration() const;
  std::string Cell(int table, int row, int field) const;
  void SetCell(int table, int row, int field, const std::string& value);
  TFnDocument& AddDocument(int type);
  void PrintDocumentHeader(const std::string& title);
  void PrintDocumentFooter(const TFnDocument& doc);
  void PrintLine(const std::string& text, int font = 1);

  // status and identity
  std::uint8_t GetECRStatus(const TFieldValues&, TFieldValues&);
  std::uint8_t GetShortECRStatus(const TFieldValues&, TFieldValues&);
  std::uint8_t GetDeviceMetrics(const TFieldValues&, TFieldValues&);
  std::uint8_t ReadModelParam(const TFieldValues&, TFieldValues&);
  std::uint8_t ReadModelParamValue(const TFieldValues&, TFieldValues&);
  std::uint8_t ReadSerialNumber(const TFieldValues&, TFieldValues&);
  std::uint8_t SetSerialNumber(const TFieldValues&, TFieldValues&);
  std::uint8_t Beep(const TFieldValues&, TFieldValues&);
  std::uint8_t ResetECR(const TFieldValues&, TFieldValues&);
  std::uint8_t SetDate(const TFieldValues&, TFieldValues&);
  std::uint8_t ConfirmDate(const TFieldValues&, TFieldValues&);
  std::uint8_t SetTime(const TFieldValues&, TFieldValues&);
  // tables and registers
  std::uint8_t GetTableStruct(const TFieldValues&, TFieldValues&);
  std::uint8_t GetFieldStruct(const TFieldValues&, TFieldValues&);
  std::uint8_t ReadTable(const TFieldValues&, TFieldValues&);
  std::uint8_t WriteTable(const TFieldValues&, TFieldValues&);
  std::uint8_t InitTable(const TFieldValues&, TFieldValues&);
  std::uint8_t GetCashReg(const TFieldValues&, TFieldValues&);
  std::uint8_t GetCashRegEx(const TFieldValues&, TFieldValues&);
  std::uint8_t GetOperationReg(const TFieldValues&, TFieldValues&);
  // receipts and shifts
  std::uint8_t OpenCheck(const TFieldValues&, TFieldValues&);
  std::uint8_t CancelCheck(const TFieldValues&, TFieldValues&);
  std::uint8_t SysAdminCancelCheck(const TFieldValues&, TFieldValues&);
  std::uint8_t FNOperation(const TFieldValues&, TFieldValues&);
  std::uint8_t FNCloseCheckEx(const TFieldValues&, TFieldValues&);
  std::uint8_t CashIncome(const TFieldValues&, TFieldValues&);
  std::uint8_t CashOutcome(const TFieldValues&, TFieldValues&);
  std::uint8_t FNBeginOpenSession(const TFieldValues&, TFieldValues&);
  std::uint8_t OpenSession(const TFieldValues&, TFieldValues&);
  std::uint8_t FNBeginCloseSession(const TFieldValues&, TFieldValues&);
  std::uint8_t PrintReportWithCleaning(const TFieldValues&, TFieldValues&);
  std::uint8_t PrintReportWithoutCleaning(const TFieldValues&, TFieldValues&);
  // fiscal storage
  std::uint8_t FNGetStatus(const TFieldValues&, TFieldValues&);
  std::uint8_t FNGetSerial(const TFieldValues&, TFieldValues&);
  std::uint8_t FNGetVersion(const TFieldValues&, TFieldValues&);
  std::uint8_t FNGetExpirationTime(const TFieldValues&, TFieldValues&);
  std::uint8_t FNGetCurrentSessionParams(const TFieldValues&, TFieldValues&);
  std::uint8_t FNGetInfoExchangeStatus(const TFieldValues&, TFieldValues&);
  std::uint8_t FNGetOSUSupportStatus(const TFieldValues&, TFieldValues&);
  std::uint8_t FNBeginRegistrationReport(const TFieldValues&, TFieldValues&);
  std::uint8_t FNSendTag(const TFieldValues&, TFieldValues&);
  std::uint8_t FNBuildRegistrationReport(const TFieldValues&, TFieldValues&);
  std::uint8_t FNBuildReregistrationReport(const TFieldValues&, TFieldValues&);
  std::uint8_t FNGetFiscalizationResult(const TFieldValues&, TFieldValues&);
  std::uint8_t FNGetFiscalizationResultByNumber(const TFieldValues&, TFieldValues&);
  std::uint8_t FNCancelDocument(const TFieldValues&, TFieldValues&);
  std::uint8_t FNBeginCloseFiscalMode(const TFieldValues&, TFieldValues&);
  std::uint8_t FNCloseFiscalMode(const TFieldValues&, TFieldValues&);
  std::uint8_t FNBeginCalculationStateReport(const TFieldValues&, TFieldValues&);
  std::uint8_t FNBuildCalculationStateReport(const TFieldValues&, TFieldValues&);
  std::uint8_t FNFindDocument(const TFieldValues&, TFieldValues&);
  // storage figures and interfaces
  std::uint8_t FNGetDocumentSize(const TFieldValues&, TFieldValues&);
  std::uint8_t FNGetFreeMemoryResource(const TFieldValues&, TFieldValues&);
  std::uint8_t FNGetImplementation(const TFieldValues&, TFieldValues&);
  std::uint8_t FNGetNonClearableSumm(const TFieldValues&, TFieldValues&);
  std::uint8_t FNGetNonClearableSummEx(const TFieldValues&, TFieldValues&);
  std::uint8_t FNGetUnconfirmedDocCount(const TFieldValues&, TFieldValues&);
  std::uint8_t SetExchangeParam(const TFieldValues&, TFieldValues&);
  std::uint8_t GetExchangeParam(const TFieldValues&, TFieldValues&);
  // tag records, counters, service
  std::uint8_t FNSendTLV(const TFieldValues&, TFieldValues&);
  std::uint8_t ContinuePrint(const TFieldValues&, TFieldValues&);
  std::uint8_t FNCountersSync(const TFieldValues&, TFieldValues&);
  std::uint8_t FNResetState(const TFieldValues&, TFieldValues&);
  // FE service commands: SubCode and the 4-byte Parameter in, Payload out.
  std::uint8_t ServiceCommand(const TFieldValues&, TFieldValues&);
  // printing
  std::uint8_t PrintString(const TFieldValues&, TFieldValues&);
  std::uint8_t PrintStringWithFont(const TFieldValues&, TFieldValues&);
  std::uint8_t FeedDocument(const TFieldValues&, TFieldValues&);
  std::uint8_t CutCheck(const TFieldValues&, TFieldValues&);
  std::uint8_t GetFontMetrics(const TFieldValues&, TFieldValues&);

  std::uint8_t BuildRegistration(const TFieldValues& in, TFieldValues& out, bool reregistration);
  std::uint8_t CloseShift(TFieldValues& out);
  void FiscalizationOut(const TFnDocument& doc, TFieldValues& out) const;

  std::mutex mutex_;
  TDeviceState s_;
  TPaperTape tape_;
  std::function<std::int64_t()> hostMs_;
  std::uint8_t busyCode_ = 0;
  std::vector<std::string> busyOps_;
  int busyLeft_ = 0;
  double ofdPace_ = 1.0;
  bool ofdHeld_ = false;
  int ofdError_ = 0;
  std::int64_t ofdLastMs_ = 0;
  double ofdCredit_ = 0;
  int dhcpState_ = 10;
  TNetworkRuntime net_;
  std::int64_t pendingDate_ = -1;  // a date set and not yet confirmed

  // memory dumps (ModelDump.cpp)
  std::uint8_t DampRequest(const TFieldValues&, TFieldValues&);
  std::uint8_t GetData(const TFieldValues&, TFieldValues&);
  std::uint8_t InterruptDataStream(const TFieldValues&, TFieldValues&);
  // long data (ModelDump.cpp): the text comes back as it was sent
  std::uint8_t SendLongData(const TFieldValues&, TFieldValues&);
  // the QR code text of a receipt (ModelReceiptQr.cpp)
  std::uint8_t FNReadFiscalBarcode(const TFieldValues&, TFieldValues&);
  struct TDump {
    int deviceCode = -1;  // -1: no dump running
    Bytes image;
    int nextBlock = 1;
  } dump_;
};

// Deterministic fiscal sign of a document of storage `fnSerial`.
std::uint32_t FiscalSignOf(const std::string& fnSerial, const TFnDocument& doc);

}  // namespace zel::emu
