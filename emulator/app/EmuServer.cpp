#include "emulator/app/EmuServer.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <stdexcept>

#include "common/ComResolver.h"
#include "driver/catalogue/Commands.h"
#include "emulator/link/PtyLine.h"
#include "emulator/link/SessionFactory.h"

namespace zel::emu {

TIdentity IdentityFor(const TEmuOptions& o) {
  TIdentity id;
  if (o.modelId) id.modelId = *o.modelId;
  id.cashCore = o.cashCore;
  if (!o.firmwareDate.empty()) id.firmwareDate = o.firmwareDate;
  return id;
}

namespace {
// True when the host end of the pty is set to rate bit/s (the master reports the slave's settings).
bool HostSpeedIs(int lineFd, int rate) {
  static const std::pair<int, speed_t> kSpeeds[] = {{2400, B2400},     {4800, B4800},     {9600, B9600},
                                                     {19200, B19200},   {38400, B38400},   {57600, B57600},
                                                     {115200, B115200}, {230400, B230400}, {460800, B460800},
                                                     {921600, B921600}};
  termios t{};
  if (tcgetattr(lineFd, &t) != 0) return false;
  for (const auto& [r, code] : kSpeeds)
    if (r == rate) return cfgetospeed(&t) == code;
  return false;
}
}  // namespace

TEmuServer::TEmuServer(TEmuOptions options)
    : options_(std::move(options)), model_(IdentityFor(options_)), handler_(model_) {}

TEmuServer::~TEmuServer() { Stop(); }

Bytes TEmuServer::Serve(const Bytes& command) {
  Bytes answer = handler_.Handle(command);
  ++commands_;
  if (keeper_) {
    try {
      keeper_->SaveIfChanged();
    } catch (const std::exception&) {
      // The next command tries again; the answer is not held back for it.
    }
  }
  return answer;
}

bool TEmuServer::IsMuted(const Bytes& command) const {
  if (command.empty()) return false;
  const std::uint16_t code = command[0] == 0xFF && command.size() > 1 ? static_cast<std::uint16_t>(0xFF00 | command[1])
                                                                      : command[0];
  for (const auto& method : options_.mutedCommands)
    if (const TCommandDef* def = FindCommand(method); def && def->Code == code) return true;
  return false;
}

std::unique_ptr<TDeviceSession> TEmuServer::MakeSession(int fd, int lineFd) {
  TSessionOptions so;
  so.BaudRate = options_.baudRate;
  // A host at another line speed hears noise: the command is not understood and gets no answer.
  auto serve = [this, lineFd](const Bytes& c) {
    if (lineFd >= 0 && !HostSpeedIs(lineFd, options_.baudRate))
      throw std::runtime_error("the host's line speed is not " + std::to_string(options_.baudRate));
    if (IsMuted(c)) throw std::runtime_error("muted command");
    return Serve(c);
  };
  auto session = CreateDeviceSession(options_.protocolType, fd, serve, so);
  TLinkFaults& f = session->Faults();
  for (auto at : options_.dropBytes) f.AddByteFault(EFaultDirection::In, EByteFault::Drop, at);
  for (auto at : options_.corruptBytes) f.AddByteFault(EFaultDirection::Out, EByteFault::Corrupt, at, 0xFF);
  if (options_.nakCount) f.SetNakCount(options_.nakCount);
  if (options_.silentCommands) f.SilenceCommands(options_.silentCommands);
  return session;
}

void TEmuServer::Start() {
  for (const auto& method : options_.mutedCommands)
    if (!FindCommand(method)) throw std::runtime_error("--mute-command: no device command for " + method);
  model_.SetOfdPace(options_.ofdPace);
  model_.HoldOfd(options_.ofdHold);
  model_.SetOfdError(options_.ofdError);
  model_.SetDhcpState(options_.dhcpState);
  model_.SetDhcpDelay(options_.dhcpDelayMs);
  model_.SetRestartRequired(options_.restartRequired);
  if (!options_.tapeFile.empty()) model_.SetTapeFile(options_.tapeFile);
  if (!options_.stateFile.empty()) {
    keeper_ = std::make_unique<TStateKeeper>(model_, options_.stateFile);
    keeper_->Load();
  }
  if (options_.serial != "none" && model_.Snapshot().identity.serial.empty()) {
    TFieldValues in, out;
    in.Set("SerialNumber", options_.serial.empty() ? std::string("0012345678") : options_.serial);
    in.Set("Password", std::int64_t{30});
    if (model_.Execute("SetSerialNumber", in, out) != 0)
      throw std::runtime_error("bad serial number \"" + options_.serial + "\": up to 20 digits");
  }
  for (const auto& method : options_.busyCommands)
    if (!TDeviceModel::Knows(method)) throw std::runtime_error("--busy-command: no device command for " + method);
  model_.SetBusyOperations(options_.busyCommands);
  if (!options_.replaceFn.empty()) model_.ReplaceFN(options_.replaceFn);
  if (options_.busyCount) model_.SetBusy(static_cast<std::uint8_t>(options_.busyCode), options_.busyCount);
  if (keeper_) keeper_->SaveIfChanged();

  if (options_.pty || options_.comNumber > 0) {
    TPtyLine line = OpenPtyLine();
    ptyPath_ = line.SlavePath;
    if (options_.strictBaud && (lineFd_ = fcntl(line.Master, F_DUPFD_CLOEXEC, 0)) < 0) {
      close(line.Master);
      throw std::runtime_error("--strict-baud: cannot watch the pty's line speed");
    }
    pty_ = MakeSession(line.Master, lineFd_);
    if (options_.comNumber > 0) {
      CreateComLink(options_.comNumber, ptyPath_);
      comLinked_ = true;
    }
    pty_->Start();
  }
  if (options_.tcpPort) {
    tcp_.Listen(options_.listenAddress, static_cast<std::uint16_t>(*options_.tcpPort));
    tcp_.Start([this](int fd) { Accept(fd); });
    if (options_.announce) {
      announcer_ = std::make_unique<TUdpAnnouncer>(
          AnnounceTargetFor(options_.announceInterface), tcp_.Port(),
          [this] { return model_.Snapshot().identity.serial; }, static_cast<std::uint16_t>(options_.announcePort),
          options_.announceIntervalMs);
      announcer_->Start();
    }
  }
}

void TEmuServer::Accept(int fd) {
  std::lock_guard lock(sessionsMutex_);
  // Sessions whose client has gone are let go here.
  std::erase_if(tcpSessions_, [](const auto& s) { return !s->Running(); });
  if (unplugged_) {
    ::close(fd);
    return;
  }
  auto session = MakeSession(fd);
  session->Start();
  tcpSessions_.push_back(std::move(session));
}

bool TEmuServer::UnplugDue() const {
  return options_.unplugAfter > 0 && !unplugged_ && commands_.load() >= options_.unplugAfter;
}

void TEmuServer::Unplug() {
  if (announcer_) announcer_->Stop();
  tcp_.Stop();
  if (pty_) pty_->HangUp();
  std::lock_guard lock(sessionsMutex_);
  unplugged_ = true;
  for (auto& s : tcpSessions_) s->HangUp();
}

void TEmuServer::Stop() {
  if (announcer_) announcer_->Stop();
  tcp_.Stop();
  {
    std::lock_guard lock(sessionsMutex_);
    for (auto& s : tcpSessions_) s->Stop();
    tcpSessions_.clear();
  }
  if (pty_) pty_->Stop();
  pty_.reset();
  if (lineFd_ >= 0) {
    close(lineFd_);
    lineFd_ = -1;
  }
  if (comLinked_) {
    try {
      RemoveComLink(options_.comNumber);
    } catch (const std::exception&) {
      // Someone else's link by now; leave it.
    }
    comLinked_ = false;
  }
  if (keeper_) {
    try {
      keeper_->SaveIfChanged();
    } catch (const std::exception&) {
    }
  }
}

}  // namespace zel::emu
