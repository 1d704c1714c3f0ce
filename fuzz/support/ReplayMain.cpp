// Replays a fuzz target without libFuzzer: every file of the corpus folders
// given on the command line, then a few built-in inputs. Fails on a crash only.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void Run(const std::vector<std::uint8_t>& input) { LLVMFuzzerTestOneInput(input.data(), input.size()); }

std::vector<std::vector<std::uint8_t>> BuiltInInputs() {
  std::vector<std::vector<std::uint8_t>> inputs{{}, std::vector<std::uint8_t>(600, 0xFF),
                                                std::vector<std::uint8_t>(600, 0x00)};
  for (int b = 0; b < 256; ++b) inputs.push_back({static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(b)});
  std::uint32_t state = 12345;  // fixed pseudo-random streams
  for (std::size_t length : {3u, 17u, 64u, 300u, 2000u}) {
    std::vector<std::uint8_t> v(length);
    for (auto& b : v) b = static_cast<std::uint8_t>((state = state * 1103515245u + 12345u) >> 16);
    inputs.push_back(v);
  }
  return inputs;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t files = 0;
  for (int i = 1; i < argc; ++i) {
    std::error_code ec;
    if (!std::filesystem::is_directory(argv[i], ec)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
      if (!entry.is_regular_file()) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      Run(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));
      ++files;
    }
  }
  const auto inputs = BuiltInInputs();
  for (const auto& input : inputs) Run(input);
  std::printf("replayed %zu corpus files and %zu built-in inputs\n", files, inputs.size());
  return 0;
}
