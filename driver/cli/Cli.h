#pragma once
// zelvox-cli: set properties and call methods of the driver from a shell.
//   zelvox-cli ComNumber=5 BaudRate=6 GetECRStatus ECRMode ECRModeDescription
// Arguments run left to right: Name=Value sets a property, a method name calls
// the method and prints "Method: (code) description", a property name prints
// "Name=value". The first failing call ends the run with exit status 1; a bad
// argument gives 2. --list prints every method and property, --help the usage.
#include <iosfwd>
#include <string>
#include <vector>

#include "driver/Zelvox.h"

namespace zel {

int RunCli(const std::vector<std::string>& args, TZelvox& driver, std::ostream& out, std::ostream& err);

}  // namespace zel
