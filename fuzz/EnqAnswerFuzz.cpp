// The ENQ engine reading whatever the line brings.
#include <exception>

#include "common/Crc.h"
#include "fuzz/support/FuzzInput.h"
#include "server/protocol/PrinterProtocol.h"

using namespace zel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::TFuzzLink link = fuzz::MakeLink(data, size);
  TPrinterProtocol engine(link.port, link.params);
  for (int exchange = 0; exchange < 2; ++exchange) {
    TCommandRec rec = link.command;
    try {
      engine.Send(rec);
    } catch (const std::exception&) {
      fuzz::Require(rec.Answer.empty() && rec.RxData.empty());  // a failure leaves the record as it was
      continue;
    }
    // An answer is only ever a body whose checksum held: the last frame read.
    const Bytes& rx = rec.RxData;
    const std::size_t n = rec.Answer.size();
    fuzz::Require(n <= 255 && rx.size() >= n + 3);
    const std::uint8_t* frame = rx.data() + rx.size() - (n + 3);
    fuzz::Require(frame[0] == 0x02 && frame[1] == n);
    fuzz::Require(Bytes(frame + 2, frame + 2 + n) == rec.Answer);
    fuzz::Require(Lrc(rec.Answer.data(), n, static_cast<std::uint8_t>(n)) == frame[2 + n]);
  }
  return 0;
}
