#pragma once
// OFD templates: small XML files, one per OFD, in the wizard's template folder.
#include <stdexcept>
#include <string>
#include <vector>

#include "wizard/flow/core/OFDParams.h"

namespace zel {

class ETemplateFile : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Caption of the list entry that brings back the values shown on entry.
extern const char* const kNoTemplateCaption;

// <shared application data>/Veltrona/Tamarex/Templates (no trailing separator).
std::string TemplateFolder();
// Creates the folder when missing and then puts the default templates into it; returns it.
// Throws ETemplateFile when it cannot be created.
std::string EnsureTemplateFolder(const std::string& folder = TemplateFolder());
// Writes each default template whose file is missing from folder.
void InstallDefaultTemplates(const std::string& folder);

// Paths of the "*.xml" files directly in folder, by name, with the last one whose name holds
// "ЯРУС (ОФД-Я)" moved to the front. Empty for a missing folder.
std::vector<std::string> ListTemplates(const std::string& folder);
// List caption of a template: the file name without folder and extension.
std::string TemplateCaption(const std::string& path);

// The fields a template gives: the text of each element under OFDParams, empty for a missing
// element; current unchanged when the document has no OFDParams. Throws ETemplateFile
// for an unreadable or malformed file.
TOFDFields LoadTemplate(const std::string& path, const TOFDFields& current);
// A UTF-8 XML document of the nine fields; throws ETemplateFile when it cannot be written.
void SaveTemplate(const std::string& path, const TOFDFields& fields);

}  // namespace zel
