#pragma once
// The register's state on disk, so that a registered register stays
// registered across restarts. A UTF-8 text file, one record per line:
//
//   zelvox-emu-state 1                    first line: format and version
//   <key> <token> <token> ...             one record
//
// Tokens are separated by one space; inside a token "\\" is a backslash,
// "\s" a space, "\t" a tab, "\n" and "\r" line breaks, and "\-" alone the
// empty text. Keys:
//   id.<name> value                      identity (modelId, description, serial, ...)
//   clock offset                         device time minus host time, seconds
//   cell table row field value           a table cell that differs from its default
//   cash n value / oper n value          non-zero cash / operation register
//   fn.<name> value                      fiscal storage scalars (phase, serial, sessionNumber, ...)
//   doc number type time sign shift op sum acked inn rnm ofdInn tax work workEx reason reasonEx
//   doctag number tag value              a tag of document `number`
//   pendtag tag value                    a tag of the document in preparation
//   receipt open type operator total
//   okpkeys 0|1
// Unknown keys and malformed lines are errors, reported with their line number.
#include <string>

#include "emulator/model/DeviceState.h"

namespace zel::emu {

std::string SaveStateText(const TDeviceState& state);
// Throws std::runtime_error naming the line of the first problem.
TDeviceState LoadStateText(const std::string& text);

// Whole files; saving writes a temporary file and renames it over the old one.
void SaveStateFile(const std::string& path, const TDeviceState& state);
TDeviceState LoadStateFile(const std::string& path);

}  // namespace zel::emu
