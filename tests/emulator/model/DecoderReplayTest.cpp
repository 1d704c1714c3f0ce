// Replays the decoder fuzz entry with generated inputs: valid command codes
// with random field bytes and plain noise.
#include <gtest/gtest.h>

#include <random>

#include "driver/catalogue/Commands.h"
#include "common/Bytes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

TEST(CommandDecoderReplay, RandomCommandsNeverCrash) {
  std::mt19937 rng(20261211);
  const auto& commands = zel::Commands();
  for (int round = 0; round < 3000; ++round) {
    zel::Bytes input;
    for (int n = 0; n < 4; ++n) {
      if (rng() % 4 == 0) {
        for (unsigned i = rng() % 12; i > 0; --i) input.push_back(static_cast<std::uint8_t>(rng()));
      } else {
        const auto& cmd = commands[rng() % commands.size()];
        zel::Bytes code = zel::CodeBytes(cmd.Code);
        input.insert(input.end(), code.begin(), code.end());
        // often the administrator's password, then random field bytes
        if (rng() % 2) input.insert(input.end(), {30, 0, 0, 0});
        for (unsigned i = rng() % 40; i > 0; --i) input.push_back(static_cast<std::uint8_t>(rng() % 3 ? rng() % 8 : rng()));
      }
      input.insert(input.end(), {0, 0});
    }
    LLVMFuzzerTestOneInput(input.data(), input.size());
  }
  SUCCEED();
}

}  // namespace
