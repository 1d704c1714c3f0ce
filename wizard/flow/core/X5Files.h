#pragma once
// Files exchanged with a retail chain's systems: the register's parameters, the
// registration parameters prepared by the chain, and the registration and
// archive-closing reports. Lines end in CR LF (the last one too); files are
// written in Windows-1251 without a byte-order mark.
#include <stdexcept>
#include <string>
#include <vector>

#include "wizard/flow/core/DateTimeRec.h"
#include "wizard/flow/core/RegParams.h"

namespace zel {

class EX5File : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Document types in file names.
inline constexpr int kX5DocRegistration = 1;
inline constexpr int kX5DocReregistration = 2;
inline constexpr int kX5DocCloseArchive = 3;
inline constexpr int kX5DocKKTParams = 4;

// Presets of the cashier step's tax service site and receipt sender fields.
inline constexpr const char* kX5TaxOfficeURL = "www.nalog.gov.ru";
inline constexpr const char* kX5SenderEmail = "noreply@chek.nalog.ru";

struct TX5KKTParamsRec {
  std::string FactoryCode;
  std::string KKTSerial;
  std::string KKTModel;
  std::string FNSerial;
  std::string FNModel;
  std::string KKTModelNumber;
  std::string AutomatNumber;
};

struct TX5CloseFNRec {
  std::string UserName;
  std::string Address;
  std::string PayPlace;
  std::string INN;
  std::string RNM;
  std::string KKTSerial;
  int FFD = 0;
  int SessionNumber = 0;
  std::string Cashier;
  std::string CashierINN;
  std::string FNSerial;
  TDateTimeRec DateTime;
  int DocNumber = 0;
  std::string FiscalSign;
};

// "yyyymmdd_TT_factory_serial.txt"; the texts are trimmed and characters that cannot stand
// in a file name (path separators among them) become "_".
std::string X5FileName(int docType, const std::string& kktSerial, const std::string& factoryCode,
                       const TDateTimeRec& date);
// FN model text for the parameters step's FN version list (0 "1", 1 "1.05", 2 "1.1").
std::string X5FNModel(int versionIndex);

std::vector<std::string> X5KKTParamsLines(const TX5KKTParamsRec& rec);
std::vector<std::string> X5RegReportLines(const TRegParams& params);
std::vector<std::string> X5CloseReportLines(const TX5CloseFNRec& rec);
// File bytes of lines; throws ETextEncoding naming characters Windows-1251 cannot hold.
std::string EncodeX5File(const std::vector<std::string>& lines);

// Writers: nothing is written when a text cannot be encoded; throw EX5File when the file cannot be written.
void SaveX5KKTParams(const TX5KKTParamsRec& rec, const std::string& fileName);
void SaveX5RegReport(const TRegParams& params, const std::string& fileName);
void SaveX5CloseReport(const TX5CloseFNRec& rec, const std::string& fileName);

// Reads the registration parameters into params. The record changes only when the whole
// file is valid; otherwise EX5File (or ETextEncoding) names the first fault.
void LoadX5RegParams(TRegParams& params, const std::string& fileName);
// The same from the file's lines.
void ParseX5RegParams(TRegParams& params, const std::vector<std::string>& lines);

}  // namespace zel
