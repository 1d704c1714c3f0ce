#pragma once
// The device command set, shared by the driver and the virtual register.
//
// A command on the wire is its code (one byte, or 0xFF and a second byte)
// followed by its request fields. The device must answer with the same code
// bytes, one error byte (0 = done, otherwise a code of DeviceErrors()) and,
// only when the error byte is 0, the answer fields. A device that does not
// know a code answers the code bytes and 55; a table or field that does not
// exist gives 93. Rows sharing a code have the same layout.
#include <cstdint>
#include <string>
#include <vector>

#include "driver/catalogue/FieldCodec.h"

namespace zel {

struct TCommandDef {
  const char* Method;               // driver method backed by this command
  std::uint16_t Code;               // 0x00..0xFE, or 0xFFnn for the two-byte codes
  std::vector<TFieldDef> Request;   // after the code
  std::vector<TFieldDef> Answer;    // after the code and the error byte
  const char* Note;                 // what the device does (English, for the reference)
};

// Bits of a flag byte or word spread over boolean properties. The driver
// fills the properties from an answer field and builds a request field from
// them; the device sets or reads the same bits.
struct TBitDef {
  const char* Field;     // field name in a command row
  std::uint8_t Bit;      // 0 = lowest
  const char* Property;  // boolean (or 0/1 integer) property
};

// FE service commands: FE, a sub-code and a 4-byte parameter (6 bytes in all);
// the answer is FE, the error byte and the payload.
struct TServiceCommandDef {
  std::uint8_t SubCode;
  const char* Name;
  const char* Parameter;   // meaning of the 4 parameter bytes
  const char* Answer;      // meaning of the payload
};

struct TModeText {
  int Mode;
  const char* Text;  // Russian message id
};

inline constexpr std::uint8_t kServiceCommand = 0xFE;
inline constexpr std::uint16_t kStatusCommand = 0x11;   // full status, answer = TStatusRec
inline constexpr std::uint16_t kCancelCommand = 0x88;   // cancel the open receipt

const std::vector<TCommandDef>& Commands();
const TCommandDef* FindCommand(const std::string& method);   // nullptr when none
const TCommandDef* FindCommandByCode(std::uint16_t code);     // first row with the code

const std::vector<TBitDef>& BitFields();
const std::vector<TServiceCommandDef>& ServiceCommands();
const std::vector<TModeText>& ModeTexts();          // ECRMode (low nibble)
const std::vector<TModeText>& AdvancedModeTexts();  // ECRAdvancedMode

// Wire bytes of a code: {code} or {0xFF, second}.
Bytes CodeBytes(std::uint16_t code);
// Code at the start of a message: 0xFF takes the next byte too; -1 when empty or cut.
int ReadCode(const Bytes& message, std::size_t& pos);
// Hex text of a code as the reference shows it ("11", "FF 01").
std::string CodeText(std::uint16_t code);

// Whole messages. The request encoder takes field values by name; missing ones are zero.
Bytes EncodeRequest(const TCommandDef& cmd, const TFieldMap& values);
TFieldMap DecodeRequest(const TCommandDef& cmd, const Bytes& message);  // throws ECodecError
Bytes EncodeAnswer(const TCommandDef& cmd, std::uint8_t error, const TFieldMap& values);
// Error byte of an answer (-1 when the answer is shorter than code + error byte
// or carries another code).
int AnswerError(std::uint16_t code, const Bytes& answer);
TFieldMap DecodeAnswer(const TCommandDef& cmd, const Bytes& answer);   // throws ECodecError

}  // namespace zel
