#include "wizard/device/search/TCPDeviceSearch.h"

#include <QNetworkDatagram>
#include <QUdpSocket>

namespace zel {

TTCPDeviceSearch::TTCPDeviceSearch() : FServer(std::make_unique<QUdpSocket>()) {
  QObject::connect(FServer.get(), &QUdpSocket::readyRead, FServer.get(), [this] { UDPRead(); });
}

TTCPDeviceSearch::~TTCPDeviceSearch() {
  FServer->close();
  FItems.Clear();
}

bool TTCPDeviceSearch::Start(quint16 port, const QHostAddress& address) {
  FServer->close();
  FErrorText.clear();
  // Shared, so that another program listening for the same announcements does not lock this one out.
  if (!FServer->bind(address, port, QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint)) {
    FErrorText = FServer->errorString().toStdString();
    return false;
  }
  return true;
}

void TTCPDeviceSearch::Stop() {
  FServer->close();
  FItems.Clear();
}

bool TTCPDeviceSearch::Active() const { return FServer->state() == QAbstractSocket::BoundState; }

quint16 TTCPDeviceSearch::LocalPort() const { return FServer->localPort(); }

void TTCPDeviceSearch::UDPRead() {
  while (FServer->hasPendingDatagrams()) {
    const QNetworkDatagram datagram = FServer->receiveDatagram(kMaxAnnouncementSize + 1);
    const QByteArray data = datagram.data();
    const auto item = ParseAnnouncement(reinterpret_cast<const std::uint8_t*>(data.constData()),
                                        static_cast<std::size_t>(data.size()));
    if (!item) continue;
    if (const TTCPSearchItem* added = FItems.Add(*item); added && FOnFound) FOnFound(*added);
  }
}

}  // namespace zel
