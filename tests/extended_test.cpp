// The guess choice's integer arithmetic against the x87 itself. Where long double is the x87's
// 80-bit type (x86-64 or i386, with glibc), the hardware's correctly rounded operations are the
// witness: every term the game can form and millions of running sums are compared bit for bit.
// Everywhere else, the terms' digest proves that the platform computes the bits the hardware
// gave. The logarithm table's witness is MPFR, where the build has it.
#include "player/extended.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "test_random.h"
#if HITBLOW_HAS_MPFR
#include "correct_log.h"
#endif

namespace {

using player::add_term;
using player::Extended;
using player::split_term;

#if (defined(__x86_64__) || defined(__i386__)) && LDBL_MANT_DIG == 64 && defined(__GLIBC__)
#define HITBLOW_X87_WITNESS 1
#else
#define HITBLOW_X87_WITNESS 0
#endif

// FNV-1a over the bits of every term ln(n) * (-n / N), 3 <= N <= 5040, 1 <= n <= N: the counts
// the choice can meet. It covers every entry of the logarithm table, so where MPFR is missing it
// vouches for the table too. TermsMatchTheHardware re-derives it with the x87's product and
// quotient, which are correctly rounded, hence the same on every x87.
constexpr std::uint64_t k_terms_digest = 0xa66bf468d009c619u;

struct Digest {
  std::uint64_t value = 0xcbf29ce484222325u;
  void add(std::uint64_t word) {
    for (int byte = 0; byte < 8; ++byte, word >>= 8)
      value = (value ^ (word & 0xff)) * 0x100000001b3u;
  }
  void add(const Extended& term) {
    add(term.significand);
    add(std::uint64_t{term.exponent} | std::uint64_t{term.negative} << 16);
  }
};

template <class Visit>
void for_each_term(Visit visit) {
  for (int count = 3; count <= player::k_log_table_size; ++count) {
    for (int n = 1; n <= count; ++n) visit(n, count, split_term(n, count));
  }
}

TEST(Extended, TermsHaveTheHardwareDigest) {
  Digest digest;
  for_each_term([&](int, int, const Extended& term) { digest.add(term); });
  EXPECT_EQ(digest.value, k_terms_digest) << std::hex << "digest 0x" << digest.value;
}

#if HITBLOW_HAS_MPFR
// The table holds ln n rounded once to 64 bits, as MPFR computes it. No CPU's logl is the witness:
// the x87's logarithm is not correctly rounded, and Intel's and AMD's differ in the last place.
TEST(Extended, LogTableIsCorrectlyRounded) {
  for (int n = 1; n <= player::k_log_table_size; ++n) {
    const Extended got = player::log_of_count(n), want = tools::correctly_rounded_log(n);
    ASSERT_EQ(got.significand, want.significand) << "ln " << n;
    ASSERT_EQ(got.exponent, want.exponent) << "ln " << n;
    ASSERT_FALSE(got.negative) << "ln " << n;
  }
}
#endif

TEST(Extended, RoundingToDoubleKeepsSignAndRoundsTiesToEven) {
  const double tie_low = 1.0 + 0x1p-52;  // halfway to the next double up: odd, so it rounds up
  static const struct {
    Extended value;
    double want;
    const char* why;
  } cases[] = {
      {{0, 0, true}, -0.0, "negative zero, as ln 1 times a negative quotient"},
      {{0x8000000000000400u, 0x3fff, false}, 1.0, "tie below an even double stays"},
      {{0x8000000000000c00u, 0x3fff, false}, 1.0 + 0x1p-51, "tie above an odd double rounds up"},
      {{0x8000000000000401u, 0x3fff, true}, -tie_low, "just past the tie rounds up, sign kept"},
      {{0xfffffffffffffc00u, 0x3fff, false}, 2.0, "rounding up carries into the exponent"},
  };
  for (const auto& c : cases) {
    const double got = player::to_double(c.value);
    EXPECT_EQ(std::memcmp(&got, &c.want, sizeof got), 0) << c.why << ": got " << got;
  }
}

// Rounding m * 2^scale to 64 bits: the first dropped bit is the half, the rest and the sticky
// flag break a tie, which goes to the even significand. Every row's m reaches past 64 bits but
// the first, and every result is read as kept * 2^scale.
TEST(Extended, WideRoundsToNearestTiesToEven) {
  constexpr std::uint64_t k_top = std::uint64_t{1} << 63, k_ones = ~std::uint64_t{0};
  static const struct {
    player::wide::Wide m;
    bool sticky;
    std::uint64_t kept;
    int scale;
    const char* why;
  } cases[] = {
      {{0, 1}, false, k_top, -63, "one bit, moved to the top"},
      {{1, 1}, false, k_top, 1, "a tie below an even significand stays"},
      {{1, 1}, true, k_top + 1, 1, "the sticky flag makes that tie above half"},
      {{1, 3}, false, k_top + 2, 1, "a tie above an odd significand rounds up"},
      {{2, 2}, false, k_top, 2, "a tie two bits down"},
      {{2, 3}, false, k_top + 1, 2, "a bit below the half: above half"},
      {{2, 1}, true, k_top, 2, "below half: the sticky flag can't lift it"},
      {{1, k_ones}, false, k_top, 2, "all ones round up into the next power of two"},
      {{k_top, k_top}, false, k_top, 64, "a tie at the boundary of the halves"},
      {{k_top, k_top | 1}, false, k_top + 1, 64, "the low half's last bit breaks it"},
  };
  for (const auto& c : cases) {
    for (const bool negative : {false, true}) {
      const Extended got = player::wide::round_to_extended(c.m, 0, c.sticky, negative);
      EXPECT_EQ(got.significand, c.kept) << c.why;
      EXPECT_EQ(got.exponent - 16383 - 63, c.scale) << c.why;
      EXPECT_EQ(got.negative, negative) << c.why;
    }
  }
}

// The two-half integers against the compiler's 128-bit type: products, carries, every shift.
#if defined(__SIZEOF_INT128__)
TEST(Extended, WideMatchesInt128) {
  using player::wide::Wide;
  __extension__ typedef unsigned __int128 U128;
  const auto as_u128 = [](Wide m) { return U128{m.high} << 64 | m.low; };
  std::mt19937_64 random(testing_support::test_seed());
  std::vector<std::uint64_t> values = {0,
                                       1,
                                       0xffffffffu,
                                       0x100000000u,
                                       ~std::uint64_t{0},
                                       std::uint64_t{1} << 63,
                                       0xffffffff00000000u};
  for (int i = 0; i < 8; ++i) values.push_back(random());
  for (const std::uint64_t a : values) {
    for (const std::uint64_t b : values) {
      const Wide m{a, b};
      EXPECT_EQ(as_u128(player::wide::multiply(a, b)), U128{a} * b) << a << " * " << b;
      EXPECT_EQ(as_u128(player::wide::add(m, {b, a})), as_u128(m) + as_u128({b, a})) << a;
      for (int shift = 0; shift < 128; ++shift) {
        ASSERT_EQ(as_u128(player::wide::shift_left(m, shift)), as_u128(m) << shift) << shift;
        ASSERT_EQ(as_u128(player::wide::shift_right(m, shift)), as_u128(m) >> shift) << shift;
        ASSERT_EQ(player::wide::any_below(m, shift), (as_u128(m) & ((U128{1} << shift) - 1)) != 0)
            << a << " " << b << " below " << shift;
      }
    }
  }
}
#endif

#if HITBLOW_X87_WITNESS

Extended from_hardware(long double value) {
  Extended bits{};
  unsigned char bytes[sizeof value];
  std::memcpy(bytes, &value, sizeof value);
  std::uint16_t sign_and_exponent;
  std::memcpy(&bits.significand, bytes, 8);
  std::memcpy(&sign_and_exponent, bytes + 8, 2);
  bits.exponent = sign_and_exponent & 0x7fff;
  bits.negative = (sign_and_exponent & 0x8000) != 0;
  return bits;
}

long double to_hardware(const Extended& bits) {
  long double value = 0;
  unsigned char bytes[sizeof value] = {};
  const std::uint16_t sign_and_exponent =
      static_cast<std::uint16_t>(bits.exponent | (bits.negative ? 0x8000 : 0));
  std::memcpy(bytes, &bits.significand, 8);
  std::memcpy(bytes + 8, &sign_and_exponent, 2);
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

bool same_bits(const Extended& a, const Extended& b) {
  return a.significand == b.significand && a.exponent == b.exponent && a.negative == b.negative;
}

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The hardware's step of a split value: the sum in extended precision, stored as a double. The
// store is made explicit: on i386 every double passes through the x87's registers, and GCC may
// keep one there, unrounded, from one sum to the next.
double hardware_add(double value, long double term) {
  const volatile double stored = static_cast<double>(value + term);
  return stored;
}

TEST(Extended, TermsMatchTheHardware) {
  Digest digest;
  long long checked = 0;
  for_each_term([&](int n, int count, const Extended& term) {
    const long double log = to_hardware(player::log_of_count(n));
    const long double quotient = -static_cast<long double>(n) / count;
    const Extended want = from_hardware(log * quotient);
    if (!same_bits(term, want)) {
      ADD_FAILURE() << "term n " << n << ", N " << count;
      return;
    }
    digest.add(want);
    ++checked;
  });
  EXPECT_EQ(checked, 12'703'317);
  EXPECT_EQ(digest.value, k_terms_digest) << std::hex << "hardware digest 0x" << digest.value;
}

// Random histograms as the choice meets them (up to 14 answers, counts of at most N), summed in
// ascending order, every step compared.
TEST(Extended, RunningSumsMatchTheHardware) {
  const unsigned seed = testing_support::test_seed();
  std::mt19937_64 random(seed);
  const int sequences = testing_support::k_sanitized ? 300'000 : 2'000'000;
  long long steps = 0;
  for (int sequence = 0; sequence < sequences; ++sequence) {
    const int count = 3 + static_cast<int>(random() % (player::k_log_table_size - 2));
    const int terms = 1 + static_cast<int>(random() % 14);
    double value = 0.0;
    double hardware = 0.0;
    for (int t = 0; t < terms; ++t) {
      // Small counts are the common ones late in a game; draw them as often as the rest.
      const int n = 1 + static_cast<int>(random() % (random() % 2 ? count : std::min(count, 12)));
      const Extended term = split_term(n, count);
      value = add_term(value, term);
      hardware = hardware_add(hardware, to_hardware(term));
      ASSERT_TRUE(same_bits(value, hardware))
          << "seed " << seed << ", sequence " << sequence << ", N " << count << ", step " << t;
      ++steps;
    }
  }
  std::printf("%d sequences, %lld sums compared\n", sequences, steps);
}

// Sums that land on, or a few units beside, the midpoint between two doubles: there the second
// rounding decides, and a wrong tie rule or a lost sticky bit shows.
TEST(Extended, SumsBesideADoubleTieMatchTheHardware) {
  const unsigned seed = testing_support::test_seed();
  std::mt19937_64 random(seed);
  std::uniform_real_distribution<double> values(-9.0, -1e-3);
  std::uniform_real_distribution<double> terms(-1.0, -1e-4);
  int exact_ties = 0;
  const int trials = testing_support::k_sanitized ? 50'000 : 400'000;
  for (int trial = 0; trial < trials; ++trial) {
    const double value = values(random);
    const double near = value + terms(random);
    const long double midpoint = (static_cast<long double>(near) + std::nextafter(near, -10.0)) / 2;
    const long double term = midpoint - value;
    exact_ties += value + term == midpoint;
    long double nudged = term;
    for (int k = 0; k < 3; ++k) nudged = std::nextafterl(nudged, 0.0L);
    for (int k = -3; k <= 3; ++k, nudged = std::nextafterl(nudged, -10.0L)) {
      ASSERT_TRUE(same_bits(add_term(value, from_hardware(nudged)), hardware_add(value, nudged)))
          << "seed " << seed << ", trial " << trial << ", " << k << " units from the tie";
    }
  }
  EXPECT_GT(exact_ties, trials / 2) << "the trials should mostly land on the tie itself";
}

#endif  // HITBLOW_X87_WITNESS

}  // namespace
