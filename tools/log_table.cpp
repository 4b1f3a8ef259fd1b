// Writes src/player/log_table.cpp: ln n for n = 1..5040 as this machine's x87 computes it, the
// exact bits of logl. Run it on x86-64 with glibc, whose logl the game's choices were first made
// with; every other platform then reads the same bits from the table:
//   build/release/tools/hitblow-log-table > src/player/log_table.cpp
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "player/extended.h"

#if !(defined(__x86_64__) && LDBL_MANT_DIG == 64 && defined(__GLIBC__))
#error "the logarithm table is made from glibc's x87 logl on x86-64"
#endif

int main() {
  std::printf(
      "// ln n for n = 1..%d as the x87 computes it: the bits of glibc's logl on x86-64.\n"
      "// Made by tools/log_table.cpp; do not edit (see there to remake it).\n"
      "#include <cassert>\n#include <cstdint>\n\n#include \"player/extended.h\"\n\n"
      "namespace player {\n\nnamespace {\n\n"
      "struct LogBits {\n  std::uint64_t significand;\n  std::uint16_t exponent;\n};\n\n"
      "// Entry n - 1 holds ln n; all are positive but ln 1 = 0.\n"
      "constexpr LogBits k_logs[k_log_table_size] = {\n",
      player::k_log_table_size);
  constexpr int k_per_line = 3;
  for (int n = 1; n <= player::k_log_table_size; ++n) {
    const long double value = std::log(static_cast<long double>(n));
    unsigned char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    std::uint64_t significand;
    std::uint16_t sign_and_exponent;
    std::memcpy(&significand, bytes, 8);
    std::memcpy(&sign_and_exponent, bytes + 8, 2);
    if ((n - 1) % k_per_line == 0) std::printf("   ");
    std::printf(" {0x%016llx, 0x%04x},", static_cast<unsigned long long>(significand),
                static_cast<unsigned>(sign_and_exponent));
    if (n % k_per_line == 0 || n == player::k_log_table_size) {
      std::printf("  // %d\n", n - (n - 1) % k_per_line);
    }
  }
  std::printf(
      "};\n\n}  // namespace\n\n"
      "Extended log_of_count(int n) {\n"
      "  assert(n >= 1 && n <= k_log_table_size);\n"
      "  const LogBits& bits = k_logs[n - 1];\n"
      "  return {bits.significand, bits.exponent, false};\n"
      "}\n\n}  // namespace player\n");
}
