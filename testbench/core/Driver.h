#pragma once
// The test bench's one driver instance, the silent abort that ends a button
// handler when a driver call fails (the code stays in ResultCode and is shown
// by the result line), and the helpers pages share: tables, model parameters,
// tags, long text printing and raw commands.
//
// Loop workers and the GUI share the instance. A handler's whole call
// sequence runs under the instance's lock (TPage::Run takes it); a worker
// takes it for each of its sequences and keeps the instance alive through
// DriverShared(), so FreeDriver never destroys an instance a worker still uses.
#include <exception>
#include <memory>
#include <mutex>
#include <string>

#include "common/Bytes.h"
#include "driver/Zelvox.h"
#include "testbench/core/util/ModelParams.h"

namespace zel {

// Silent abort: a page handler catches it and shows nothing.
class EAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "Operation aborted"; }
};

// Raises EAbort when resultCode is not 0.
void Check(int resultCode);

// The model-parameter operations: name, number, kind (Bool or Int).
#define ZEL_TB_MODEL_PARAMS(X)                                                              \
  X(CapJrnSensor, Bool) X(CapJrnOpticalSensor, Bool) X(CapJrnLeverSensor, Bool)             \
  X(CapRecSensor, Bool) X(CapRecOpticalSensor, Bool) X(CapRecLeverSensor, Bool)             \
  X(CapSlpDocumentHiSensor, Bool) X(CapSlpDocumentLoSensor, Bool) X(CapCoverSensor, Bool)   \
  X(CapEKLZOverflowSensor, Bool) X(CapTaxCalc, Bool) X(TaxCalcField, Int)                   \
  X(CapCashDrawerAsPresenter, Bool) X(CapCashDrawerSensor, Bool)                            \
  X(CapPrsPaperInSensor, Bool) X(CapPrsPaperOutSensor, Bool) X(CapPresenter, Bool)          \
  X(CapPresenterCommands, Bool) X(CapBillAcceptor, Bool) X(CapSlip, Bool)                   \
  X(CapNonfiscalDocument, Bool) X(CapJournal, Bool) X(CapTaxKeyboard, Bool)                 \
  X(Font1Width, Int) X(Font2Width, Int) X(SwapLineBytes, Bool) X(FirstDrawLine, Int)        \
  X(CapCashCore, Bool) X(InnDigitCount, Int) X(RnmDigitCount, Int) X(GetModelID, Int)       \
  X(CapEJournal, Bool) X(GetCapEJournal, Bool) X(CapCutterPresent, Bool)                    \
  X(DefaultTaxPassword, Int) X(DefaultSysPassword, Int) X(LongRnmDigitCount, Int)           \
  X(LongSerialDigitCount, Int) X(CapTaxPasswordLock, Bool) X(CapInnLeadingZeros, Bool)      \
  X(CapRnmLeadingZeros, Bool) X(CapAltProtocol, Bool) X(CapWrapNonFiscalString, Bool)       \
  X(CapWrapWithFontNonFiscapString, Bool) X(CapWrapFiscalString, Bool)                      \
  X(CapWrapWithFontFiscalString, Bool) X(CapChiefCashier, Bool) X(CapLastPrintResult, Bool) \
  X(CapLoadBlockGraphics, Bool) X(CapErrorDescription, Bool) X(MaxCmdLength, Int)           \
  X(CapPrintFlagsGraphics, Bool) X(MaxLineWidth, Int) X(CapSKNO, Bool) X(CapFN, Bool)       \
  X(FSTableNumber, Int)

class TDriver : public TZelvox {
 public:
  using TLock = std::unique_lock<std::recursive_mutex>;
  static void Check(int resultCode) { zel::Check(resultCode); }
  TLock Lock() const { return ScopedLock(); }

  // Tables. Int/Str read the corrected table number and abort on failure;
  // Def reads the number as given and answers `def` on failure.
  std::int64_t ReadTableInt(int table, int row, int field);
  std::string ReadTableStr(int table, int row, int field);
  std::int64_t ReadTableDef(int table, int row, int field, std::int64_t def);
  void WriteTableInt(int table, int row, int field, std::int64_t value);
  // 18 and 19 move between models (model parameters 72 and 73).
  int CorrectTableNumber(int number);

  // Model parameters. A value that is not a number raises std::runtime_error.
  int ReadIntParam(int paramId);
  bool ReadBoolParam(int paramId);
#define ZEL_TB_PARAM_Bool(n) \
  bool n() { return ReadBoolParam(ModelParam::n); }
#define ZEL_TB_PARAM_Int(n) \
  int n() { return ReadIntParam(ModelParam::n); }
#define ZEL_TB_PARAM(n, kind) ZEL_TB_PARAM_##kind(n)
  ZEL_TB_MODEL_PARAMS(ZEL_TB_PARAM)
#undef ZEL_TB_PARAM
#undef ZEL_TB_PARAM_Int
#undef ZEL_TB_PARAM_Bool
  bool IsModelType2() { return zel::IsModelType2(GetModelID()); }

  // With PointPosition two decimals (the locale's separator), else the whole part.
  std::string AmountToStr(double value) const;

  // Fiscal-storage tags (type numbers of the driver: 0 byte, 6 time, 7 string).
  void AddTagByte(int tag, std::uint8_t value);
  void AddTagStr(int tag, const std::string& value);
  void AddTagUnixTime(int tag, double value);
  void SendTagStr(int tag, const std::string& value);
  void SendTagStrOperation(int tag, const std::string& value);
  void SendTagUnixTime(int tag, double value);
  void SendTagUnixTimeOperation(int tag, double value);
  void BeginSTLVTag(int tag);
  void SendSTLVTag(int tag);
  void SendSTLVTagOperation(int tag);

  // Characters per line of a font, asked with the system administrator's
  // password (the current one is back afterwards in every case).
  int GetPrintStringWidth(int font);
  // Font 0: the driver wraps. Other fonts: pieces of the line width, each
  // retried while the printer is busy (80, 75).
  void PrintText(const std::string& text, int font);

  // Raw command bytes; the result of the exchange, not checked.
  int SendCommand(const Bytes& command);
  int SendCommand(const Bytes& command, Bytes& response);
};

// The instance, created on first use. A failed creation raises
// std::runtime_error with "Ошибка создания объекта драйвера: " in front of the
// cause; the next call tries again.
TDriver& Driver();
// The same instance as a shared owner: a worker holds it for its whole run.
std::shared_ptr<TDriver> DriverShared();
bool DriverExists();
// Forgets the instance; it is destroyed once no worker holds it any more,
// and the next Driver() makes a new one.
void FreeDriver();

}  // namespace zel
