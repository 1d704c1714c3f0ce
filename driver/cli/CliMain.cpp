#include <iostream>

#include "common/Translate.h"
#include "driver/cli/Cli.h"

int main(int argc, char** argv) {
  zel::SetTextDomain("ZelvoxTst");
  zel::SetLanguage("");
  zel::TZelvox driver;
  const int status = zel::RunCli(std::vector<std::string>(argv + 1, argv + argc), driver, std::cout, std::cerr);
  driver.Disconnect();
  return status;
}
