// zelvox-commands-doc [FILE]: writes the device command reference to FILE
// (standard output when none).
#include <cstdio>
#include <fstream>
#include <iostream>

#include "driver/CommandsDoc.h"

int main(int argc, char** argv) {
  const std::string text = zel::DeviceCommandsMarkdown();
  if (argc < 2) {
    std::cout << text;
    return 0;
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) {
    std::cerr << "cannot write " << argv[1] << "\n";
    return 1;
  }
  return 0;
}
