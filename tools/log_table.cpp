// Writes src/player/log_table.cpp: ln n for n = 1..5040 correctly rounded to the x87's format
// (64-bit significand, to nearest), as MPFR computes it. The bits are the same on every machine
// that has MPFR; the x87's own logl is not correctly rounded and differs from vendor to vendor in
// the last place, so it is not used. From the top of the tree:
//   build/release/tools/hitblow-log-table > src/player/log_table.cpp
#include <cstdio>

#include "correct_log.h"
#include "player/extended.h"

int main() {
  std::printf(
      "// ln n for n = 1..%d, correctly rounded to a 64-bit significand (to nearest).\n"
      "// Made by tools/log_table.cpp; do not edit (see there to remake it).\n"
      "#include <cassert>\n#include <cstdint>\n\n#include \"player/extended.h\"\n\n"
      "namespace player {\n\nnamespace {\n\n"
      "struct LogBits {\n  std::uint64_t significand;\n  std::uint16_t exponent;\n};\n\n"
      "// Entry n - 1 holds ln n; all are positive but ln 1 = 0.\n"
      "constexpr LogBits k_logs[k_log_table_size] = {\n",
      player::k_log_table_size);
  constexpr int k_per_line = 3;
  for (int n = 1; n <= player::k_log_table_size; ++n) {
    const player::Extended value = tools::correctly_rounded_log(n);
    if ((n - 1) % k_per_line == 0) std::printf("   ");
    std::printf(" {0x%016llx, 0x%04x},", static_cast<unsigned long long>(value.significand),
                static_cast<unsigned>(value.exponent));
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
