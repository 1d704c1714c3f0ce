#include "driver/CommandsDoc.h"

#include <cstdio>
#include <map>
#include <set>
#include <sstream>

#include "driver/MethodTable.h"
#include "driver/catalogue/Commands.h"
#include "driver/catalogue/ErrorCodes.h"
#include "driver/catalogue/StatusRec.h"
#include "driver/dialogs/DialogTexts.h"

namespace zel {

namespace {

// Methods that are code around catalogue commands or need no device.
const std::set<std::string>& LogicMethods() {
  static const std::set<std::string> kLogic = {
      "Connect", "Disconnect", "LockPort", "UnlockPort", "ExchangeBytes", "FindDevice", "Ping", "WaitConnection",
      "WaitForCheckClose", "AddLD", "DeleteLD", "EnumLD", "GetActiveLD", "GetCountLD", "GetParamLD", "SetActiveLD",
      "SetParamLD", "GetECRStatus", "ShowProperties", "ShowTablesDlg", "ReadErrorDescription", "ResetECR", "ClearResult", "ReadTable",
      "WriteTable", "ExportTables", "ImportTables", "PrintStringWithWrap", "WaitForPrinting", "FNAddTag", "FNBeginSTLVTag", "FNSendTag",
      "FNSendTagOperation", "FNSendSTLVTag", "FNSendSTLVTagOperation", "GetTagAsTLV",
      "FNSendCustomerEmail", "FNSendSenderEmail", "FNSendUserAttribute"};
  return kLogic;
}

std::string Fields(const std::vector<TFieldDef>& fields) {
  if (fields.empty()) return "—";
  std::string out;
  for (const auto& f : fields) {
    if (!out.empty()) out += ", ";
    out += std::string(f.Name) + " " + CodecName(f);
  }
  return out;
}

const char* kIntro = R"(# Device command set

Generated from the command catalogue (`driver/catalogue/`) by `zelvox-commands-doc`;
a test compares this file with the catalogue, so edit the catalogue and regenerate
(`cmake --build build --target device-commands-doc`).

## Messages

A command is its code, one byte (`00`–`FE`) or `FF` and a second byte, followed by its
request fields. The answer repeats the code, then one error byte (0 = done, else a code
of the table below), then — only when the error byte is 0 — the answer fields. A device
that does not know a code answers the code and 55. Text fields travel in Windows-1251
(one byte per character, Cyrillic included); the driver converts to and from UTF-8, and a
character Windows-1251 cannot hold is sent as `?`.

| codec | bytes | meaning |
|---|---|---|
| UInt(n) | n | unsigned little-endian integer |
| Amount | 5 | money in kopecks, unsigned little-endian |
| Text(n) | n | Windows-1251 text padded with zero bytes; read up to the first zero |
| TextToEnd | rest | Windows-1251 text to the end of the message |
| BytesToEnd | rest | raw bytes to the end of the message |
| Date | 3 | day, month, year − 2000 |
| Time | 3 | hour, minute, second |
| Version | 2 | major, minor (the text "major.minor") |
| Milli(n) | n | unsigned little-endian thousandths (volts) |
| Variant | 5 | type byte (0 integer, 1 boolean) and a signed 4-byte little-endian value |
| Tlv | 4 + n | tag (2 bytes LE), length (2 bytes LE), value |

Passwords are 4-byte little-endian numbers (`Password`; `SysAdminPassword` for
`SysAdminCancelCheck`). Tag records sent to the fiscal storage (`TLVData`) are Tlv records.
)";

const char* kChoices = R"(
## Choices where callers disagree

- **`FieldType`** is an Integer: 0 number, 1 text. Callers that test it as a boolean
  ("true = text") and callers that compare it with 0 both work.
- **`WriteTable` of a number field** takes `ValueOfFieldInteger`, or `ValueOfFieldString`
  (decimal text) when that was assigned after `ValueOfFieldInteger`: the table editor writes
  every value as text, the wizard writes numbers as integers. `ReadTable` fills both for a
  number field (the text in decimal) and `ValueOfFieldString` for a text field.
- **Table 16, row 1, field 1** is the address mode of the wired interface (0 DHCP, 1 static)
  on every model. The vending-machine number lives in row 1, field 1 of the table that
  model parameter 75 names (table 24 unless the model says otherwise), on cash-core models too.
- **Model parameter 75** is answered by every model, like 72 (stands in for table 18) and
  73 (stands in for table 19).
- **Spellings.** The methods are declared as callers spell them: `FNAcceptMakringCode`,
  `DampRequest`, `OpenNonfiscalDocument`, `CloseNonFiscalDocument`. Lookup by name ignores
  letter case, so `FiscalReportforSessionRange` finds `FiscalReportForSessionRange`.
- **`TagType`**: 0 byte, 1 16-bit, 2 32-bit, 3 VLN, 4 and 11 FVLN (both accepted),
  5 bit field, 6 Unix time, 7 string, 8 structure, 9 byte array. A VLN value comes from
  `TagValueVLN` (decimal text) or from `TagValueBin`, whichever was assigned later;
  `TagValueLength` (when > 0) fixes the value length. `GetTagAsTLV` writes `TLVDataHex`
  without blanks so pieces can be joined.
- **`TagID`**: `FNBeginSTLVTag` opens a structure under `TagID` (0, or an identifier of a
  structure already sent, means the top level) and returns its identifier in `TagID`;
  `FNAddTag` adds to the structure `TagID` names.
- **Marking-code key update** is the service command `FE 1A` with the 4-byte access code;
  the first payload byte is the result.
- **`TransferBytes`** takes upper- or lower-case hex, with or without blanks between pairs;
  a one-digit token is one byte. It comes back as upper-case pairs separated by one blank.
  The result of `ExchangeBytes` is the answer's error byte.
- **`SerialNumber` after `GetECRStatus`**: the status record has room for a 4-byte serial
  number; a device whose serial does not fit sends 0 there, and the driver then reads the
  full text with `ReadSerialNumber` (an empty text when that fails). `ECRInput`/`ECROutput`
  keep the status exchange. Being a number there, the serial loses leading zeros; callers
  that need the serial as written use `ReadSerialNumber`.
- **`ExportTables` / `ImportTables`** use a text file (UTF-8), a header line
  `Table;Row;Field;Name;Value` and one record per field: `18;1;7;"Пользователь";"ООО Ромашка"`
  (texts in double quotes, a quote inside doubled; a quoted text keeps `;` and line breaks).
  Import checks the whole file first (a malformed record changes nothing), then writes every
  value that differs from the device's; a field the device refuses does not stop the others,
  and the first refusal is the result. See `docs/table-file.md`.
- **`ReadErrorDescription`** answers from the driver's own table; it needs no device.
- **Busy answers** (80, 75) are returned to the caller, which decides about retrying;
  only `PrintStringWithWrap` waits them out itself (5 attempts, 50 ms apart) so that no
  wrapped line is lost or printed twice.
- **`Connected`**: assigning true connects, false disconnects; the result is in `ResultCode`.
  Any link failure (a negative code) closes the link, so `Connected` reads false and the next
  call links afresh.
- **`ConnectionType` 1 and 2** both reach the device server over TCP (`ComputerName`, or
  `host:port`; port 211 by default); there is no separate remote-object transport here.
- **`Ping`** sends one ICMP echo to the host of `URL` (a URL or a bare host) within
  `Timeout`: `PingResult` 0 answered (`PingTime` in ms), 1 no answer, 2 host not found; the
  method fails only when the system refuses ICMP sockets.
- **Inputs without effect** in this command set: `StatusCommand` and `CheckFMConnection`
  (the status commands always carry the same answer), `OFDExchangeSuspended` for `LockPort`.
- **An item's sum** (`FNOperation`) is `Summ1` only when `Summ1Enabled` is true (false by
  default); otherwise the device takes `Price` × `Quantity`.
)";

}  // namespace

std::vector<std::string> DriverMessageIds() {
  std::vector<std::string> ids = {kTextSuccess, kTextUnknownError, kTextUnknownMode};
  for (const auto* table : {&LinkErrors(), &DeviceErrors()})
    for (const auto& e : *table) ids.emplace_back(e.Text);
  for (const auto* table : {&ModeTexts(), &AdvancedModeTexts()})
    for (const auto& m : *table) ids.emplace_back(m.Text);
  for (const char* text : dlg::kAll) ids.emplace_back(text);
  return ids;
}

std::string DeviceCommandsMarkdown() {
  std::ostringstream md;
  md << kIntro;

  md << "\n## Commands\n\n| code | method | request | answer | the device |\n|---|---|---|---|---|\n";
  for (const auto& c : Commands()) {
    md << "| " << CodeText(c.Code) << " | `" << c.Method << "` | ";
    if (c.Code == kStatusCommand)
      md << Fields(c.Request) << " | TStatusRec (below) | " << c.Note << " |\n";
    else
      md << Fields(c.Request) << " | " << Fields(c.Answer) << " | " << c.Note << " |\n";
  }

  md << "\n## TStatusRec\n\nThe answer to `11` carries this " << kStatusRecSize
     << "-byte record from answer offset " << kStatusRecOffset << ". Mode " << kModeReceiptOpen
     << " = receipt open.\n\n| offset | field | codec |\n|---|---|---|\n";
  for (const auto& f : StatusRecFields())
    md << "| " << StatusRecOffset(f.Name) << " | " << f.Name << " | " << CodecName(f) << " |\n";

  md << "\n## Flag bits\n\n| field | bit | property |\n|---|---|---|\n";
  for (const auto& b : BitFields()) md << "| " << b.Field << " | " << int(b.Bit) << " | " << b.Property << " |\n";

  md << "\n## Service commands\n\n`FE`, a sub-code and 4 parameter bytes; the answer is `FE`, the error byte and "
        "the payload.\n\n| sub-code | purpose | parameter | payload |\n|---|---|---|---|\n";
  for (const auto& s : ServiceCommands()) {
    char code[4];
    std::snprintf(code, sizeof code, "%02X", s.SubCode);
    md << "| " << code << " | " << s.Name << " | " << s.Parameter << " | " << s.Answer << " |\n";
  }

  md << "\n## Modes\n\n| ECRMode | text |\n|---|---|\n";
  for (const auto& m : ModeTexts()) md << "| " << m.Mode << " | " << m.Text << " |\n";
  md << "\n| ECRAdvancedMode | text |\n|---|---|\n";
  for (const auto& m : AdvancedModeTexts()) md << "| " << m.Mode << " | " << m.Text << " |\n";

  md << "\n## Result codes\n\nNegative codes come from the driver, positive ones from the device (1–48, 121 "
        "and 160–172 are the fiscal storage's own). Texts are message ids, translated in the host program's "
        "domain.\n\n| code | text | meaning |\n|---|---|---|\n";
  for (const auto* table : {&LinkErrors(), &DeviceErrors()})
    for (const auto& e : *table) md << "| " << e.Code << " | " << e.Text << " | " << e.Meaning << " |\n";

  // Methods by state: real (a catalogue row or code) or not yet, grouped by area.
  std::map<std::string, std::vector<std::string>> pending;
  std::size_t real = 0;
  for (const auto& m : MethodDefs()) {
    if (FindCommand(m.Name) || LogicMethods().count(m.Name))
      ++real;
    else
      pending[m.Area].push_back(m.Name);
  }
  md << "\n## Methods not real yet\n\n" << real << " of " << MethodDefs().size()
     << " methods are real. The others answer -7 \"" << ErrorText(kNotSupported)
     << ": <method>\" until the work on their area makes them real:\n\n| area | methods |\n|---|---|\n";
  for (const auto& [area, names] : pending) {
    md << "| " << area << " | ";
    for (std::size_t i = 0; i < names.size(); ++i) md << (i ? ", " : "") << "`" << names[i] << "`";
    md << " |\n";
  }
  md << kChoices;
  return md.str();
}

}  // namespace zel
