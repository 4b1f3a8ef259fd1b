// x87 extended-precision arithmetic for the split values, with integers only.
//
// Each operation forms its exact result (or enough of its leading bits, with a flag for the
// rest) in a 128-bit integer and rounds it once to a 64-bit significand, to nearest, ties to
// even, as the x87 does with its precision control at 64 bits. Values here are far from the
// format's limits: no overflow, underflow or subnormal can arise, and asserts say so.
#include "player/extended.h"

#include <bit>
#include <cassert>
#include <cstdint>
#include <utility>

namespace player {

namespace {

__extension__ using Wide = unsigned __int128;

constexpr int k_extended_bias = 16383;
constexpr int k_double_bias = 1023;
constexpr int k_double_fraction_bits = 52;
constexpr int k_dropped_for_double = 63 - k_double_fraction_bits;  // 11 bits of 64 don't fit

bool is_zero(Extended value) { return value.significand == 0; }

// The power of two the significand's last bit is worth.
int scale_of(Extended value) { return value.exponent - k_extended_bias - 63; }

int bit_width(Wide m) {
  const auto high = static_cast<std::uint64_t>(m >> 64);
  if (high != 0) return 128 - std::countl_zero(high);
  return 64 - std::countl_zero(static_cast<std::uint64_t>(m));
}

// m * 2^scale (m > 0), rounded to 64 significant bits. `sticky` says that nonzero bits lie
// below m's last one; it can only break a tie, so m must then reach past 64 bits.
Extended round_to_extended(Wide m, int scale, bool sticky, bool negative) {
  assert(m != 0);
  const int width = bit_width(m);
  std::uint64_t kept;
  if (width <= 64) {
    assert(!sticky);
    kept = static_cast<std::uint64_t>(m) << (64 - width);
    scale -= 64 - width;
  } else {
    const int drop = width - 64;
    kept = static_cast<std::uint64_t>(m >> drop);
    const Wide rest = m & ((Wide{1} << drop) - 1);
    const Wide half = Wide{1} << (drop - 1);
    const bool up = rest > half || (rest == half && (sticky || (kept & 1) != 0));
    scale += drop;
    if (up && ++kept == 0) {  // 0xfff...f rounded up: the next power of two
      kept = std::uint64_t{1} << 63;
      ++scale;
    }
  }
  const int exponent = scale + 63 + k_extended_bias;
  assert(exponent > 0 && exponent < 0x7fff);
  return {kept, static_cast<std::uint16_t>(exponent), negative};
}

// n / count rounded: the quotient's leading 100 bits by two 64-bit long divisions, which leaves
// at least 87 significant bits, and whether anything remained.
Extended quotient(int n, int count, bool negative) {
  assert(n > 0 && count > 0 && count < (1 << 13) && n < (1 << 13));
  constexpr int k_step = 50;  // a remainder below 2^13 shifted by 50 still fits 64 bits
  const std::uint64_t numerator = static_cast<std::uint64_t>(n) << k_step;
  const std::uint64_t high = numerator / static_cast<std::uint64_t>(count);
  const std::uint64_t carried = (numerator % static_cast<std::uint64_t>(count)) << k_step;
  const std::uint64_t low = carried / static_cast<std::uint64_t>(count);
  const bool sticky = carried % static_cast<std::uint64_t>(count) != 0;
  return round_to_extended((Wide{high} << k_step) | low, -2 * k_step, sticky, negative);
}

Extended product(Extended a, Extended b) {
  const bool negative = a.negative != b.negative;
  if (is_zero(a) || is_zero(b)) return {0, 0, negative};
  return round_to_extended(Wide{a.significand} * b.significand, scale_of(a) + scale_of(b), false,
                           negative);
}

// A nonzero normal double, exactly, in the 64-bit format.
Extended from_double(double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const int biased = static_cast<int>(bits >> k_double_fraction_bits) & 0x7ff;
  assert(biased > 0 && biased < 0x7ff);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << k_double_fraction_bits) - 1);
  const std::uint64_t significand = (fraction | std::uint64_t{1} << k_double_fraction_bits)
                                    << k_dropped_for_double;
  const int exponent = biased - k_double_bias + k_extended_bias;
  return {significand, static_cast<std::uint16_t>(exponent), (bits >> 63) != 0};
}

// a + b for two nonzero values of one sign: the larger's significand at bits 62..125, the
// smaller's shifted into place below it; what falls off the bottom only matters as a flag.
Extended sum_same_sign(Extended a, Extended b) {
  assert(a.negative == b.negative);
  if (scale_of(a) < scale_of(b)) std::swap(a, b);
  const int shift = scale_of(a) - scale_of(b);
  constexpr int k_headroom = 62;
  const Wide larger = Wide{a.significand} << k_headroom;
  Wide smaller = Wide{b.significand} << k_headroom;
  bool sticky = false;
  if (shift >= 127) {
    smaller = 0;
    sticky = true;
  } else if (shift > 0) {
    sticky = (smaller & ((Wide{1} << shift) - 1)) != 0;
    smaller >>= shift;
  }
  return round_to_extended(larger + smaller, scale_of(a) - k_headroom, sticky, a.negative);
}

}  // namespace

Extended split_term(int n, int count) {
  assert(n >= 1 && n <= count && count <= k_log_table_size);
  return product(log_of_count(n), quotient(n, count, true));
}

double to_double(Extended value) {
  if (is_zero(value)) return value.negative ? -0.0 : 0.0;
  std::uint64_t kept = value.significand >> k_dropped_for_double;
  const std::uint64_t rest = value.significand & ((std::uint64_t{1} << k_dropped_for_double) - 1);
  const std::uint64_t half = std::uint64_t{1} << (k_dropped_for_double - 1);
  int exponent = value.exponent - k_extended_bias + k_double_bias;
  if (rest > half || (rest == half && (kept & 1) != 0)) {
    if (++kept == std::uint64_t{1} << (k_double_fraction_bits + 1)) {
      kept >>= 1;
      ++exponent;
    }
  }
  assert(exponent > 0 && exponent < 0x7ff);
  const std::uint64_t bits = std::uint64_t{value.negative} << 63 |
                             static_cast<std::uint64_t>(exponent) << k_double_fraction_bits |
                             (kept & ((std::uint64_t{1} << k_double_fraction_bits) - 1));
  return std::bit_cast<double>(bits);
}

// This function is performance-critical (every exact split value); please benchmark changes.
double add_term(double value, Extended term) {
  // A zero term leaves any value as it was, -0 added to +0 included; a zero value leaves the
  // term exact, so only its rounding to double remains.
  if (is_zero(term)) return value;
  if (value == 0.0) return to_double(term);
  return to_double(sum_same_sign(from_double(value), term));
}

}  // namespace player
