#include "wizard/flow/device/ReportPrinting.h"

#include <algorithm>
#include <thread>

#include "wizard/flow/core/RegReport.h"

namespace zel {
namespace {
constexpr int kBusyPrinting = 80, kBufferFull = 75;
constexpr int kCutterParam = 35;
constexpr int kFeedLines = 8;
}  // namespace

int ReportWidth(TDeviceTables& dev) {
  TZelvox& d = dev.Driver();
  d.put_FontType(1);
  dev.Check(d.GetFontMetrics());
  return CharsPerLine(static_cast<int>(d.get_PrintWidth()), static_cast<int>(d.get_CharWidth()));
}

void PrintReport(TDeviceTables& dev, const std::vector<std::string>& lines, const TPrintOptions& options) {
  TDisconnectGuard guard(dev.Driver());
  TZelvox& d = dev.Driver();
  auto pause = [&] {
    if (options.Sleep)
      options.Sleep(options.BusyPause);
    else
      std::this_thread::sleep_for(options.BusyPause);
  };
  for (const std::string& line : lines) {
    int rc = 0;
    for (int attempt = 0; attempt < std::max(1, options.Attempts); ++attempt) {
      d.put_StringForPrinting(line);
      rc = d.PrintString();
      if (rc != kBusyPrinting && rc != kBufferFull) break;
      pause();
    }
    dev.Check(rc);
  }
  d.put_StringQuantity(kFeedLines);
  dev.Check(d.FeedDocument());
  dev.Check(d.WaitForPrinting());
  d.put_CutType(true);
  d.put_ModelParamNumber(kCutterParam);
  dev.Check(d.ReadModelParamValue());
  if (d.get_ModelParamValue().Int != 0) dev.Check(d.CutCheck());  // the register has a cutter
}

}  // namespace zel
