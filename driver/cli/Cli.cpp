#include "driver/cli/Cli.h"

#include <ostream>

#include "driver/catalogue/Commands.h"

namespace zel {

namespace {

const char* kUsage =
    "usage: zelvox-cli [Name=Value | Method | Name]...\n"
    "       zelvox-cli --list\n"
    "Sets properties, calls methods and prints properties, left to right, e.g.\n"
    "  zelvox-cli ComNumber=5 BaudRate=6 GetECRStatus ECRMode ECRModeDescription\n"
    "  zelvox-cli ConnectionType=6 IPAddress=127.0.0.1 TCPPort=7000 FNGetStatus FNLifeState\n"
    "Exit status: 0 all calls succeeded, 1 a call failed, 2 a bad argument.\n";

void List(std::ostream& out) {
  out << "Methods:\n";
  for (const auto& m : MethodDefs()) out << "  " << m.Name << "  (" << m.Area << ")\n";
  out << "Properties:\n";
  for (const auto& p : PropertyDefs()) out << "  " << p.Name << ": " << PropTypeName(p.Type) << "\n";
}

}  // namespace

int RunCli(const std::vector<std::string>& args, TZelvox& driver, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << kUsage;
    return 2;
  }
  for (const auto& arg : args) {
    if (arg == "--help" || arg == "-h") {
      out << kUsage;
      return 0;
    }
    if (arg == "--list") {
      List(out);
      continue;
    }
    const auto eq = arg.find('=');
    if (eq != std::string::npos) {
      const std::string name = arg.substr(0, eq);
      if (!driver.SetPropertyText(name, arg.substr(eq + 1))) {
        err << "cannot set " << name << " to \"" << arg.substr(eq + 1) << "\" (unknown, read-only or a bad value)\n";
        return 2;
      }
      continue;
    }
    TMethodId method;
    if (FindMethod(arg, method)) {
      const int code = driver.Invoke(method);
      out << MethodDef(method).Name << ": (" << code << ") " << driver.get_ResultCodeDescription() << "\n";
      if (code != 0) return 1;
      continue;
    }
    std::string value;
    if (driver.GetPropertyText(arg, value)) {
      TPropId id;
      FindProperty(arg, id);
      out << PropertyDef(id).Name << "=" << value << "\n";
      continue;
    }
    err << "unknown method or property: " << arg << "\n";
    return 2;
  }
  return 0;
}

}  // namespace zel
