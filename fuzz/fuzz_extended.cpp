// Fuzz target: the guess choice's integer arithmetic against the x87. The first two bytes choose
// the candidate count N, each further pair a count n of one answer; the split value is summed
// term by term both ways and must agree to the bit at every step. Where long double is not the
// x87's, only the integer side runs (its asserts still hold).
#include <cfloat>
#include <cstdint>
#include <cstring>

#include "fuzz_support.h"
#include "player/extended.h"

#if defined(__x86_64__) && LDBL_MANT_DIG == 64
long double hardware_term(int n, int count) {
  // The table's bits are ln n correctly rounded: checked against MPFR in the unit tests.
  const player::Extended log = player::log_of_count(n);
  long double value = 0;
  unsigned char bytes[sizeof value] = {};
  std::memcpy(bytes, &log.significand, 8);
  std::memcpy(bytes + 8, &log.exponent, 2);
  std::memcpy(&value, bytes, sizeof value);
  return value * (-static_cast<long double>(n) / count);
}
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  constexpr int k_smallest_count = 3;
  constexpr int k_most_answers = 14;
  const int count = k_smallest_count +
                    (data[0] << 8 | data[1]) % (player::k_log_table_size - k_smallest_count + 1);
  double value = 0.0;
  [[maybe_unused]] double hardware = 0.0;
  for (std::size_t i = 2, terms = 0; i + 1 < size && terms < k_most_answers; i += 2, ++terms) {
    const int n = 1 + (data[i] << 8 | data[i + 1]) % count;
    value = player::add_term(value, player::split_term(n, count));
#if defined(__x86_64__) && LDBL_MANT_DIG == 64
    hardware = static_cast<double>(hardware + hardware_term(n, count));
    FUZZ_CHECK(std::memcmp(&value, &hardware, sizeof value) == 0, "N %d, n %d: %a against %a",
               count, n, value, hardware);
#endif
  }
  return 0;
}
