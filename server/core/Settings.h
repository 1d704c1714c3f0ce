#pragma once
// Process-wide server settings, stored per user in an INI file
// ($XDG_CONFIG_HOME/Veltrona/Zelserv.ini, group "Zelvox/A4/Params").
#include <string>
#include <vector>

namespace zel {

struct TServerSettings {
  // The five classic settings (group "Zelvox/A4/Params").
  int TCPPort = 211;
  bool TCPEnabled = false;
  bool AutoPortClose = false;
  bool AutoRecCancel = false;
  int CloseTimeout = 10000;  // ms
  // Network hardening (group "Zelserv/Network"); always read from the file.
  std::string BindAddress;       // empty: every local address
  std::string AllowedNetworks;   // comma-separated CIDR list; empty: everyone
  int MaxConnections = 64;
  int MaxLineLength = 65536;     // bytes of one request line

  bool operator==(const TServerSettings&) const = default;
};

// The current process-wide settings (thread-safe copy in and out).
TServerSettings ServerSettings();
void SetServerSettings(const TServerSettings& value);

// Defaults, then every stored value that reads cleanly; the first value that
// does not read (not a number) ends the loading of the classic five.
TServerSettings LoadSettings();
// Writes the five classic values and the network group; errors are ignored.
void SaveSettings(const TServerSettings& value);
// Defaults changed by the switches /a, /r, /p<sec>, /t<port> (second
// character decides, case-sensitive; anything else is ignored).
TServerSettings SettingsFromCommandLine(const std::vector<std::string>& args);

}  // namespace zel
