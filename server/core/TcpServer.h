#pragma once
// TTCPServer: the TCP listener for IZelserv clients. One thread per
// connection; each connection has its own TZelserv, released (unlock, close)
// when the connection ends. Requests are newline-delimited JSON-RPC 2.0.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "server/core/NetFilter.h"

namespace zel {

struct TServerSettings;

class TTCPServer {
 public:
  // Asked before connected clients are dropped; false keeps everything as it was.
  using TConfirm = std::function<bool(int connections)>;

  TTCPServer();
  ~TTCPServer();  // stops the listener, waiting for every connection to end
  TTCPServer(const TTCPServer&) = delete;
  TTCPServer& operator=(const TTCPServer&) = delete;

  int Port() const { return FPort; }
  void SetPort(int value) { FPort = value; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value) { FEnabled = value; }
  const std::string& BindAddress() const { return FBindAddress; }
  void SetBindAddress(const std::string& value) { FBindAddress = value; }
  // Allow-list, connection cap and request-line cap; they apply at once to new
  // connections and lines, without a restart. Raises on a bad allow-list.
  void SetLimits(const std::string& allowedNetworks, int maxConnections, int maxLineLength);
  // Port, state and bind address from the settings, then the limits.
  void Configure(const TServerSettings& settings);

  // Applies Port, Enabled and BindAddress. A running listener is restarted only
  // when one of them changed; dropping connected clients asks confirm first.
  // False: confirm declined and nothing changed. Raises when the listener
  // cannot start or stop.
  bool Update(const TConfirm& confirm = {});
  // Closes every connection and the listener. Raises "Истек таймаут. Не удается
  // закрыть COM вызов" when connections are still busy after StopTimeout; the
  // listener then stays.
  void Stop();

  bool Active();
  int BoundPort();  // the port actually bound (useful with port 0)
  int ConnectionCount();

  // Timings (defaults: 100 min idle limit, 60 s between idle checks, 1 s stop wait).
  void SetIdleLimit(std::chrono::milliseconds value) { FIdleLimit = value; }
  void SetIdleCheck(std::chrono::milliseconds value) { FIdleCheck = value; }
  void SetStopTimeout(std::chrono::milliseconds value) { FStopTimeout = value; }

 private:
  struct TConnection {
    int Fd = -1;
    std::thread Thread;
    std::atomic<bool> Done{false};
  };
  struct TListener {
    int Fd = -1;
    int WakeFd = -1;
    int Port = 0;
    int BoundPort = 0;
    std::string BindAddress;
    std::thread Thread;
  };

  void Start();
  void AcceptLoop(TListener& listener);
  void Serve(const std::shared_ptr<TConnection>& connection);
  void Reap(bool all);
  void CloseListener();

  int FPort = 211;
  bool FEnabled = false;
  std::string FBindAddress;

  std::mutex FCS;  // listener, connections and limits
  std::condition_variable FConnectionEnded;
  std::unique_ptr<TListener> FListener;
  std::list<std::shared_ptr<TConnection>> FConnections;
  int FLive = 0;
  TNetFilter FFilter;
  int FMaxConnections = 64;
  std::size_t FMaxLine = 65536;
  std::chrono::milliseconds FIdleLimit{100 * 60 * 1000};
  std::chrono::milliseconds FIdleCheck{60 * 1000};
  std::chrono::milliseconds FStopTimeout{1000};
};

}  // namespace zel
