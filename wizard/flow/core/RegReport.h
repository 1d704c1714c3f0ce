#pragma once
// The registration report: what will be or was registered, laid out on a slip.
#include "wizard/flow/core/RegParams.h"
#include "wizard/flow/core/Slip.h"

namespace zel {

// Name of a re-registration reason code 1..4; empty for other codes.
std::string ReregistrationReasonName(int code);

// Appends the report lines of p to slip; withHeader adds the title, date, document
// number and fiscal sign of a registration that took place.
void BuildRegReport(TSlip& slip, const TRegParams& p, bool withHeader);

// The preview before the registration: 80 columns, labels padded to 24, no header.
std::vector<std::string> RegPreviewLines(const TRegParams& p);
// The result after it: right-aligned layout at the printer's width, with header.
std::vector<std::string> RegResultLines(const TRegParams& p, int width);

// Characters per line of a font: printWidth / charWidth rounded, 40 without a char width.
int CharsPerLine(int printWidth, int charWidth);

}  // namespace zel

namespace zel {
// Saves the report lines as a text file in the system's encoding (UTF-8), one line per
// report line; throws std::runtime_error when the file cannot be written.
void SaveReportText(const std::string& path, const std::vector<std::string>& lines);
}  // namespace zel
