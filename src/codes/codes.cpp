// Codes and scores: digit arithmetic on plain ints, and the two printers of a scored guess.
#include "codes/codes.h"

#include <bit>

#include "console/console.h"

namespace codes {

constexpr std::array<Digits, 10000> k_digits = [] {
  std::array<Digits, 10000> table{};
  for (int c = 0; c < 10000; ++c) table[c] = {c / 1000, c / 100 % 10, c / 10 % 10, c % 10};
  return table;
}();

Digits split_digits(Code code) {
  if (code >= 0 && code < 10000) return k_digits[static_cast<std::size_t>(code)];
  Digits digits{};
  for (int position = 3; position > 0; --position) {
    digits[position] = code % 10;
    code = (code - digits[position]) / 10;
  }
  digits[0] = code;
  return digits;
}

Code compose_digits(const Digits& digits) {
  return digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3];
}

int is_valid_code(Code code) {
  const Digits digits = split_digits(code);
  for (int i = 0; i < 4; ++i) {
    if (digits[i] < 0 || digits[i] > 9) return 0;
    for (int j = i + 1; j < 4; ++j) {
      if (digits[i] == digits[j]) return 0;
    }
  }
  return 1;
}

namespace {

// For the codes 0000..9999: the set of their digits as bits 0..9, and bit 10 when all four
// differ. Two such codes share as many digits as their sets do.
constexpr std::uint32_t k_all_differ = 1u << 10;
constexpr std::array<std::uint32_t, 10000> k_digit_sets = [] {
  std::array<std::uint32_t, 10000> sets{};
  for (std::size_t c = 0; c < sets.size(); ++c) {
    std::uint32_t set = 0;
    for (const int digit : k_digits[c]) set |= 1u << digit;
    sets[c] = std::popcount(set) == 4 ? set | k_all_differ : set;
  }
  return sets;
}();

// Sizes of the digit sets, looked up: without a popcount instruction the library call costs more.
constexpr std::array<std::uint8_t, 1024> k_set_sizes = [] {
  std::array<std::uint8_t, 1024> sizes{};
  for (std::size_t set = 0; set < sizes.size(); ++set) {
    sizes[set] = static_cast<std::uint8_t>(std::popcount(set));
  }
  return sizes;
}();

}  // namespace

ScoreCode score_guess(Code a, Code b) {
  // Between codes whose digits all differ, every shared digit is one equal pair: a hit (5) or
  // a blow (1). The filter scores by the million, so this common case skips the 16 pairs.
  if (a >= 0 && a < 10000 && b >= 0 && b < 10000) {
    const std::uint32_t shared = k_digit_sets[static_cast<std::size_t>(a)] &
                                 k_digit_sets[static_cast<std::size_t>(b)];
    if ((shared & k_all_differ) != 0) {
      const Digits& da = k_digits[static_cast<std::size_t>(a)];
      const Digits& db = k_digits[static_cast<std::size_t>(b)];
      const int hits = (da[0] == db[0]) + (da[1] == db[1]) + (da[2] == db[2]) + (da[3] == db[3]);
      return 4 * hits + k_set_sizes[shared & ~k_all_differ];
    }
  }
  const Digits da = split_digits(a);
  const Digits db = split_digits(b);
  ScoreCode score = 0;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      if (da[i] == db[j]) score += i == j ? 5 : 1;
    }
  }
  return score;
}

void print_scored(Code code, ScoreCode score) {
  console::print("%04d ", code);
  if (score / 5 > 0) console::print("%1dH", score / 5);
  if (score % 5 > 0) console::print("%1dB", score % 5);
  console::print(score == 0 ? "X " : " ");
}

void print_history(int rows, const Code* guesses_a, const ScoreCode* scores_a,
                   const Code* guesses_b, const ScoreCode* scores_b) {
  for (int i = 0; i < rows; ++i) {
    if (guesses_a != nullptr) print_scored(guesses_a[i], scores_a[i]);
    if (guesses_b != nullptr) print_scored(guesses_b[i], scores_b[i]);
    console::print("\n");
  }
}

}  // namespace codes
