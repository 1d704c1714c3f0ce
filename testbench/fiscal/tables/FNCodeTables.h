#pragma once
// Code tables of the fiscal storage (FN) and of the device status, and the
// decoders that turn their codes into the texts the pages show. All texts are
// message ids, translated when looked up.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/Bytes.h"

namespace zel {

struct TCodeText {
  std::int64_t Code;
  const char* Text;
};

struct TBitLabel {
  int Bit;
  const char* Text;
};

// The text of `code` in `table`, or `unknown` (all translated).
std::string CodeToText(std::span<const TCodeText> table, std::int64_t code, const char* unknown);

// Tables.
extern const std::span<const TBitLabel> kFNLifePhaseBits;        // FNLifeState bits 0..3
extern const std::span<const TCodeText> kFNStatusDocumentTypes;  // open document of the FN status
extern const std::span<const TCodeText> kFNFindDocumentTypes;    // type of a stored fiscal document
extern const std::span<const TCodeText> kFNDocumentData;
extern const std::span<const TCodeText> kFNSessionStates;
extern const std::span<const TCodeText> kFNVersionTypes;
extern const std::span<const TCodeText> kOSUSupportStatuses;
extern const std::span<const TCodeText> kFNErrors;
extern const std::span<const TBitLabel> kTaxSystemBits;           // TaxType
extern const std::span<const TBitLabel> kWorkModeBits;            // WorkMode
extern const std::span<const TBitLabel> kWorkModeExBits;          // WorkModeEx
extern const std::span<const TBitLabel> kRegistrationReasonBits;  // RegistrationReasonCodeEx
extern const std::span<const TCodeText> kOKPKeyUpdateAnswers;     // first answer byte of the OKP key update
extern const std::span<const TCodeText> kConnectionInterfaces;    // PortNumber
extern const std::span<const TBitLabel> kSKNOStatusBits;
extern const std::span<const TCodeText> kOSUSupportAnswers;       // raw service answer of the extended page

// Decoders.
std::string FNStatusDocumentTypeToStr(std::int64_t code);
std::string FNFindDocumentTypeToStr(std::int64_t code);
std::string FNDocumentDataToStr(std::int64_t code);
std::string FNSessionStateToStr(std::int64_t code);
std::string FNVersionTypeToStr(std::int64_t code);
std::string OSUSupportStatusToStr(std::int64_t code);  // "255, ФН не поддерживает ОСУ"
std::string GetFNErrorDescription(std::int64_t code);

// Key update outcome after opening a shift (FN status page): the result text
// and, when a status bit asks for it, a line break and the warning.
std::string GetUpdateKeysResult(std::int64_t resultCode, std::int64_t status);
// The same outcome as the device status page words it.
std::string KeyUpdateResultToStr(std::int64_t resultCode, std::int64_t status);
std::string KeyUpdateStatusToStr(std::int64_t status);  // empty when no bit is set
// Number of updated keys carried in the key update status.
std::int64_t UpdatedKeyCount(std::int64_t status);

// "Результат обновления ключей ОКП: " and the answer text, or empty for an
// empty answer.
std::string OKPKeyUpdateAnswerToStr(const Bytes& answer);

std::string ConnectionInterfaceToStr(std::int64_t portNumber);  // "1, USB vCOM"
std::string LastFMRecordTypeToStr(std::int64_t type);
std::string KeyInfrastructureToStr(std::string_view fmSoftVersion);
std::string OSUSupportAnswerToStr(std::int64_t value);  // "0xFF, ФН не поддерживает ОСУ"

}  // namespace zel
