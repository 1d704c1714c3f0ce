#include "driver/ServerTransport.h"

#include <errno.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "common/ConnectionParams.h"
#include "driver/HexText.h"
#include "driver/ZelvoxInternal.h"

namespace zel {

namespace {

constexpr int kCallMargin = 2000;  // ms a server call may take beyond the device's own timeout

void SplitHost(const std::string& name, std::string& host, int& port) {
  host = name.empty() ? "127.0.0.1" : name;
  port = kDefaultServerPort;
  const auto colon = host.rfind(':');
  if (colon != std::string::npos && host.find(':') == colon) {
    try {
      port = std::stoi(host.substr(colon + 1));
    } catch (const std::exception&) {
      RaiseCode(kServerUnavailable, name);
    }
    host.resize(colon);
  }
}

// The program this driver runs in, as the server shows a lock's holder.
std::string ProgramName() {
  const char* name = program_invocation_short_name;
  return name && *name ? name : "zelvox";
}

std::string HostName() {
  char buf[256] = {};
  ::gethostname(buf, sizeof buf - 1);
  return buf;
}

}  // namespace

TServerTransport::TServerTransport(TServerSettings settings) : FSettings(std::move(settings)) {}

void TServerTransport::Open() {
  if (IsOpen()) return;
  std::string host;
  int port = 0;
  SplitHost(FSettings.ComputerName, host, port);
  FSocket = std::make_unique<TTcpPort>(host, port, FSettings.ConnectTimeout);
  FPending.clear();
  try {
    FSocket->Open();
  } catch (const EDriverError&) {
    FSocket.reset();
    RaiseCode(kServerUnavailable, FSettings.ComputerName);
  }
  FOpen = true;
  try {
    Check(Call("Connect", TJson::Array({static_cast<int>(::getpid()), ProgramName(), HostName()}), FSettings.Timeout));
    Call("ProtocolType", TJson::Array({FSettings.ProtocolType}), FSettings.Timeout);
    Check(Call("OpenPort", TJson::Array({FSettings.ComNumber, FSettings.BaudRate, FSettings.Timeout}), FSettings.Timeout));
  } catch (...) {
    Close();
    throw;
  }
}

void TServerTransport::Close() {
  if (FOpen && FSocket && FSocket->GetOpened()) {
    try {
      Call("ClosePort", TJson::Array({}), 1000);
    } catch (const std::exception&) {
      // closing the connection releases the port on the server anyway
    }
  }
  FOpen = false;
  if (FSocket) FSocket->Close();
  FSocket.reset();
}

std::string TServerTransport::ReadLine(int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (true) {
    const auto nl = FPending.find('\n');
    if (nl != std::string::npos) {
      std::string line = FPending.substr(0, nl);
      FPending.erase(0, nl + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty()) return line;
      continue;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) RaiseCode(kNoLink, FSettings.ComputerName);
    FSocket->SetCmdTimeout(static_cast<std::uint32_t>(left.count()));
    std::uint8_t c = 0;
    if (FSocket->ReadChar(c)) FPending += static_cast<char>(c);
  }
}

TJson TServerTransport::Call(const std::string& method, TJson params, int timeoutMs) {
  if (!FSocket || !FSocket->GetOpened()) RaiseCode(kServerUnavailable, FSettings.ComputerName);
  const std::int64_t id = FNextId++;
  const std::string line =
      TJson::Object({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}}).Dump() + "\n";
  FSocket->Write(Bytes(line.begin(), line.end()));
  // One deadline for the whole call, however many stale lines come first.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs + kCallMargin);
  while (true) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    const std::string answerLine = ReadLine(static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
    TJson answer;
    try {
      answer = TJson::Parse(answerLine);
    } catch (const std::exception& e) {
      RaiseCode(kServerUnavailable, e.what());
    }
    const TJson* answerId = answer.Find("id");
    if (!answerId || !answerId->IsNumber() || static_cast<std::int64_t>(answerId->Number()) != id) continue;  // stale
    if (const TJson* error = answer.Find("error")) {
      const TJson* message = error->Find("message");
      RaiseCode(kServerUnavailable, method + ": " + (message ? message->Text() : error->Dump()));
    }
    const TJson* result = answer.Find("result");
    return result ? *result : TJson();
  }
}

void TServerTransport::Check(const TJson& result) {
  const int code = result.IsNumber() ? static_cast<int>(result.Number()) : 0;
  if (code == 0) return;
  const TJson text = Call("ResultDescription", TJson::Array({}), FSettings.Timeout);
  throw EDriverError(code, text.IsString() && !text.Text().empty() ? text.Text() : Tr(ErrorText(code)));
}

Bytes TServerTransport::Send(const Bytes& command, int timeoutMs) {
  if (!IsOpen()) Open();
  std::string hex = ToHexText(command);
  std::erase(hex, ' ');
  // The server's engine waits for a slow register as the local one does: the
  // answer time, then its enquiries of Timeout each. The call waits as long,
  // so an answer the register gives late is not reported as no link.
  const int serverWait = timeoutMs + (TConnectionParams{}.MaxENQCount + 1) * std::max(FSettings.Timeout, 0);
  const TJson result = Call("SendData", TJson::Array({timeoutMs, hex}), serverWait);
  const TJson* code = result.Find("ResultCode");
  const TJson* retval = result.Find("retval");
  if (!code || !retval || !code->IsNumber() || !retval->IsString()) RaiseCode(kServerUnavailable, "SendData");
  if (code->Number() < 0) Check(*code);
  Bytes answer;
  if (!ParseHexText(retval->Text(), answer)) RaiseCode(kServerUnavailable, "SendData");
  return answer;
}

void TServerTransport::Lock() {
  Check(Call("LockPort", TJson::Array({FSettings.ComNumber}), FSettings.Timeout));
}

void TServerTransport::Unlock() { Check(Call("UnlockPort", TJson::Array({}), FSettings.Timeout)); }

}  // namespace zel
