// The guess choice: the guess whose answer is expected to tell the computer the most.
//
// A guess splits the N candidates over the answers it can get; its split value is the sum, over
// the answers in ascending order that n > 0 candidates would give, of ln(n) * (-n / N). The
// logarithm, quotient, product and sum are taken in x87 extended precision (long double with a
// 64-bit significand) and only the running value is rounded to double after each addition.
// Guesses whose histograms hold the same counts in different buckets add the same terms in a
// different order and can differ in the last bit; ties are decided on those exact doubles, so
// any other arithmetic would make the computer say different guesses.
#include <array>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "player/player.h"

namespace player {

static_assert(std::numeric_limits<long double>::digits == 64,
              "the guess choice needs long double with a 64-bit significand (x87 extended "
              "precision); with any other the split values, and so the guesses, would differ");

namespace {

// Every guess splits fewer than 5040 candidates, so its value is at least -ln N > -ln 5040 and
// the first guess examined always becomes the first best.
const double k_below_every_value = -std::log(static_cast<double>(codes::k_code_count));

// The best guess so far.
struct Choice {
  Code guess = 0;
  double value = k_below_every_value;
  bool is_candidate = false;
};

// A guess replaces the best when its value is strictly greater, or exactly equal while it could
// be the user's code and the best could not: then it may win outright. The candidates are
// examined before the eliminated codes, so on a tie the earlier guess already is a candidate
// whenever one reaches the best value; the second clause states that preference, it never
// overturns table order. With three candidates it comes down to "strictly greater".
void consider(Choice& best, Code guess, double value, bool is_candidate) {
  const bool better = value > best.value;
  const bool wins_tie = value == best.value && is_candidate && !best.is_candidate;
  if (!better && !wins_tie) return;
  best.guess = guess;
  best.value = value;
  best.is_candidate = is_candidate;
}

// How many guesses to examine: from four candidates on, every code (an eliminated one may split
// better); with three, only the candidates.
int guesses_to_examine(int count) { return count == 3 ? 3 : codes::k_code_count; }

// What the fast path needs of one code with four different digits. For two such codes the
// common digits are the bits both sets share and each hit is a zero nibble of the xor, so
// score = 5 * hits + blows = 4 * hits + common digits.
struct CodeKey {
  std::uint16_t digit_set;  // bit d set when d is one of the four digits
  std::uint16_t nibbles;    // digit at position 0 in bits 12..15, position 3 in bits 0..3
};

CodeKey key_of(Code code) {
  const codes::Digits digits = codes::split_digits(code);
  CodeKey key{0, 0};
  for (int position = 0; position < 4; ++position) {
    key.digit_set = static_cast<std::uint16_t>(key.digit_set | 1u << digits[position]);
    key.nibbles = static_cast<std::uint16_t>(key.nibbles << 4 | digits[position]);
  }
  return key;
}

// Bits set in each 10-bit digit set; the baseline x86-64 target has no popcount instruction.
struct BitCounts {
  std::uint8_t of[1 << 10];
};

constexpr BitCounts make_bit_counts() {
  BitCounts counts{};
  for (int set = 1; set < (1 << 10); ++set) {
    counts.of[set] = static_cast<std::uint8_t>(counts.of[set >> 1] + (set & 1));
  }
  return counts;
}

constexpr BitCounts k_bit_counts = make_bit_counts();

inline int fast_score(CodeKey a, CodeKey b) {
  // Fold each nibble of the xor onto its low bit: that bit is 1 exactly where the digits differ.
  unsigned differ = static_cast<unsigned>(a.nibbles ^ b.nibbles);
  differ |= differ >> 1;
  differ |= differ >> 2;
  differ &= 0x1111u;
  // The multiply sums the four flag bits into bits 12..14 (at most 4, so no carry out).
  const int misses = static_cast<int>((differ * 0x1111u) >> 12 & 7u);
  const int common = k_bit_counts.of[a.digit_set & b.digit_set];
  return 4 * (4 - misses) + common;
}

using Histogram = std::array<int, codes::k_score_values>;

// How the `count` candidates split over the answers to `guess`.
// This function is performance-critical; please benchmark any change (hitblow_bench).
Histogram split_counts(CodeKey guess, const CodeKey* candidates, int count) {
  // Four interleaved histograms, so that consecutive candidates landing in the same bucket don't
  // wait on each other's increments.
  int lanes[4][32] = {};
  int c = 0;
  for (; c + 4 <= count; c += 4) {
    ++lanes[0][fast_score(guess, candidates[c])];
    ++lanes[1][fast_score(guess, candidates[c + 1])];
    ++lanes[2][fast_score(guess, candidates[c + 2])];
    ++lanes[3][fast_score(guess, candidates[c + 3])];
  }
  for (; c < count; ++c) ++lanes[0][fast_score(guess, candidates[c])];
  Histogram histogram{};
  for (int b = 0; b < codes::k_score_values; ++b) {
    histogram[b] = lanes[0][b] + lanes[1][b] + lanes[2][b] + lanes[3][b];
  }
  return histogram;
}

// The share of an answer that n of the `count` candidates give, in extended precision. The
// reference computes the very same expression inline; long double holds it exactly in memory,
// so looking it up gives the same bits as computing it on the spot.
long double split_term(int n, int count) {
  return std::log(static_cast<long double>(n)) * (-static_cast<long double>(n) / count);
}

double split_value(const Histogram& histogram, const std::vector<long double>& terms) {
  double value = 0.0;
  for (int b = 0; b < codes::k_score_values; ++b) {
    if (histogram[b] > 0) value = static_cast<double>(value + terms[histogram[b]]);
  }
  return value;
}

}  // namespace

// Requires every entry of the table to be a valid code (the candidate table holds nothing else):
// the digit-set score is only right for codes with four different digits.
Code choose_guess(int count, const Code* table) {
  assert(count >= 1 && count <= codes::k_code_count);
  if (count <= 2) return table[0];
  const int guess_count = guesses_to_examine(count);

  // The candidates are the table's first entries, so one gathered array serves as both the
  // candidates and the guesses.
  std::vector<CodeKey> keys(static_cast<std::size_t>(guess_count));
  for (int i = 0; i < guess_count; ++i) {
    assert(codes::is_valid_code(table[i]) == 1);
    keys[i] = key_of(table[i]);
  }
  std::vector<long double> terms(static_cast<std::size_t>(count) + 1);
  for (int n = 1; n <= count; ++n) terms[n] = split_term(n, count);

  Choice best;
  for (int g = 0; g < guess_count; ++g) {
    const Histogram histogram = split_counts(keys[g], keys.data(), count);
    consider(best, table[g], split_value(histogram, terms), histogram[codes::k_all_hits] > 0);
  }
  return best.guess;
}

Code choose_guess_reference(int count, const Code* table) {
  assert(count >= 1 && count <= codes::k_code_count);
  if (count <= 2) return table[0];
  const int guess_count = guesses_to_examine(count);

  Choice best;
  for (int g = 0; g < guess_count; ++g) {
    int histogram[codes::k_score_values] = {};
    for (int c = 0; c < count; ++c) {
      const ScoreCode score = codes::score_guess(table[c], table[g]);
      assert(score >= 0 && score < codes::k_score_values);
      ++histogram[score];
    }
    double value = 0.0;
    for (int b = 0; b < codes::k_score_values; ++b) {
      if (histogram[b] == 0) continue;
      const long double n = histogram[b];
      value = static_cast<double>(value + std::log(n) * (-n / count));
    }
    consider(best, table[g], value, histogram[codes::k_all_hits] > 0);
  }
  return best.guess;
}

}  // namespace player
