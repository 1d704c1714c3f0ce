#pragma once
// Numbers of the model parameters the driver answers for the connected model
// (ModelParamNumber / ReadModelParamValue), and the decisions made from them.
#include <functional>

namespace zel {

namespace ModelParam {
enum : int {
  CapJrnSensor = 1,
  CapJrnOpticalSensor = 2,
  CapJrnLeverSensor = 3,
  CapRecSensor = 4,
  CapRecOpticalSensor = 5,
  CapRecLeverSensor = 6,
  CapSlpDocumentHiSensor = 7,
  CapSlpDocumentLoSensor = 8,
  CapCoverSensor = 9,
  CapEKLZOverflowSensor = 10,
  CapTaxCalc = 11,
  TaxCalcField = 12,
  CapCashDrawerAsPresenter = 13,
  CapCashDrawerSensor = 14,
  CapPrsPaperInSensor = 15,
  CapPrsPaperOutSensor = 16,
  CapPresenter = 17,
  CapPresenterCommands = 18,
  CapBillAcceptor = 19,
  CapSlip = 20,
  CapNonfiscalDocument = 21,
  CapJournal = 22,
  CapTaxKeyboard = 23,
  Font1Width = 24,
  Font2Width = 25,
  SwapLineBytes = 26,
  FirstDrawLine = 27,
  CapCashCore = 28,
  InnDigitCount = 29,
  RnmDigitCount = 30,
  GetModelID = 32,
  CapEJournal = 34,
  GetCapEJournal = CapEJournal,
  CapCutterPresent = 35,
  DefaultTaxPassword = 36,
  DefaultSysPassword = 37,
  LongRnmDigitCount = 38,
  LongSerialDigitCount = 39,
  CapTaxPasswordLock = 40,
  CapInnLeadingZeros = 41,
  CapRnmLeadingZeros = 42,
  CapAltProtocol = 44,
  CapWrapNonFiscalString = 45,
  CapWrapWithFontNonFiscapString = 46,
  CapWrapFiscalString = 47,
  CapWrapWithFontFiscalString = 48,
  CapChiefCashier = 49,
  CapLastPrintResult = 50,
  CapLoadBlockGraphics = 51,
  CapErrorDescription = 52,
  MaxCmdLength = 53,
  CapPrintFlagsGraphics = 54,
  MaxLineWidth = 55,
  CapSKNO = 57,
  CapFN = 71,
  FSTableNumber = 72,          // table of the fiscal-storage settings (stands in for 18)
  Table19Number = 73,          // table that stands in for table 19
};
}  // namespace ModelParam

// Model identifiers of the second model family.
bool IsModelType2(int modelId);

// Tables 18 and 19 move between models: 18 becomes model parameter 72 and 19
// parameter 73, each read through `readIntParam` (which throws on failure);
// any other number comes back unchanged without a read.
int CorrectTableNumber(int number, const std::function<int(int paramId)>& readIntParam);

}  // namespace zel
