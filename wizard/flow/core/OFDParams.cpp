#include "wizard/flow/core/OFDParams.h"

#include <stdexcept>

#include "common/Translate.h"
#include "wizard/flow/core/RegChecks.h"

namespace zel {

const char* const kDefaultTaxOfficeURL = "www.nalog.gov.ru";

namespace {

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

bool AllDigits(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

[[noreturn]] void Fail(const std::string& text) { throw std::runtime_error(text); }

void Require(const std::string& value, const char* label) {
  if (value.empty()) Fail(Tr("Введите значение \"") + Tr(label) + "\"!");
}

void RequirePort(const std::string& value, const char* label) {
  Require(value, label);
  if (!IsValidPortText(value))
    Fail(Tr("Порт должен быть числом от 1 до 65535: ") + "\"" + Tr(label) + "\"");
}

}  // namespace

bool IsValidPortText(const std::string& text) {
  if (!AllDigits(text) || text.size() > 5) return false;
  const int v = std::stoi(text);
  return v >= 1 && v <= 65535;
}

int PortOfText(const std::string& text) { return IsValidPortText(text) ? std::stoi(text) : 0; }

bool IsValidEmail(const std::string& text) {
  const auto at = text.find('@');
  return at != std::string::npos && at != 0 && at + 1 != text.size();
}

void StoreOFDFields(const TOFDFields& f, TRegParams& p) {
  p.OFDServer = f.OFDServer;
  p.OFDPort = PortOfText(f.OFDPort);
  p.OFDName = f.OFDName;
  p.OFDUrl = f.OFDUrl;
  p.OFDINN = f.INNOFD;
  p.TaxOfficeURL = f.TaxOfficeURL;
  p.ServerKM = f.ServerKM;
  p.PortKM = PortOfText(f.PortKM);
  p.SenderEmail = f.SenderEmail;
}

TOFDFields OFDFieldsOf(const TRegParams& p) {
  auto port = [](int v) { return v == 0 ? std::string() : std::to_string(v); };
  return {p.OFDServer, port(p.OFDPort), p.OFDName, p.OFDUrl, p.OFDINN,
          p.TaxOfficeURL, p.ServerKM, port(p.PortKM), p.SenderEmail};
}

void ValidateOFDFields(const TOFDFields& f, bool ofdEnabled, int ffd,
                       const std::function<bool(const std::string& question)>& confirm) {
  if (ofdEnabled) {
    Require(f.OFDServer, "Сервер ОФД");
    RequirePort(f.OFDPort, "Порт сервера ОФД");
  }
  Require(f.OFDName, "Имя ОФД");
  Require(f.OFDUrl, "URL ОФД");
  Require(f.INNOFD, "ИНН ОФД");
  Require(f.TaxOfficeURL, "URL налог. органа");
  if (f.TaxOfficeURL != kDefaultTaxOfficeURL) {
    const std::string question =
        Tr("URL налогового органа отличается от \r\n\"") + kDefaultTaxOfficeURL + Tr("\"\r\nПродолжить?");
    if (!confirm || !confirm(question)) Fail(Tr("Исправьте URL налогового органа"));
  }
  if (ffd == kFFD12) {
    Require(f.ServerKM, "Сервер KM");
    RequirePort(f.PortKM, "Порт сервера KM");
  }
  Require(f.SenderEmail, "E-mail отправителя");
  if (!IsValidEmail(f.SenderEmail)) Fail(Tr("Введен некорректный E-mail отправителя"));
  const std::string inn = Trim(f.INNOFD);
  if (!AllDigits(inn)) Fail(Tr("Ошибка в ИНН ОФД"));
  if (!IsValidINN(inn)) Fail(Tr("ИНН ОФД не валидный!"));
}

}  // namespace zel
