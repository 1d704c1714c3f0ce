// Device server figures: exchanges per second and latency through the server
// against the same exchanges made directly with the engine on the same pty,
// and throughput with 1, 2 and 4 ports served in parallel. Prints only.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "common/ComPort.h"
#include "common/ComResolver.h"
#include "emulator/link/PtyLine.h"
#include "emulator/link/SessionFactory.h"
#include "server/core/PrinterPort.h"
#include "server/core/TcpServer.h"
#include "server/protocol/PrinterProtocolFactory.h"

using namespace zel;
using Clock = std::chrono::steady_clock;

namespace {

// Status-like command: code, 4 password bytes; the answer carries 50 bytes.
const Bytes kCommand{0x11, 0x1e, 0x00, 0x00, 0x00};
const char* const kCommandHex = "111e000000";

Bytes Answer(const Bytes& command) {
  Bytes a(52, 0);
  a[0] = command.empty() ? 0 : command[0];
  return a;
}

struct TDevice {
  std::unique_ptr<TDeviceSession> Session;
  TDevice(int com, int protocolType, int baud) {
    const TPtyLine line = OpenPtyLine();
    CreateComLink(com, line.SlavePath);
    TSessionOptions options;
    options.BaudRate = baud;
    Session = CreateDeviceSession(protocolType, line.Master, Answer, options);
    Session->Start();
  }
  ~TDevice() { Session->Stop(); }
};

class TClient {
 public:
  explicit TClient(int port) {
    FFd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int one = 1;
    setsockopt(FFd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    timeval tv{30, 0};
    setsockopt(FFd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    if (connect(FFd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) throw std::runtime_error("connect");
  }
  ~TClient() { close(FFd); }
  std::string Call(const std::string& method, const std::string& params) {
    const std::string line = "{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"" + method + "\",\"params\":" + params + "}\n";
    if (send(FFd, line.data(), line.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(line.size()))
      throw std::runtime_error("send");
    for (;;) {
      if (auto nl = FBuffer.find('\n'); nl != std::string::npos) {
        std::string reply = FBuffer.substr(0, nl);
        FBuffer.erase(0, nl + 1);
        return reply;
      }
      char chunk[4096];
      const ssize_t n = recv(FFd, chunk, sizeof chunk, 0);
      if (n <= 0) throw std::runtime_error("receive");
      FBuffer.append(chunk, static_cast<std::size_t>(n));
    }
  }
  void SendOk() {
    const std::string reply = Call("SendData", std::string("[5000,\"") + kCommandHex + "\"]");
    if (reply.find("\"ResultCode\":0") == std::string::npos) throw std::runtime_error("exchange failed: " + reply);
  }

 private:
  int FFd = -1;
  std::string FBuffer;
};

struct TStats {
  double PerSecond = 0, P50 = 0, P95 = 0, P99 = 0, Mean = 0;
};

TStats Summarise(std::vector<double> us, double seconds) {
  std::sort(us.begin(), us.end());
  TStats s;
  s.PerSecond = us.size() / seconds;
  auto at = [&](double q) { return us[std::min(us.size() - 1, static_cast<std::size_t>(q * us.size()))]; };
  s.P50 = at(0.50);
  s.P95 = at(0.95);
  s.P99 = at(0.99);
  for (double v : us) s.Mean += v;
  s.Mean /= us.size();
  return s;
}

void PrintRow(const char* name, const TStats& s) {
  std::printf("| %-22s | %9.0f | %8.1f | %8.1f | %8.1f | %8.1f |\n", name, s.PerSecond, s.Mean, s.P50, s.P95, s.P99);
}

template <typename F>
TStats Measure(int count, F exchange) {
  for (int i = 0; i < 20; ++i) exchange();  // warm-up
  // A short pause between exchanges, outside the timing, lets the device end
  // its side of the last exchange, so both paths meet it in the same state.
  std::vector<double> us;
  us.reserve(count);
  double busy = 0;
  for (int i = 0; i < count; ++i) {
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    const auto t0 = Clock::now();
    exchange();
    us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
    busy += us.back() / 1e6;
  }
  return Summarise(std::move(us), busy);
}

// Added cost: the same device, pty and engine, first directly, then through the server.
void Overhead(int port, int protocolType, int baud, int count) {
  TDevice device(40, protocolType, baud);
  TStats direct;
  {
    auto params = std::make_shared<TConnectionParams>();
    params->ComNumber = 40;
    params->BaudRate = 6;
    params->Timeout = 100;
    params->ProtocolType = protocolType;
    auto serial = std::make_shared<TComPort>(params);
    serial->Open();
    auto engine = GetProtocolFactory(protocolType).Instance(serial, params);
    TCommandRec rec;
    direct = Measure(count, [&] {
      rec.Command = kCommand;
      rec.Timeout = 5000;
      engine->Send(rec);
    });
    serial->Close();
  }
  TClient client(port);
  client.Call("ProtocolType", "[" + std::to_string(protocolType) + "]");
  client.Call("OpenPort", "[40,6,100]");
  const TStats served = Measure(count, [&] { client.SendOk(); });
  client.Call("ClosePort", "[]");
  std::printf("\nProtocol type %d, device %s, %d exchanges of a 5-byte command with a 52-byte answer\n\n",
              protocolType, baud ? (std::to_string(baud) + " bit/s").c_str() : "unpaced", count);
  std::printf("| %-22s | %9s | %8s | %8s | %8s | %8s |\n", "path", "ex/s busy", "mean us", "p50 us", "p95 us", "p99 us");
  std::printf("|------------------------|-----------|----------|----------|----------|----------|\n");
  PrintRow("engine on the pty", direct);
  PrintRow("through the server", served);
  std::printf("| %-22s | %9s | %8.1f | %8.1f | %8.1f | %8.1f |\n", "added by the server", "",
              served.Mean - direct.Mean, served.P50 - direct.P50, served.P95 - direct.P95, served.P99 - direct.P99);
}

// Throughput: one client per port, each sending `count` commands, all ports at once.
double Throughput(int port, int ports, int baud, int count) {
  std::vector<std::unique_ptr<TDevice>> devices;
  for (int p = 0; p < ports; ++p) devices.push_back(std::make_unique<TDevice>(41 + p, 0, baud));
  std::vector<std::unique_ptr<TClient>> clients;
  for (int p = 0; p < ports; ++p) {
    clients.push_back(std::make_unique<TClient>(port));
    clients.back()->Call("OpenPort", "[" + std::to_string(41 + p) + ",6,100]");
    clients.back()->SendOk();
  }
  std::atomic<int> failures{0};
  const auto start = Clock::now();
  std::vector<std::thread> threads;
  for (int p = 0; p < ports; ++p)
    threads.emplace_back([&, p] {
      try {
        for (int i = 0; i < count; ++i) clients[p]->SendOk();
      } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        ++failures;
      }
    });
  for (auto& t : threads) t.join();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (failures) throw std::runtime_error("exchanges failed");
  return ports * count / seconds;
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 2000;
  std::string dir = (std::filesystem::temp_directory_path() / "zelserv-bench-XXXXXX").string();
  if (!mkdtemp(dir.data())) return 1;
  setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  try {
    TPrinterPortsLink ports;
    TTCPServer server;
    server.SetBindAddress("127.0.0.1");
    server.SetPort(0);
    server.SetEnabled(true);
    server.Update();
    const int port = server.BoundPort();
    std::printf("## Device server (%u hardware threads)\n", std::thread::hardware_concurrency());
    for (int type : {0, 1, 2}) Overhead(port, type, 0, count);
    Overhead(port, 0, 115200, count / 4);
    for (int baud : {0, 115200}) {
      std::printf("\nThroughput, one client per port, ENQ frames, device %s\n\n",
                  baud ? (std::to_string(baud) + " bit/s").c_str() : "unpaced");
      std::printf("| ports | exchanges/s | per port |\n|-------|-------------|----------|\n");
      const int perPort = baud ? count / 4 : count;
      for (int n : {1, 2, 4}) {
        const double rate = Throughput(port, n, baud, perPort);
        std::printf("| %5d | %11.0f | %8.0f |\n", n, rate, rate / n);
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench failed: %s\n", e.what());
    std::filesystem::remove_all(dir);
    return 1;
  }
  std::filesystem::remove_all(dir);
  return 0;
}
