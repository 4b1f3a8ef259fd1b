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

using wide::Wide;

namespace {

constexpr std::uint64_t k_low_32 = 0xffffffffu;

// Bit `bit` of m, for 0 <= bit < 128.
bool bit_at(Wide m, int bit) {
  return ((bit >= 64 ? m.high >> (bit - 64) : m.low >> bit) & 1) != 0;
}

constexpr int k_extended_bias = 16383;
constexpr int k_double_bias = 1023;
constexpr int k_double_fraction_bits = 52;
constexpr int k_dropped_for_double = 63 - k_double_fraction_bits;  // 11 bits of 64 don't fit

bool is_zero(Extended value) { return value.significand == 0; }

// The power of two the significand's last bit is worth.
int scale_of(Extended value) { return value.exponent - k_extended_bias - 63; }

int bit_width(Wide m) {
  if (m.high != 0) return 128 - std::countl_zero(m.high);
  return 64 - std::countl_zero(m.low);
}

}  // namespace

namespace wide {

// The full product of two 64-bit integers, from four 32-bit ones.
Wide multiply(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t a_low = a & k_low_32, a_high = a >> 32;
  const std::uint64_t b_low = b & k_low_32, b_high = b >> 32;
  const std::uint64_t low_low = a_low * b_low;
  const std::uint64_t low_high = a_low * b_high;
  const std::uint64_t high_low = a_high * b_low;
  // Three numbers below 2^32: their sum can't overflow.
  const std::uint64_t middle = (low_low >> 32) + (low_high & k_low_32) + (high_low & k_low_32);
  return {a_high * b_high + (low_high >> 32) + (high_low >> 32) + (middle >> 32),
          middle << 32 | (low_low & k_low_32)};
}

Wide add(Wide a, Wide b) {
  const std::uint64_t low = a.low + b.low;
  return {a.high + b.high + (low < a.low ? 1u : 0u), low};
}

Wide shift_left(Wide m, int shift) {
  if (shift == 0) return m;
  if (shift >= 64) return {m.low << (shift - 64), 0};
  return {m.high << shift | m.low >> (64 - shift), m.low << shift};
}

Wide shift_right(Wide m, int shift) {
  if (shift == 0) return m;
  if (shift >= 64) return {0, m.high >> (shift - 64)};
  return {m.high >> shift, m.low >> shift | m.high << (64 - shift)};
}

bool any_below(Wide m, int bits) {
  if (bits == 0) return false;
  if (bits >= 64) return m.low != 0 || (m.high & ((std::uint64_t{1} << (bits - 64)) - 1)) != 0;
  return (m.low & ((std::uint64_t{1} << bits) - 1)) != 0;
}

Extended round_to_extended(Wide m, int scale, bool sticky, bool negative) {
  assert(m.high != 0 || m.low != 0);
  const int width = bit_width(m);
  std::uint64_t kept;
  if (width <= 64) {
    assert(!sticky);
    kept = m.low << (64 - width);
    scale -= 64 - width;
  } else {
    // The first dropped bit is worth half a unit of the last kept one: above half when a bit
    // below it is set too, a tie when none is.
    const int drop = width - 64;
    kept = shift_right(m, drop).low;
    const bool half = bit_at(m, drop - 1);
    const bool up = half && (any_below(m, drop - 1) || sticky || (kept & 1) != 0);
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

}  // namespace wide

using namespace wide;

namespace {

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
  return round_to_extended(add(shift_left({0, high}, k_step), {0, low}), -2 * k_step, sticky,
                           negative);
}

Extended product(Extended a, Extended b) {
  const bool negative = a.negative != b.negative;
  if (is_zero(a) || is_zero(b)) return {0, 0, negative};
  return round_to_extended(multiply(a.significand, b.significand), scale_of(a) + scale_of(b), false,
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
  const Wide larger = shift_left({0, a.significand}, k_headroom);
  Wide smaller = shift_left({0, b.significand}, k_headroom);
  bool sticky = false;
  if (shift >= 127) {
    smaller = {0, 0};
    sticky = true;
  } else {
    sticky = any_below(smaller, shift);
    smaller = shift_right(smaller, shift);
  }
  return round_to_extended(add(larger, smaller), scale_of(a) - k_headroom, sticky, a.negative);
}

}  // namespace

// Every choice forms its table of terms here. round_to_extended has its own symbol for its tests,
// which would keep the compiler from inlining it; flatten inlines it all the same.
[[gnu::flatten]] Extended split_term(int n, int count) {
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
