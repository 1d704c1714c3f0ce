#pragma once
// Everything the virtual register remembers: the plain data behind
// TDeviceModel. It is what the state file saves and loads.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zel::emu {

// What the register is; fixed by the maker except the serial number, which
// the service step writes once.
struct TIdentity {
  int modelId = 16;
  std::string description = "ZELVOX-01F";
  int majorType = 0, minorType = 4;          // device type and subtype
  int majorProtocol = 1, minorProtocol = 0;  // protocol version
  int codePage = 0;                          // 0 = Russian
  std::string firmwareVersion = "3.2";       // major.minor, as the status record carries it
  int firmwareBuild = 25611;
  std::string firmwareDate = "2023-02-13";   // ISO date, after 2018-10-24
  std::string fmVersion = "3.2";
  int fmBuild = 25611;
  std::string fmDate = "2023-02-13";
  bool cashCore = false;                     // model parameter 28
  bool cutter = true;
  std::string serial;                        // empty until written
};

// One fiscal document in the storage's archive.
struct TFnDocument {
  std::uint32_t number = 0;
  int type = 0;                 // 1 registration, 2 shift open, 3 receipt, 5 shift close,
                                // 6 fiscal mode closed, 11 re-registration, 21 calculation state, 31 correction
  std::int64_t time = 0;        // device time, seconds since the epoch
  std::uint32_t fiscalSign = 0;
  int shift = 0;
  int operationType = 0;        // receipts: 1 sale, 2 sale return, 3 purchase, 4 purchase return
  std::int64_t sum = 0;         // kopecks
  bool acknowledged = false;    // the OFD has confirmed it
  // registration and re-registration
  std::string inn, rnm, ofdInn;
  int taxType = 0, workMode = 0, workModeEx = 0, reason = 0;
  std::uint32_t reasonEx = 0;
  std::map<int, std::string> tags;  // tags sent while the document was prepared
};

// Fiscal storage life phases (bits of FNLifeState).
enum EFnPhase : int {
  kFnSetUp = 1,            // ready for registration
  kFnFiscal = 3,           // fiscal mode open
  kFnPostFiscal = 7,       // fiscal mode closed, documents still to send
  kFnArchiveClosed = 15,   // everything sent
};

struct TFiscalStorage {
  std::string serial = "9999078900001234";
  std::string version = "fn_v_1_2 2.2.0";
  int softType = 1;                // 1 = serial firmware
  int phase = kFnSetUp;
  int openDocument = 0;            // FNCurrentDocument code of a document in preparation
  int reportType = 0;              // ReportTypeInt of the registration report in preparation
  std::map<int, std::string> pendingTags;
  bool sessionOpen = false;
  int sessionNumber = 0;
  int receiptNumber = 0;           // receipts in the current shift
  std::int64_t sessionOpenTime = 0;
  std::int64_t expiry = 0;         // end of the storage's life, device time
  int registrationsLeft = 30;
  std::vector<TFnDocument> documents;
};

// The paper tape: each printed line, feed and cut.
struct TTapeItem {
  enum EKind { kText, kFeed, kCut } kind = kText;
  int font = 1;
  std::string text;
  int count = 1;           // lines fed
};

struct TReceipt {
  bool open = false;
  int type = 0;            // CheckType: 0 sale, 1 purchase, 2 sale return, 3 purchase return
  int operatorNumber = 0;
  std::int64_t total = 0;
};

struct TDeviceState {
  TIdentity identity;
  std::int64_t clockOffset = 0;   // device time minus host time, seconds
  // table -> row -> field -> value (text of the value; ints in decimal)
  std::map<int, std::map<int, std::map<int, std::string>>> tables;
  std::vector<std::int64_t> cashRegisters;
  std::vector<std::int64_t> operationRegisters;
  TFiscalStorage fn;
  TReceipt receipt;
  int lastOperator = 0;
  bool okpKeysUpdated = false;   // the marking-code check keys were fetched
};

}  // namespace zel::emu
