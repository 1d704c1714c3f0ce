#pragma once
// Whole files as byte strings.
#include <string>

#include "common/Bytes.h"

namespace zel {

// The whole file (empty for an empty file). A file that cannot be opened or
// read throws std::runtime_error naming the file and the system's reason.
Bytes ReadFileData(const std::string& fileName);

}  // namespace zel
