#pragma once
// Command line of zelvox-emu.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zel::emu {

struct TEmuOptions {
  // where the register is served
  int comNumber = 0;           // > 0: a pty linked as this COM number
  bool pty = false;            // a pty even without a COM number
  std::optional<int> tcpPort;  // TCP port (0 = any free one)
  std::string listenAddress = "127.0.0.1";
  int protocolType = 0;        // 0 ENQ framing, 1 numbered frames, 2 multichannel
  int baudRate = 0;            // > 0: bytes paced at this line speed
  bool strictBaud = false;     // the pty answers only a host set to baudRate
  bool announce = false;
  std::string announceInterface;  // "" or "lo": to 127.0.0.1; else broadcast on it
  int announceIntervalMs = 1000;
  int announcePort = 16327;
  // the register
  std::string serial;
  std::optional<int> modelId;
  bool cashCore = false;
  std::string firmwareDate;  // ISO date; empty: the model's own
  std::string stateFile;
  std::string tapeFile;
  double ofdPace = 1.0;
  bool ofdHold = false;
  int ofdError = 0;
  int dhcpState = 10;
  int dhcpDelayMs = 0;
  bool restartRequired = false;
  // faults
  std::vector<std::uint64_t> dropBytes;     // host bytes lost (0 = the first)
  std::vector<std::uint64_t> corruptBytes;  // answer bytes corrupted (0 = the first)
  int nakCount = 0;
  int silentCommands = 0;
  std::vector<std::string> mutedCommands;  // device commands (by method name) never answered
  int unplugAfter = 0;
  int busyCount = 0;
  int busyCode = 80;
  std::vector<std::string> busyCommands;  // --busy answers go only to these (by method name)
  std::string replaceFn;                   // serial of a fresh fiscal storage put in at start
  bool help = false;
};

// Throws std::invalid_argument with a message naming the option.
TEmuOptions ParseEmuOptions(const std::vector<std::string>& args);
std::string EmuUsage();

}  // namespace zel::emu
