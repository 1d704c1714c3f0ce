// The numbered-frame engine reading whatever the line brings.
#include <exception>

#include "fuzz/support/FuzzInput.h"
#include "server/protocol/PrinterProtocol2.h"

using namespace zel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::TFuzzLink link = fuzz::MakeLink(data, size);
  TPrinterProtocol2 engine(link.port, link.params);
  for (int exchange = 0; exchange < 2; ++exchange) {
    TCommandRec rec = link.command;
    try {
      engine.Send(rec);
    } catch (const std::exception&) {
      fuzz::Require(rec.Answer.empty() && rec.TxData.empty() && rec.RxData.empty());
      continue;
    }
    fuzz::Require(engine.Synchronized());
    fuzz::Require(engine.FrameNumber() >= 0 && engine.FrameNumber() <= 0xFFFF);
    fuzz::Require(rec.RxData.size() >= rec.Answer.size() + 7);
  }
  return 0;
}
