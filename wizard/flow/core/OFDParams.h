#pragma once
// The OFD step's data: the nine fields as typed, their checks, and the exchange
// with the registration record.
#include <functional>
#include <string>

#include "wizard/flow/core/RegParams.h"

namespace zel {

// Tax service web site the field starts with; another value needs the operator's consent.
extern const char* const kDefaultTaxOfficeURL;

// Field texts exactly as typed (ports as decimal text).
struct TOFDFields {
  std::string OFDServer;
  std::string OFDPort;
  std::string OFDName;
  std::string OFDUrl;
  std::string INNOFD;
  std::string TaxOfficeURL;
  std::string ServerKM;
  std::string PortKM;
  std::string SenderEmail;

  bool operator==(const TOFDFields&) const = default;
};

// A port field as stored: its decimal value, 0 when empty or not a number in 1..65535.
int PortOfText(const std::string& text);
// True for 1..5 digits giving 1..65535.
bool IsValidPortText(const std::string& text);
// The e-mail check of the data-entry steps: an at sign, the first one neither first nor last.
bool IsValidEmail(const std::string& text);

// Record <-> fields (only the OFD-related members of the record are touched).
void StoreOFDFields(const TOFDFields& f, TRegParams& p);
TOFDFields OFDFieldsOf(const TRegParams& p);

// Checks of "Далее" in order; throws std::runtime_error with the operator's text on the
// first failure. confirm asks the tax-site question and returns true to go on.
// Each required port must be 1..65535 written in digits only.
void ValidateOFDFields(const TOFDFields& f, bool ofdEnabled, int ffd,
                       const std::function<bool(const std::string& question)>& confirm);

}  // namespace zel
