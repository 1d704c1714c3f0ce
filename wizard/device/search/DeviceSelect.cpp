#include "wizard/device/search/DeviceSelect.h"

#include <cctype>
#include <cstdio>

#include "common/Translate.h"
#include "driver/DateTimeConv.h"
#include "driver/Zelvox.h"
#include "wizard/device/core/FirmwareGate.h"
#include "wizard/device/search/DriverCheck.h"
#include "wizard/device/search/TextFormat.h"
#include "wizard/device/search/ZelvoxBaudrate.h"

namespace zel {

namespace {

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

class TDisconnectAtEnd {
 public:
  explicit TDisconnectAtEnd(TZelvox& driver) : FDriver(driver) {}
  ~TDisconnectAtEnd() { FDriver.Disconnect(); }
  TDisconnectAtEnd(const TDisconnectAtEnd&) = delete;
  TDisconnectAtEnd& operator=(const TDisconnectAtEnd&) = delete;

 private:
  TZelvox& FDriver;
};

std::string DateText(const TDate& d) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", d.Day % 100, d.Month % 100, d.Year % 10000);
  return text;
}

// A host name: letters, digits, dots and hyphens, at most 253 of them.
bool IsHostName(const std::string& s) {
  if (s.empty() || s.size() > 253 || s.front() == '.' || s.front() == '-') return false;
  for (char c : s)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-')) return false;
  return true;
}

// Four decimal parts of 0..255, no short forms.
bool IsDottedQuad(const std::string& s) {
  int parts = 0;
  std::size_t at = 0;
  for (;;) {
    const std::size_t dot = s.find('.', at);
    const std::string part = s.substr(at, dot == std::string::npos ? std::string::npos : dot - at);
    if (part.empty() || part.size() > 3 || std::stoi(part) > 255) return false;
    ++parts;
    if (dot == std::string::npos) break;
    at = dot + 1;
  }
  return parts == 4;
}

}  // namespace

TSelectedDevice UseSearchedDevice(TZelvox& driver, const ISearchDevice& device) {
  const TSearchParamsRec params = device.GetParams();
  TDisconnectAtEnd disconnect(driver);
  driver.Disconnect();
  driver.put_ConnectionType(0);
  driver.put_ProtocolType(0);
  driver.put_ComNumber(params.PortNumber);
  driver.put_BaudRate(TZelvoxBaudrate::BaudrateToCode(params.Baudrate));
  driver.put_Timeout(1000);
  DriverCheck(driver, driver.GetECRStatus());
  const TDate date = DateOf(driver.get_ECRSoftDate());
  if (IsFirmwareOutdated({date.Year, date.Month, date.Day})) throw std::runtime_error(FirmwareOutdatedText(DateText(date)));
  return {device.GetName(), device.GetSerial()};
}

std::string CheckTCPAddress(const std::string& address, int port) {
  const std::string host = Trim(address);
  // Dotted digits must make a full address; anything else must look like a host name.
  const bool dotted = !host.empty() && host.find_first_not_of("0123456789.") == std::string::npos;
  if (dotted ? !IsDottedQuad(host) : !IsHostName(host)) return Tr("Неверный адрес ККТ");
  if (port < 1 || port > 65535) return Tr("Порт должен быть числом от 1 до 65535");
  return {};
}

TTCPCheckResult CheckTCPConnection(TZelvox& driver, const std::string& address, int port) {
  TTCPCheckResult result;
  result.Text = CheckTCPAddress(address, port);
  if (!result.Text.empty()) return result;
  TDisconnectAtEnd disconnect(driver);
  driver.Disconnect();
  driver.put_ConnectionType(6);
  driver.put_ProtocolType(0);
  driver.put_ComputerName(Trim(address));
  driver.put_UseIPAddress(false);
  driver.put_TCPPort(port);
  driver.put_TCPConnectionTimeout(2000);
  // The description comes with the device metrics, the status alone does not carry it.
  if (driver.GetECRStatus() != 0 || driver.GetDeviceMetrics() < 0) {
    result.Text = Tr("Нет связи с устройством");
    return result;
  }
  try {
    DriverCheck(driver, driver.ReadSerialNumber());
  } catch (const EDriverCheck& e) {
    result.Text = e.what();
    return result;
  }
  result.Device = {Trim(driver.get_UDescription()), Trim(driver.get_SerialNumber())};
  result.Text = FormatText(Tr("Найдено устройство %s, Зав. номер: %s\r\nДля продолжения нажмите \"Далее\""),
                           {result.Device.Name, result.Device.Serial});
  result.Ok = true;
  return result;
}

}  // namespace zel
