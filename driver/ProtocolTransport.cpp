#include "driver/ProtocolTransport.h"

#include <stdexcept>

#include "common/ComPort.h"
#include "common/DriverError.h"
#include "common/Translate.h"
#include "driver/TcpPort.h"

#if __has_include("server/protocol/PrinterProtocolFactory.h")
#include "server/protocol/PrinterProtocolFactory.h"
#define ZEL_HAVE_ENGINES 1
#endif

namespace zel {

TProtocolTransport::TProtocolTransport(std::shared_ptr<ISerialPort> port, std::shared_ptr<TConnectionParams> params,
                                       int protocolType)
    : FPort(std::move(port)), FParams(std::move(params)), FProtocolType(protocolType) {}

void TProtocolTransport::Open() {
#ifdef ZEL_HAVE_ENGINES
  FPort->Open();
  if (!FEngine) FEngine = GetProtocolFactory(FProtocolType).Instance(FPort, FParams);
#else
  // TODO(driver): the frame protocol engines are merged from main with the protocol work.
  throw EDriverError(kNoLink, Tr("Нет связи") + ": frame protocol engines are not built in");
#endif
}

void TProtocolTransport::Close() {
  FEngine.reset();
  FPort->Close();
}

Bytes TProtocolTransport::Send(const Bytes& command, int timeoutMs) {
  if (!FEngine || !FPort->GetOpened()) Open();
  TCommandRec rec;
  std::size_t pos = 0;
  rec.Code = command.empty() ? 0 : command[pos++];
  if (rec.Code == 0xFF && command.size() > 1) rec.Code = 0xFF00 | command[1];
  rec.Command = command;
  rec.Timeout = timeoutMs;
  try {
    FEngine->Send(rec);
  } catch (const EDriverError&) {
    throw;
  } catch (const std::exception& e) {
    throw EDriverError(kOtherFailure, e.what());
  }
  return rec.Answer;
}

std::unique_ptr<ITransport> MakeSerialTransport(const TLinkSettings& s) {
  auto params = std::make_shared<TConnectionParams>();
  params->Timeout = s.Timeout;
  params->ComNumber = s.ComNumber;
  params->BaudRate = s.BaudRate;
  params->ProtocolType = s.ProtocolType;
  params->CommandRetryCount = s.MaxCommandSendCount;
  params->MaxAnsCount = s.MaxAnswerReadCount;
  auto port = std::make_shared<TComPort>(params);
  return std::make_unique<TProtocolTransport>(port, params, s.ProtocolType);
}

std::unique_ptr<ITransport> MakeTcpTransport(const TLinkSettings& s) {
  auto params = std::make_shared<TConnectionParams>();
  params->Timeout = s.Timeout;
  params->CommandRetryCount = s.MaxCommandSendCount;
  params->MaxAnsCount = s.MaxAnswerReadCount;
  auto port = std::make_shared<TTcpPort>(s.Host, s.TcpPort, s.TcpConnectTimeout);
  return std::make_unique<TProtocolTransport>(port, params, 0);  // the ENQ framing over the socket
}

}  // namespace zel
