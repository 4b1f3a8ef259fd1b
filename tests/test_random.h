// Randomised tests: one printed, replayable seed per run, and whether sanitizers slow the run.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <random>

namespace testing_support {

// Sanitized builds run the game code several times slower; their tests play fewer games.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool k_sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool k_sanitized = true;
#else
constexpr bool k_sanitized = false;
#endif
#else
constexpr bool k_sanitized = false;
#endif

// One seed for the whole run, printed by every test that uses it; HITBLOW_TEST_SEED replays one.
inline unsigned test_seed() {
  static const unsigned seed = [] {
    if (const char* text = std::getenv("HITBLOW_TEST_SEED")) {
      return static_cast<unsigned>(std::strtoul(text, nullptr, 10));
    }
    return static_cast<unsigned>(std::random_device{}());
  }();
  std::printf("random seed %u (HITBLOW_TEST_SEED=%u replays it)\n", seed, seed);
  return seed;
}

}  // namespace testing_support
