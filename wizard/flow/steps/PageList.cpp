#include "wizard/flow/steps/PageList.h"

namespace zel {

namespace {
template <class T>
TParamPage* Make() {
  return new T();
}
}  // namespace

const std::vector<std::function<TParamPage*()>>& WizardPageFactories() {
  static const std::vector<std::function<TParamPage*()>> list = {
      Make<TfmConnectDevice>,        Make<TfmSearchDevice>,        Make<TfmSelectWorkType>,
      Make<TfmSelectClientType>,     Make<TfmEnterSerial>,         Make<TfmOFDParams>,
      Make<TfmUserParams>,           Make<TfmWorkMode>,            Make<TfmINN>,
      Make<TfmFiscalizationBefore>,  Make<TfmFiscalizationInfo>,   Make<TfmSelectNetType>,
      Make<TfmEthernetParams>,       Make<TfmRNDISParams>,         Make<TfmWiFiParams>,
      Make<TfmCheckRNDIS>,           Make<TfmOFDExchangeState>,    Make<TfmFinalMessage>,
      Make<TfmSelectPortType>,       Make<TfmTCPParams>,           Make<TfmCheckEthernet>,
      Make<TfmBeforeCloseFN>,        Make<TfmFFD>,                 Make<TfmCloseFN>,
      Make<TfmKKTParamsX5>,          Make<TfmOpenRegParamsX5>,     Make<TFmCheckStatusBeforeCloseFN>,
      Make<TfmRegParamsX5>,          Make<TfmCalculationStateReport>, Make<TFmCheckStatusBeforeRegistration>,
      Make<TFmCheckStatusBeforeReRegistration>,
  };
  return list;
}

}  // namespace zel
