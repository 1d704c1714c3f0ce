#include "wizard/flow/device/OFDLink.h"

namespace zel {
namespace {
constexpr int kFiscal = 18, kOfd = 19;
}

TOFDFields ReadOFDFields(TDeviceTables& dev, const TRegParams& r, bool ofdEnabled, int ffd) {
  TDisconnectGuard guard(dev.Driver());
  TOFDFields f = OFDFieldsOf(r);
  auto fill = [](std::string& field, const std::string& fromRecord, auto read) {
    field = fromRecord.empty() ? read() : fromRecord;
  };
  if (ofdEnabled) {
    fill(f.OFDServer, r.OFDServer, [&] { return dev.ReadStr(kOfd, 1, 1); });
    if (r.OFDPort == 0) f.OFDPort = std::to_string(dev.ReadInt(kOfd, 1, 2));
  }
  fill(f.OFDName, r.OFDName, [&] { return dev.ReadStr(kFiscal, 1, 10); });
  fill(f.OFDUrl, r.OFDUrl, [&] { return dev.ReadStr(kFiscal, 1, 11); });
  fill(f.INNOFD, r.OFDINN, [&] { return dev.ReadStr(kFiscal, 1, 12); });
  if (f.TaxOfficeURL.empty()) f.TaxOfficeURL = kDefaultTaxOfficeURL;
  if (ffd == kFFD12) {
    if (r.ServerKM.empty()) f.ServerKM = dev.ReadStr(kOfd, 1, 5);
    if (r.PortKM == 0) f.PortKM = std::to_string(dev.ReadInt(kOfd, 1, 6));
  }
  fill(f.SenderEmail, r.SenderEmail, [&] { return dev.ReadStrOrEmpty(kFiscal, 1, 15); });
  return f;
}

void WriteOFDLink(TDeviceTables& dev, const TRegParams& r, bool ofdEnabled, int ffd) {
  TDisconnectGuard guard(dev.Driver());
  if (ofdEnabled) {
    dev.WriteStr(kOfd, 1, 1, r.OFDServer);
    dev.WriteInt(kOfd, 1, 2, r.OFDPort);
  }
  if (ffd == kFFD12) {
    dev.WriteStr(kOfd, 1, 5, r.ServerKM);
    dev.WriteInt(kOfd, 1, 6, r.PortKM);
  }
}

}  // namespace zel
