#include "emulator/app/EmuOptions.h"

#include <charconv>
#include <functional>
#include <stdexcept>

namespace zel::emu {
namespace {

std::int64_t Number(const std::string& option, const std::string& text, std::int64_t min, std::int64_t max) {
  std::int64_t v = 0;
  auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || p != text.data() + text.size() || v < min || v > max)
    throw std::invalid_argument(option + " takes a number from " + std::to_string(min) + " to " + std::to_string(max) +
                                ", not \"" + text + "\"");
  return v;
}

struct TOptionRow {
  const char* name;
  const char* arg;   // nullptr: a switch
  const char* help;
  std::function<void(TEmuOptions&, const std::string& name, const std::string& value)> set;
};

const std::vector<TOptionRow>& Rows() {
  using O = TEmuOptions;
  using S = const std::string&;
  static const std::vector<TOptionRow> rows = {
      {"--com", "N", "serve a pty linked as COM N", [](O& o, S n, S v) { o.comNumber = static_cast<int>(Number(n, v, 1, 255)); }},
      {"--pty", nullptr, "serve a pty without a COM link (its path is printed)", [](O& o, S, S) { o.pty = true; }},
      {"--tcp", "PORT", "serve TCP on PORT (0 = any free port; printed)", [](O& o, S n, S v) { o.tcpPort = static_cast<int>(Number(n, v, 0, 65535)); }},
      {"--listen", "ADDR", "TCP listen address (default 127.0.0.1)", [](O& o, S, S v) { o.listenAddress = v; }},
      {"--protocol", "N", "0 ENQ framing (default), 1 numbered frames, 2 multichannel", [](O& o, S n, S v) { o.protocolType = static_cast<int>(Number(n, v, 0, 2)); }},
      {"--baud", "RATE", "pace the bytes at RATE bit/s (0 = no pacing)", [](O& o, S n, S v) { o.baudRate = static_cast<int>(Number(n, v, 0, 4000000)); }},
      {"--strict-baud", nullptr, "answer on the pty only while the host's line speed is the --baud rate", [](O& o, S, S) { o.strictBaud = true; }},
      {"--announce", "IFACE", "UDP announcements on port 16327: \"lo\" to 127.0.0.1, else broadcast on IFACE", [](O& o, S, S v) { o.announce = true; o.announceInterface = v; }},
      {"--announce-interval", "MS", "time between announcements (default 1000)", [](O& o, S n, S v) { o.announceIntervalMs = static_cast<int>(Number(n, v, 10, 3600000)); }},
      {"--announce-port", "PORT", "UDP port the announcements go to (default 16327)", [](O& o, S n, S v) { o.announcePort = static_cast<int>(Number(n, v, 1, 65535)); }},
      {"--serial", "DIGITS", "serial number of a register that has none yet (default 0012345678, \"none\" for none)", [](O& o, S, S v) { o.serial = v; }},
      {"--model-id", "N", "model id (default 16; a saved state keeps its own)", [](O& o, S n, S v) { o.modelId = static_cast<int>(Number(n, v, 0, 255)); }},
      {"--firmware-date", "YYYY-MM-DD", "date of the register's firmware", [](O& o, S n, S v) {
         const bool shape = v.size() == 10 && v[4] == '-' && v[7] == '-' &&
                            v.find_first_not_of("0123456789-") == std::string::npos;
         if (!shape) throw std::invalid_argument(n + " takes a date as YYYY-MM-DD, not \"" + v + "\"");
         Number(n + " (month)", v.substr(5, 2), 1, 12);
         Number(n + " (day)", v.substr(8, 2), 1, 31);
         o.firmwareDate = v;
       }},
      {"--cash-core", nullptr, "behave as a cash-core model (model parameter 28)", [](O& o, S, S) { o.cashCore = true; }},
      {"--state", "FILE", "load the state from FILE and keep it there", [](O& o, S, S v) { o.stateFile = v; }},
      {"--tape", "FILE", "append the paper tape to FILE as text", [](O& o, S, S v) { o.tapeFile = v; }},
      {"--ofd-pace", "N", "documents the OFD confirms per second (default 1, 0 = none)", [](O& o, S n, S v) { o.ofdPace = static_cast<double>(Number(n, v, 0, 1000)); }},
      {"--ofd-hold", nullptr, "hold the OFD exchange", [](O& o, S, S) { o.ofdHold = true; }},
      {"--ofd-error", "CODE", "the OFD refuses every document with CODE 1..6 (table 20 shows it)", [](O& o, S n, S v) { o.ofdError = static_cast<int>(Number(n, v, 0, 6)); }},
      {"--dhcp-state", "N", "DHCP state table 16 reports (default 10 = address obtained)", [](O& o, S n, S v) { o.dhcpState = static_cast<int>(Number(n, v, 0, 255)); }},
      {"--dhcp-delay", "MS", "time after a restart until the DHCP state is reached (default 0)", [](O& o, S n, S v) { o.dhcpDelayMs = static_cast<int>(Number(n, v, 0, 3600000)); }},
      {"--restart-required", nullptr, "network settings written take effect only at a restart (SIGUSR1 restarts)", [](O& o, S, S) { o.restartRequired = true; }},
      {"--drop-byte", "N", "lose the host's byte N (0 = the first; repeatable)", [](O& o, S n, S v) { o.dropBytes.push_back(static_cast<std::uint64_t>(Number(n, v, 0, INT64_MAX))); }},
      {"--corrupt-byte", "N", "corrupt the register's byte N (0 = the first; repeatable)", [](O& o, S n, S v) { o.corruptBytes.push_back(static_cast<std::uint64_t>(Number(n, v, 0, INT64_MAX))); }},
      {"--nak", "N", "answer the first N command frames with NAK (ENQ framing)", [](O& o, S n, S v) { o.nakCount = static_cast<int>(Number(n, v, 0, 1000000)); }},
      {"--silence", "N", "give no reaction at all to the first N commands", [](O& o, S n, S v) { o.silentCommands = static_cast<int>(Number(n, v, 0, 1000000)); }},
      {"--mute-command", "METHOD", "never answer the device command of METHOD, e.g. ReadSerialNumber (repeatable)", [](O& o, S, S v) { o.mutedCommands.push_back(v); }},
      {"--unplug-after", "N", "unplug (close every line) after N commands", [](O& o, S n, S v) { o.unplugAfter = static_cast<int>(Number(n, v, 1, 1000000)); }},
      {"--busy", "N", "answer the first N commands (status reads excepted) busy", [](O& o, S n, S v) { o.busyCount = static_cast<int>(Number(n, v, 0, 1000000)); }},
      {"--busy-code", "CODE", "80 still printing (default) or 75 print buffer full", [](O& o, S n, S v) {
         o.busyCode = static_cast<int>(Number(n, v, 75, 80));
         if (o.busyCode != 75 && o.busyCode != 80) throw std::invalid_argument(n + " takes 80 or 75");
       }},
      {"--busy-command", "METHOD", "give the --busy answers only to METHOD, e.g. FNBuildRegistrationReport (repeatable)", [](O& o, S, S v) { o.busyCommands.push_back(v); }},
      {"--replace-fn", "SERIAL", "put a fresh fiscal storage with SERIAL (up to 16 digits) in at start; the tables stay", [](O& o, S n, S v) {
         if (v.empty() || v.size() > 16 || v.find_first_not_of("0123456789") != std::string::npos)
           throw std::invalid_argument(n + " takes up to 16 digits, not \"" + v + "\"");
         o.replaceFn = v;
       }},
      {"--help", nullptr, "show this text", [](O& o, S, S) { o.help = true; }},
  };
  return rows;
}

}  // namespace

TEmuOptions ParseEmuOptions(const std::vector<std::string>& args) {
  TEmuOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i], value;
    const bool inlineValue = name.find('=') != std::string::npos;
    if (inlineValue) {
      value = name.substr(name.find('=') + 1);
      name.resize(name.find('='));
    }
    const TOptionRow* row = nullptr;
    for (const auto& r : Rows())
      if (name == r.name) row = &r;
    if (!row) throw std::invalid_argument("unknown option " + name + " (see --help)");
    if (row->arg && !inlineValue) {
      if (i + 1 >= args.size()) throw std::invalid_argument(name + " needs " + row->arg);
      value = args[++i];
    } else if (!row->arg && inlineValue) {
      throw std::invalid_argument(name + " takes no value");
    }
    row->set(o, name, value);
  }
  if (!o.help && o.comNumber == 0 && !o.pty && !o.tcpPort)
    throw std::invalid_argument("nothing to serve: give --com N, --pty or --tcp PORT");
  if (o.strictBaud && o.baudRate <= 0) throw std::invalid_argument("--strict-baud needs --baud RATE");
  if (o.announce && !o.tcpPort) throw std::invalid_argument("--announce names the TCP port: give --tcp PORT too");
  return o;
}

std::string EmuUsage() {
  std::string text =
      "Usage: zelvox-emu [options]\n"
      "A virtual fiscal register on a pty (as a COM number) and/or a TCP port.\n"
      "Stops cleanly on SIGTERM or SIGINT; SIGUSR1 restarts the register.\n\n";
  for (const auto& r : Rows()) {
    std::string left = std::string("  ") + r.name + (r.arg ? std::string(" ") + r.arg : "");
    if (left.size() < 28) left.resize(28, ' ');
    text += left + " " + r.help + "\n";
  }
  return text;
}

}  // namespace zel::emu
