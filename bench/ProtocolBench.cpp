// Exchanges per second and exchange times of each host engine against the
// device side over a pty, with the device pacing its line at a chosen rate,
// printed beside the pure wire time of the same bytes at that rate.
//
//   zel-protocol-bench [--count N] [--rates 0,115200,9600] [--log FILE]
//
// Rate 0 runs the line at pty speed (no pacing). Below 38400 bit/s a quarter
// of N exchanges is timed so that a run stays short.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "common/ComPort.h"
#include "common/ComResolver.h"
#include "common/LogFile.h"
#include "emulator/link/PtyLine.h"
#include "emulator/link/SessionFactory.h"
#include "server/protocol/PrinterProtocolFactory.h"

namespace {

using namespace zel;
using Clock = std::chrono::steady_clock;

constexpr int kCom = 201;
const Bytes kCommand{0x11, 0x1E, 0x00, 0x00, 0x00};  // status request with a password

Bytes StatusAnswer() {
  Bytes answer{0x11, 0x00};
  for (int i = 0; i < 48; ++i) answer.push_back(static_cast<std::uint8_t>(i * 7));
  return answer;
}

struct TRun {
  const char* Protocol;
  int Rate;
  int Count;
  double PerSecond, MeanMs, P99Ms, WireMs;
  double BytesIn, BytesOut;  // per exchange, as counted at the device: retries show here
  int Failures;
};

TRun Measure(int protocolType, const char* name, int rate, int count) {
  TPtyLine line = OpenPtyLine();
  CreateComLink(kCom, line.SlavePath);
  TSessionOptions options;
  options.BaudRate = rate;
  const Bytes answer = StatusAnswer();
  auto session = CreateDeviceSession(protocolType, line.Master, [&](const Bytes&) { return answer; }, options);
  session->Start();

  auto params = std::make_shared<TConnectionParams>();
  params->Timeout = 1000;
  params->ProtocolType = protocolType;
  params->ComNumber = kCom;
  params->BaudRate = 6;
  auto port = std::make_shared<TComPort>(params);
  port->Open();
  auto engine = GetProtocolFactory(protocolType).Instance(port, params);

  TRun run{name, rate, count, 0, 0, 0, 0, 0, 0, 0};
  auto exchange = [&] {
    TCommandRec rec;
    rec.Command = kCommand;
    rec.Timeout = 2000;
    try {
      engine->Send(rec);
      return rec.Answer == answer;
    } catch (const std::exception&) {
      return false;
    }
  };
  for (int i = 0; i < 3; ++i) exchange();  // first sync, warm caches

  const auto in0 = session->BytesIn(), out0 = session->BytesOut();
  std::vector<double> ms;
  ms.reserve(count);
  const auto start = Clock::now();
  for (int i = 0; i < count; ++i) {
    const auto t = Clock::now();
    if (!exchange()) ++run.Failures;
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t).count());
  }
  const double total = std::chrono::duration<double>(Clock::now() - start).count();
  engine.reset();
  port->Close();
  session->Stop();
  RemoveComLink(kCom);

  std::sort(ms.begin(), ms.end());
  run.PerSecond = count / total;
  run.MeanMs = std::accumulate(ms.begin(), ms.end(), 0.0) / count;
  run.P99Ms = ms[std::min<std::size_t>(ms.size() - 1, (ms.size() * 99 + 99) / 100 - 1)];
  run.BytesIn = static_cast<double>(session->BytesIn() - in0) / count;
  run.BytesOut = static_cast<double>(session->BytesOut() - out0) / count;
  run.WireMs = rate > 0 ? (run.BytesIn + run.BytesOut) * 10.0 * 1000.0 / rate : 0.0;
  return run;
}

// Figures from a shared machine mean little without its load.
std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five, fifteen;
  in >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

std::vector<int> ParseRates(const std::string& text) {
  std::vector<int> rates;
  std::stringstream in(text);
  for (std::string item; std::getline(in, item, ',');) rates.push_back(std::stoi(item));
  return rates;
}

}  // namespace

int main(int argc, char** argv) {
  int count = 200;
  std::vector<int> rates{0, 115200, 9600};
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--count" && i + 1 < argc) {
      count = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--rates" && i + 1 < argc) {
      rates = ParseRates(argv[++i]);
    } else if (arg == "--log" && i + 1 < argc) {  // traffic of both ends, for a look at retries
      LogFile().SetFileName(argv[++i]);
      LogFile().SetEnabled(true);
    } else {
      std::fprintf(stderr, "usage: %s [--count N] [--rates 0,115200,9600] [--log FILE]\n", argv[0]);
      return 2;
    }
  }

  // COM links go to a private config folder, never the user's own.
  char dir[] = "/tmp/zel-bench-XXXXXX";
  if (!mkdtemp(dir)) {
    std::perror("mkdtemp");
    return 1;
  }
  setenv("XDG_CONFIG_HOME", dir, 1);

  struct {
    int Type;
    const char* Name;
  } protocols[] = {{0, "ENQ"}, {1, "numbered"}, {2, "multichannel"}};

  std::printf("command %zu bytes, answer %zu bytes; load average at start: %s\n\n", kCommand.size(),
              StatusAnswer().size(), LoadAverage().c_str());
  std::printf("%-13s %7s %5s %9s %9s %9s %6s %6s %9s %9s %6s\n", "protocol", "bit/s", "n", "exch/s", "mean ms",
              "p99 ms", "in B", "out B", "wire ms", "overhead", "failed");
  int status = 0;
  for (int rate : rates) {
    for (const auto& p : protocols) {
      try {
        const int n = rate > 0 && rate < 38400 ? std::max(1, count / 4) : count;
        const TRun r = Measure(p.Type, p.Name, rate, n);
        char wire[16] = "-", overhead[16] = "-";
        if (r.WireMs > 0) {
          std::snprintf(wire, sizeof wire, "%.3f", r.WireMs);
          std::snprintf(overhead, sizeof overhead, "%+.1f%%", (r.MeanMs / r.WireMs - 1.0) * 100.0);
        }
        std::printf("%-13s %7s %5d %9.1f %9.3f %9.3f %6.1f %6.1f %9s %9s %6d\n", r.Protocol,
                    rate > 0 ? std::to_string(rate).c_str() : "pty", r.Count, r.PerSecond, r.MeanMs, r.P99Ms,
                    r.BytesIn, r.BytesOut, wire, overhead, r.Failures);
        std::fflush(stdout);
      } catch (const std::exception& e) {
        std::fprintf(stderr, "%s at %d: %s\n", p.Name, rate, e.what());
        status = 1;
      }
    }
  }
  std::filesystem::remove_all(dir);
  return status;
}
