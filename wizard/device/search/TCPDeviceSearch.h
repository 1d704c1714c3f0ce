#pragma once
// Listens for the UDP datagrams network registers announce themselves with
// and keeps one entry per serial number. Lives on the GUI thread: datagrams
// are handled by its event loop.
#include <QHostAddress>
#include <functional>
#include <memory>
#include <string>

#include "wizard/device/core/TCPSearchItems.h"

class QUdpSocket;

namespace zel {

inline constexpr quint16 kAnnouncePort = 16327;

class TTCPDeviceSearch {
 public:
  using TOnFoundProc = std::function<void(const TTCPSearchItem& item)>;

  TTCPDeviceSearch();
  ~TTCPDeviceSearch();
  TTCPDeviceSearch(const TTCPDeviceSearch&) = delete;
  TTCPDeviceSearch& operator=(const TTCPDeviceSearch&) = delete;

  // Starts listening (port 0: any free one); false with ErrorText() when the port cannot be had.
  bool Start(quint16 port = kAnnouncePort, const QHostAddress& address = QHostAddress::AnyIPv4);
  // Stops listening and forgets the registers heard.
  void Stop();
  bool Active() const;
  quint16 LocalPort() const;
  std::string ErrorText() const { return FErrorText; }

  const TTCPSearchItems& Items() const { return FItems; }
  // Called once for every register heard for the first time.
  void SetOnFound(TOnFoundProc proc) { FOnFound = std::move(proc); }

 private:
  void UDPRead();

  std::unique_ptr<QUdpSocket> FServer;
  TTCPSearchItems FItems;
  TOnFoundProc FOnFound;
  std::string FErrorText;
};

}  // namespace zel
