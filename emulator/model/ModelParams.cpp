#include "emulator/model/ModelParams.h"

#include "emulator/model/TableDefs.h"

namespace zel::emu {

std::vector<TModelParam> ModelParams(const TIdentity& id) {
  const bool cashCore = id.cashCore;
  std::vector<TModelParam> params = {
      {1, "CapJrnSensor", 0},
      {2, "CapJrnOpticalSensor", 0},
      {3, "CapJrnLeverSensor", 0},
      {4, "CapRecSensor", 1},
      {5, "CapRecOpticalSensor", 1},
      {6, "CapRecLeverSensor", 1},
      {7, "CapSlpDocumentHiSensor", 0},
      {8, "CapSlpDocumentLoSensor", 0},
      {9, "CapCoverSensor", 1},
      {10, "CapEKLZOverflowSensor", 0},
      {11, "CapTaxCalc", 1},
      {12, "TaxCalcField", 1},
      {13, "CapCashDrawerAsPresenter", 0},
      {14, "CapCashDrawerSensor", 0},
      {15, "CapPrsPaperInSensor", 0},
      {16, "CapPrsPaperOutSensor", 0},
      {17, "CapPresenter", 0},
      {18, "CapPresenterCommands", 0},
      {19, "CapBillAcceptor", 0},
      {20, "CapSlip", 0},
      {21, "CapNonfiscalDocument", 1},
      {22, "CapJournal", 0},
      {23, "CapTaxKeyboard", 0},
      {24, "Font1Width", 48},
      {25, "Font2Width", 36},
      {26, "SwapLineBytes", 0},
      {27, "FirstDrawLine", 1},
      {28, "CapCashCore", cashCore ? 1 : 0},
      {29, "InnDigitCount", 12},
      {30, "RnmDigitCount", 16},
      {32, "GetModelID", id.modelId},
      {34, "CapEJournal", 0},
      {35, "CapCutterPresent", id.cutter ? 1 : 0},
      {36, "DefaultTaxPassword", 0},
      {37, "DefaultSysPassword", 30},
      {38, "LongRnmDigitCount", 20},
      {39, "LongSerialDigitCount", 20},
      {40, "CapTaxPasswordLock", 0},
      {41, "CapInnLeadingZeros", 1},
      {42, "CapRnmLeadingZeros", 1},
      {44, "CapAltProtocol", 1},
      {45, "CapWrapNonFiscalString", 1},
      {46, "CapWrapWithFontNonFiscapString", 1},
      {47, "CapWrapFiscalString", 1},
      {48, "CapWrapWithFontFiscalString", 1},
      {49, "CapChiefCashier", 0},
      {50, "CapLastPrintResult", 1},
      {51, "CapLoadBlockGraphics", 1},
      {52, "CapErrorDescription", 1},
      {53, "MaxCmdLength", 255},
      {54, "CapPrintFlagsGraphics", 1},
      {55, "MaxLineWidth", 0},
      {57, "CapSKNO", 0},
      {71, "CapFN", 1},
      {72, "FSTableNumber", cell::kFiscal},
      {73, "OFDTableNumber", cell::kOfd},
      // Always its own table: on cash-core models the vending-machine number must
      // not share 16/1/1 with the address mode, or writing one corrupts the other.
      {75, "VendingTableNumber", cell::kVending},
  };
  for (auto& p : params) p.isBool = p.description.rfind("Cap", 0) == 0 || p.description == "SwapLineBytes";
  return params;
}

}  // namespace zel::emu
