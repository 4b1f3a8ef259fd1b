// Codes and scores: digit arithmetic on plain ints, and the two printers of a scored guess.
#include "codes/codes.h"

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

ScoreCode score_guess(Code a, Code b) {
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
