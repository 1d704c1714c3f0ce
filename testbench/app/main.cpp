// zelvoxtst: the driver test bench. Options set the driver's link before the
// window shows, e.g. through a device server:
//   zelvoxtst --connection-type 1 --computer 127.0.0.1:211 --com 5
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "testbench/core/Driver.h"
#include "testbench/core/MainWindow.h"

namespace {
struct TLinkOption {
  const char* Name;
  const char* Property;
  const char* Help;
};
constexpr TLinkOption kLinkOptions[] = {
    {"connection-type", "ConnectionType", "0 serial port, 1 device server, 6 TCP socket."},
    {"computer", "ComputerName", "Device server host, optionally with :port."},
    {"com", "ComNumber", "Serial port number."},
    {"baud", "BaudRate", "Speed index (0 = 2400 ... 6 = 115200)."},
    {"ip", "IPAddress", "Register address for a TCP socket."},
    {"tcp-port", "TCPPort", "Register TCP port for a TCP socket."},
};
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Veltrona");
  QApplication::setApplicationName("ZelvoxTst");
  QApplication::setApplicationVersion(ZEL_VERSION);

  QCommandLineParser parser;
  parser.addHelpOption();
  parser.addVersionOption();
  for (const TLinkOption& o : kLinkOptions) parser.addOption({o.Name, o.Help, "value"});
  parser.process(app);

  zel::TfmMain window;
  for (const TLinkOption& o : kLinkOptions) {
    if (!parser.isSet(o.Name)) continue;
    if (!zel::Driver().SetPropertyText(o.Property, parser.value(o.Name).toStdString())) {
      std::fprintf(stderr, "zelvoxtst: bad value for --%s\n", o.Name);
      return 2;
    }
  }
  window.UpdateCaption();
  window.show();
  return QApplication::exec();
}
