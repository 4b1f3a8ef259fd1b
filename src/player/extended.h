// The guess choice's arithmetic: x87 extended precision (64-bit significand, round to nearest,
// ties to even), carried out with integers so that every platform computes the very same bits,
// whatever its long double is. Only the three operations a split value takes are here.
#pragma once

#include <cstdint>

namespace player {

// A value of the x87's 80-bit format, as its bits: value = significand * 2^(exponent - 16383 -
// 63), sign apart. The significand's top bit is set, except for zero (all fields 0).
struct Extended {
  std::uint64_t significand;
  std::uint16_t exponent;  // biased by 16383, as the hardware stores it
  bool negative;
};

// The largest n whose logarithm the table holds: every candidate count is at most this.
constexpr int k_log_table_size = 5040;

// ln n correctly rounded to the x87's format (64-bit significand, to nearest), for
// 1 <= n <= k_log_table_size: a table, the same bits on every machine.
Extended log_of_count(int n);

// ln(n) * (-n / count) in extended precision: the quotient rounded, then the product rounded.
// The term of an answer that n of the `count` candidates give. Requires
// 1 <= n <= count <= k_log_table_size.
Extended split_term(int n, int count);

// The double nearest to `value` + `term`, rounded twice as the hardware does: the sum to
// extended precision, then that to double. Requires the two to share a sign, or either to be
// zero: a split value and its terms are never positive.
double add_term(double value, Extended term);

// `value` rounded once, to the nearest double.
double to_double(Extended value);

// The unsigned 128-bit integers the operations above round from, as two 64-bit halves: GCC and
// Clang have unsigned __int128 only on 64-bit targets, and these give the same bits on every
// target. Declared here for their tests; the game uses only the operations above.
namespace wide {

struct Wide {
  std::uint64_t high;
  std::uint64_t low;
};

Wide multiply(std::uint64_t a, std::uint64_t b);  // the full product
Wide add(Wide a, Wide b);                         // modulo 2^128
Wide shift_left(Wide m, int shift);               // 0 <= shift < 128; the top bits are lost
Wide shift_right(Wide m, int shift);              // 0 <= shift < 128
bool any_below(Wide m, int bits);                 // any of the lowest `bits` (< 128) set

// m * 2^scale (m > 0) rounded to 64 significant bits, to nearest, ties to even. `sticky` says
// that nonzero bits lie below m's last one, which can only break a tie: m must then reach past
// 64 bits.
Extended round_to_extended(Wide m, int scale, bool sticky, bool negative);

}  // namespace wide

}  // namespace player
