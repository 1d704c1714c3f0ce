// The multichannel engine reading whatever the line brings.
#include <exception>

#include "common/Crc.h"
#include "fuzz/support/FuzzInput.h"
#include "server/protocol/PrinterProtocol3.h"

using namespace zel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::TFuzzLink link = fuzz::MakeLink(data, size);
  TPrinterProtocol3 engine(link.port, link.params);
  for (int exchange = 0; exchange < 3; ++exchange) {
    TCommandRec rec = link.command;
    try {
      engine.Send(rec);
    } catch (const std::exception&) {
      fuzz::Require(rec.Answer.empty() && rec.RxData.empty());
      continue;
    }
    // The answer is the body of a frame with this command's number and a good CRC.
    const Bytes& rx = rec.RxData;
    const std::size_t n = rec.Answer.size();
    fuzz::Require(n > 0 && rx.size() >= n + 7);
    const std::uint8_t* frame = rx.data() + rx.size() - (n + 7);
    fuzz::Require(frame[0] == 0x82 && frame[1] == 0x00 && frame[2] == engine.FrameNumber());
    fuzz::Require(Bytes(frame + 5, frame + 5 + n) == rec.Answer);
    const unsigned crc = frame[5 + n] | (frame[6 + n] << 8);
    fuzz::Require(crc == Crc16Cms(frame + 2, n + 3) || crc == Crc16Cms(frame + 1, n + 4));
  }
  return 0;
}
