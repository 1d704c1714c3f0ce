#include "server/core/Settings.h"

#include <QSettings>
#include <QString>

#include <charconv>
#include <climits>
#include <cstdlib>
#include <mutex>

namespace zel {

namespace {

std::mutex gMutex;
TServerSettings gSettings;

const char* const kClassicGroup = "Zelvox/A4/Params";
const char* const kNetworkGroup = "Zelserv/Network";

QString SettingsFile() {
  QString dir = QStringLiteral(".");
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    dir = QString::fromLocal8Bit(xdg);
  else if (const char* home = std::getenv("HOME"); home && *home)
    dir = QString::fromLocal8Bit(home) + QStringLiteral("/.config");
  return dir + QStringLiteral("/Veltrona/Zelserv.ini");
}

// Whole-string decimal integer (optional sign); false for anything else.
bool ParseInt(std::string_view text, long long& value) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

TServerSettings ServerSettings() {
  std::lock_guard lock(gMutex);
  return gSettings;
}

void SetServerSettings(const TServerSettings& value) {
  std::lock_guard lock(gMutex);
  gSettings = value;
}

TServerSettings LoadSettings() {
  TServerSettings s;
  QSettings file(SettingsFile(), QSettings::IniFormat);
  file.beginGroup(kClassicGroup);
  struct Field {
    const char* name;
    int* number;
    bool* flag;
  };
  const Field fields[] = {{"TCPPort", &s.TCPPort, nullptr},
                          {"TCPEnabled", nullptr, &s.TCPEnabled},
                          {"AutoPortClose", nullptr, &s.AutoPortClose},
                          {"AutoRecCancel", nullptr, &s.AutoRecCancel},
                          {"CloseTimeout", &s.CloseTimeout, nullptr}};
  for (const Field& f : fields) {
    if (!file.contains(f.name)) continue;
    bool ok = false;
    const int value = file.value(f.name).toInt(&ok);
    if (!ok) break;  // a value that does not read ends the loading
    if (f.number)
      *f.number = value;
    else
      *f.flag = value != 0;
  }
  file.endGroup();

  file.beginGroup(kNetworkGroup);
  s.BindAddress = file.value("BindAddress", QString()).toString().trimmed().toStdString();
  s.AllowedNetworks = file.value("AllowedNetworks", QString()).toString().trimmed().toStdString();
  for (auto [name, target] : {std::pair{"MaxConnections", &s.MaxConnections},
                              std::pair{"MaxLineLength", &s.MaxLineLength}}) {
    bool ok = false;
    const int value = file.value(name).toInt(&ok);
    if (ok && value > 0) *target = value;
  }
  file.endGroup();
  return s;
}

void SaveSettings(const TServerSettings& s) {
  QSettings file(SettingsFile(), QSettings::IniFormat);
  file.beginGroup(kClassicGroup);
  file.setValue("TCPPort", s.TCPPort);
  file.setValue("TCPEnabled", s.TCPEnabled ? 1 : 0);
  file.setValue("AutoPortClose", s.AutoPortClose ? 1 : 0);
  file.setValue("AutoRecCancel", s.AutoRecCancel ? 1 : 0);
  file.setValue("CloseTimeout", s.CloseTimeout);
  file.endGroup();
  file.beginGroup(kNetworkGroup);
  file.setValue("BindAddress", QString::fromStdString(s.BindAddress));
  file.setValue("AllowedNetworks", QString::fromStdString(s.AllowedNetworks));
  file.setValue("MaxConnections", s.MaxConnections);
  file.setValue("MaxLineLength", s.MaxLineLength);
  file.endGroup();
  file.sync();
}

TServerSettings SettingsFromCommandLine(const std::vector<std::string>& args) {
  TServerSettings s;
  for (const std::string& arg : args) {
    if (arg.size() < 2) continue;
    const std::string_view rest = std::string_view(arg).substr(2);
    long long n = 0;
    switch (arg[1]) {
      case 'a':
        s.AutoPortClose = true;
        break;
      case 'r':
        s.AutoRecCancel = true;
        break;
      case 'p':
        // Seconds; a value that would not fit in ms is taken as "not a number".
        if (!ParseInt(rest, n) || n < 0 || n > INT_MAX / 1000) n = 10;
        s.CloseTimeout = static_cast<int>(n * 1000);
        break;
      case 't':
        if (!ParseInt(rest, n) || n < INT_MIN || n > INT_MAX) n = 211;
        s.TCPPort = static_cast<int>(n);
        s.TCPEnabled = s.TCPPort != 0;
        break;
      default:
        break;
    }
  }
  return s;
}

}  // namespace zel
