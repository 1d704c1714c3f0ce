#include "emulator/link/DeviceFrames.h"

#include "common/Crc.h"

namespace zel {

namespace {
void PutLe16(Bytes& out, std::size_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}
}  // namespace

Bytes enq::Frame(const Bytes& data) {
  Bytes frame;
  frame.reserve(data.size() + 3);
  frame.push_back(STX);
  frame.push_back(static_cast<std::uint8_t>(data.size()));
  frame.insert(frame.end(), data.begin(), data.end());
  frame.push_back(Lrc(frame.data() + 1, frame.size() - 1));
  return frame;
}

Bytes numbered::Frame(std::uint16_t number, const Bytes& data) {
  Bytes body;
  body.reserve(data.size() + 6);
  PutLe16(body, data.size() + 2);
  PutLe16(body, number);
  body.insert(body.end(), data.begin(), data.end());
  PutLe16(body, Crc16CcittFalse(body));
  Bytes frame{kStart};
  frame.reserve(body.size() + body.size() / 8 + 1);
  for (std::uint8_t b : body) {
    if (b == kStart || b == kEscape) {
      frame.push_back(kEscape);
      frame.push_back(b == kStart ? kEscapedStart : kEscapedEscape);
    } else {
      frame.push_back(b);
    }
  }
  return frame;
}

Bytes multichannel::AnswerFrame(std::uint8_t number, const Bytes& data) {
  Bytes frame{kFrame, 0x00, number};
  frame.reserve(data.size() + 7);
  PutLe16(frame, data.size());
  frame.insert(frame.end(), data.begin(), data.end());
  PutLe16(frame, Crc16Cms(frame.data() + 1, frame.size() - 1));
  return frame;
}

}  // namespace zel
