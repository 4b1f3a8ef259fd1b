// The guess choice: the guess whose answer is expected to tell the computer the most.
//
// A guess splits the N candidates over the answers it can get; its split value is the sum, over
// the answers in ascending order that n > 0 candidates would give, of ln(n) * (-n / N). The
// logarithm, quotient, product and sum are taken in x87 extended precision (a 64-bit
// significand) and only the running value is rounded to double after each addition. Guesses
// whose histograms hold the same counts in different buckets add the same terms in a different
// order and can differ in the last bit; ties are decided on those exact doubles, so any other
// arithmetic would make the computer say different guesses. That arithmetic is done with
// integers (extended.h), so the computer is the same computer on every platform.
#include <algorithm>
#include <array>
#include <bit>
#include <bitset>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <vector>

// SSE2's psadbw and movemask for the tallies; the portable path is every other machine's, and
// x86-64's too when built with HITBLOW_PORTABLE_CHOICE, so that it is tested beside the fast one.
#if defined(__SSE2__) && !defined(HITBLOW_PORTABLE_CHOICE)
#define HITBLOW_CHOICE_SSE2 1
#include <emmintrin.h>
#else
#define HITBLOW_CHOICE_SSE2 0
#endif

#include "player/extended.h"
#include "player/player.h"

namespace player {

namespace {

// Every guess splits fewer than 5040 candidates, so its value is at least -ln N > -ln 5040 and
// the first guess examined always becomes the first best.
const double k_below_every_value = -to_double(log_of_count(codes::k_code_count));

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

// Every guess of every choice needs its digits: looked up, not divided out.
const codes::Digits& digits_of(Code code) { return codes::k_digits[static_cast<std::size_t>(code)]; }

// Sixteen candidates side by side, one byte each (GCC/Clang vector extension: SSE2 on x86-64).
// One vector becomes another of its size by reinterpret_cast, the extension's own conversion:
// std::bit_cast would be a call returning a vector, which GCC warns of where vectors have no
// registers (i386 without SSE).
using Lanes = std::uint8_t __attribute__((vector_size(16)));
constexpr int k_lanes = 16;

// The answers two valid codes can give each other; the other buckets stay empty.
constexpr int k_answer_count = 14;
constexpr std::uint8_t k_answers[k_answer_count] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 15, 20};

// A tally lane gains at most one per block of sixteen and holds 255, so longer candidate lists
// are counted in chunks of 255 blocks.
constexpr int k_chunk_blocks = 255;

// The candidates, laid out for scoring sixteen at a time. A candidate's score against a guess is
// the sum of four weights, one per position j of the guess: 5 when the candidate has the guess's
// digit d at j too (a hit), 1 when it has d elsewhere (a blow), else 0. Each candidate keeps its
// weights for all forty (d, j); stored by (d, j) and then by block of sixteen candidates, a block
// is scored with four loads and three additions. Lanes past the last candidate weigh 0
// everywhere and so score 0.
struct CandidateBlocks {
  int blocks = 0;
  int padding = 0;             // lanes past the last candidate, all in answer 0
  std::vector<Lanes> weights;  // index (digit * 4 + position) * blocks + block
};

CandidateBlocks gather_candidates(int count, const Code* table) {
  CandidateBlocks candidates;
  candidates.blocks = (count + k_lanes - 1) / k_lanes;
  candidates.padding = candidates.blocks * k_lanes - count;
  candidates.weights.assign(static_cast<std::size_t>(10 * 4 * candidates.blocks), Lanes{});
  for (int c = 0; c < count; ++c) {
    assert(codes::is_valid_code(table[c]) == 1);
    const codes::Digits& digits = digits_of(table[c]);
    for (int position = 0; position < 4; ++position) {
      for (int j = 0; j < 4; ++j) {
        Lanes& block =
            candidates.weights[(digits[position] * 4 + j) * candidates.blocks + c / k_lanes];
        block[c % k_lanes] = j == position ? 5 : 1;
      }
    }
  }
  return candidates;
}

// Sum of the sixteen bytes.
int sum_lanes(Lanes lanes) {
#if HITBLOW_CHOICE_SSE2
  // One instruction sums each half's eight bytes.
  const __m128i sums = _mm_sad_epu8(std::bit_cast<__m128i>(lanes), _mm_setzero_si128());
  return _mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4);
#else
  using Pairs = std::uint16_t __attribute__((vector_size(16)));
  using Halves = std::uint64_t __attribute__((vector_size(16)));
  Pairs pairs = reinterpret_cast<Pairs>(lanes);
  pairs = (pairs & 0xff) + (pairs >> 8);  // eight sums of at most 510
  const Halves halves = reinterpret_cast<Halves>(pairs);
  // The multiply gathers the four 16-bit sums of each half into its top 16 bits; the partial
  // sums stay below 2^16, so no carry crosses between them.
  constexpr std::uint64_t k_gather = 0x0001000100010001u;
  return static_cast<int>((halves[0] * k_gather >> 48) + (halves[1] * k_gather >> 48));
#endif
}

// One count per answer 0..20, padded with three empty buckets to whole vectors of four.
using Histogram = std::array<int, 24>;
using FourCounts = int __attribute__((vector_size(16)));
constexpr FourCounts k_zero_counts = {};

// How the candidates split over the answers to a guess with these digits.
// This function is performance-critical; please benchmark any change (hitblow_bench).
Histogram split_counts(const codes::Digits& guess, const CandidateBlocks& candidates) {
  const Lanes* rows[4];
  for (int j = 0; j < 4; ++j) {
    rows[j] = &candidates.weights[(guess[j] * 4 + j) * candidates.blocks];
  }
  // Cleared with whole-vector stores: a string store ("rep stos") would take longer to start
  // than the rest of a small split.
  Histogram histogram;
  for (std::size_t i = 0; i < histogram.size(); i += 4) {
    std::memcpy(&histogram[i], &k_zero_counts, sizeof k_zero_counts);
  }
  if (candidates.blocks == 1) {
    // Sixteen candidates or fewer, as late in a game: counting lane by lane beats fourteen
    // vector tallies and their sums.
    const Lanes score = rows[0][0] + rows[1][0] + rows[2][0] + rows[3][0];
    for (int lane = 0; lane < k_lanes - candidates.padding; ++lane) ++histogram[score[lane]];
    return histogram;
  }
  for (int start = 0; start < candidates.blocks; start += k_chunk_blocks) {
    const int end = std::min(candidates.blocks, start + k_chunk_blocks);
    Lanes tallies[k_answer_count];
#pragma GCC unroll 14
    for (Lanes& tally : tallies) tally = Lanes{};
    for (int b = start; b < end; ++b) {
      const Lanes score = rows[0][b] + rows[1][b] + rows[2][b] + rows[3][b];
      // A match is a lane of all ones, -1: subtracting it counts one. Unrolled, the tallies stay
      // in registers (at -O2 the compiler would otherwise keep them in memory).
#pragma GCC unroll 14
      for (int a = 0; a < k_answer_count; ++a) {
        tallies[a] -= reinterpret_cast<Lanes>(score == k_answers[a]);
      }
    }
    for (int a = 0; a < k_answer_count; ++a) histogram[k_answers[a]] += sum_lanes(tallies[a]);
  }
  histogram[0] -= candidates.padding;
  return histogram;
}

// The additions form one dependent chain through memory (each sum is rounded to double), which
// makes them the costliest part of a guess. A bucket of one adds ln(1) * (-1/N) = -0, which
// leaves every value as it was, to the bit; skipping those keeps the result and shortens the
// chain, above all for the small candidate counts late in a game.
// The buckets that hold more than one candidate, as bits by answer. Gathered without branches:
// which they are is anyone's guess, and a mispredicted branch per bucket costs more than the
// additions they lead to.
std::uint32_t shared_buckets(const Histogram& histogram) {
#if HITBLOW_CHOICE_SSE2
  const __m128i one = _mm_set1_epi32(1);
  const auto more_than_one = [&](int first) {
    const __m128i counts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&histogram[first]));
    return _mm_cmpgt_epi32(counts, one);
  };
  const __m128i low = _mm_packs_epi16(_mm_packs_epi32(more_than_one(0), more_than_one(4)),
                                      _mm_packs_epi32(more_than_one(8), more_than_one(12)));
  const __m128i high = _mm_packs_epi16(_mm_packs_epi32(more_than_one(16), more_than_one(20)),
                                       _mm_setzero_si128());
  return static_cast<std::uint32_t>(_mm_movemask_epi8(low)) |
         static_cast<std::uint32_t>(_mm_movemask_epi8(high)) << 16;
#else
  std::uint32_t shared = 0;
  for (int b = 0; b < codes::k_score_values; ++b) {
    shared |= static_cast<std::uint32_t>(histogram[b] > 1) << b;
  }
  return shared;
#endif
}

// The exact split value over the `shared` buckets, in ascending order.
double split_value(const Histogram& histogram, std::uint32_t shared,
                   const std::vector<Extended>& terms) {
  double value = 0.0;
  for (; shared != 0; shared &= shared - 1) {
    value = add_term(value, terms[histogram[std::countr_zero(shared)]]);
  }
  return value;
}

// The split value in plain double arithmetic, from the terms rounded to double: within 1e-13
// of the exact value (at most 13 terms, each sum below 9 in size, half a unit lost per step on
// either side), and several times quicker, as it needs no extended-precision round trips. On
// i386 the x87 may keep the sum unrounded, which only brings it closer to the exact value.
double rough_split_value(const Histogram& histogram, std::uint32_t shared,
                         const std::vector<double>& rough_terms) {
  double value = 0.0;
  for (; shared != 0; shared &= shared - 1) {
    value += rough_terms[histogram[std::countr_zero(shared)]];
  }
  return value;
}

// A guess whose rough value falls this far below the best can't reach it exactly, by a wide
// margin over the rough value's error.
constexpr double k_rough_margin = 1e-9;

// Two digits are twins when exchanging them everywhere maps the candidates onto themselves (any
// two digits that no candidate holds, for one). Guesses that differ only by exchanges of twins
// split the candidates alike, to the bit, and are candidates alike; the first of them in table
// order is weighed, and a later one could only tie with what is best by then, which it can't
// displace (a tie displaces only a non-candidate by a candidate, and once a candidate is best at
// a value, only a strictly greater value replaces it). So one look per family is enough. Late in
// a game most digits are twins of one another, and most of the table is skipped this way.
class TwinDigits {
 public:
  TwinDigits(int count, const Code* table) {
    std::bitset<10000> is_candidate;
    for (int c = 0; c < count; ++c) is_candidate[static_cast<std::size_t>(table[c])] = true;
    for (int digit = 0; digit < 10; ++digit) family_[digit] = digit;
    // Twinship is an equivalence (a product of exchanges that keep the set keeps it), so a
    // digit joins the family of the first smaller digit it is a twin of.
    for (int b = 1; b < 10; ++b) {
      for (int a = 0; a < b; ++a) {
        if (family_[a] != a || !exchange_keeps(a, b, count, table, is_candidate)) continue;
        family_[b] = a;
        any_twins_ = true;
        break;
      }
    }
  }

  // False when a guess of the same family came before in table order.
  bool first_of_its_family(const codes::Digits& guess) {
    if (!any_twins_) return true;
    // Twins can be exchanged freely, so a family is known by which family each place draws
    // from: a guess's own digits are all different, and any of them can be had from any other.
    int representative = 0;
    for (const int digit : guess) representative = representative * 10 + family_[digit];
    if (seen_[static_cast<std::size_t>(representative)]) return false;
    seen_[static_cast<std::size_t>(representative)] = true;
    return true;
  }

 private:
  static bool exchange_keeps(int a, int b, int count, const Code* table,
                             const std::bitset<10000>& is_candidate) {
    for (int c = 0; c < count; ++c) {
      codes::Digits digits = digits_of(table[c]);
      for (int& digit : digits) digit = digit == a ? b : digit == b ? a : digit;
      if (!is_candidate[static_cast<std::size_t>(codes::compose_digits(digits))]) return false;
    }
    return true;
  }

  bool any_twins_ = false;  // else every guess is a family of its own
  int family_[10];          // the smallest digit of each digit's family
  std::bitset<10000> seen_;  // families weighed so far, by the family of each place
};

}  // namespace

// Requires every entry of the table to be a valid code (the candidate table holds nothing else):
// the weights score codes with repeated digits wrongly.
Code choose_guess(int count, const Code* table) {
  assert(count >= 1 && count <= codes::k_code_count);
  if (count <= 2) return table[0];
  const int guess_count = guesses_to_examine(count);

  const CandidateBlocks candidates = gather_candidates(count, table);
  // Each answer's term, by the number of candidates that give it; the reference computes the
  // very same terms on the spot.
  std::vector<Extended> terms(static_cast<std::size_t>(count) + 1);
  std::vector<double> rough_terms(terms.size());
  for (int n = 1; n <= count; ++n) {
    terms[n] = split_term(n, count);
    rough_terms[n] = to_double(terms[n]);
  }

  TwinDigits twins(count, table);
  Choice best;
  for (int g = 0; g < guess_count; ++g) {
    assert(codes::is_valid_code(table[g]) == 1);
    const codes::Digits& digits = digits_of(table[g]);
    if (!twins.first_of_its_family(digits)) continue;
    const Histogram histogram = split_counts(digits, candidates);
    const std::uint32_t shared = shared_buckets(histogram);
    // Most guesses split worse than the best so far; the exact sum is kept for the rest.
    if (rough_split_value(histogram, shared, rough_terms) < best.value - k_rough_margin) continue;
    consider(best, table[g], split_value(histogram, shared, terms),
             histogram[codes::k_all_hits] > 0);
    // Every term is at most 0, so a best of 0 (no answer given by two candidates) can't be
    // beaten, and a later tie could only win as a candidate over a non-candidate. Candidates
    // come first, so a best of 0 is a candidate or the candidates are all behind: either way
    // the rest of the table can't change the choice. Small counts often end here early.
    if (best.value == 0.0) break;
  }
  return best.guess;
}

namespace {

// The score by its definition: split both codes and count the sixteen pairs of digits. The
// reference keeps to it so that it stays the plain version the fast choice is measured against.
ScoreCode score_by_pairs(Code a, Code b) {
  const codes::Digits da = codes::split_digits(a);
  const codes::Digits db = codes::split_digits(b);
  ScoreCode score = 0;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) score += da[i] == db[j] ? (i == j ? 5 : 1) : 0;
  }
  return score;
}

}  // namespace

Code choose_guess_reference(int count, const Code* table) {
  assert(count >= 1 && count <= codes::k_code_count);
  if (count <= 2) return table[0];
  const int guess_count = guesses_to_examine(count);

  Choice best;
  for (int g = 0; g < guess_count; ++g) {
    int histogram[codes::k_score_values] = {};
    for (int c = 0; c < count; ++c) {
      const ScoreCode score = score_by_pairs(table[c], table[g]);
      assert(score >= 0 && score < codes::k_score_values);
      ++histogram[score];
    }
    double value = 0.0;
    for (int b = 0; b < codes::k_score_values; ++b) {
      if (histogram[b] > 0) value = add_term(value, split_term(histogram[b], count));
    }
    consider(best, table[g], value, histogram[codes::k_all_hits] > 0);
  }
  return best.guess;
}

}  // namespace player
