// Codes and scores: the four-digit secrets of the game and the score of one against another.
// A code is a plain int read with leading zeros (123 is the code 0123); every operation here
// accepts any int, valid code or not, and none of them can fail.
#pragma once

#include <array>
#include <cstdint>

namespace codes {

using Code = std::int32_t;       // valid when its four digits are 0..9 and all differ
using ScoreCode = std::int32_t;  // 5 * hits + blows; 20 means the same code
using Digits = std::array<std::int32_t, 4>;  // position 0 is the thousands digit

constexpr int k_code_count = 5040;    // valid codes, 0123 to 9876
constexpr int k_score_values = 21;    // histograms of scores use one bucket for each of 0..20
constexpr ScoreCode k_all_hits = 20;  // the answer that ends the game

// Digit 3 is code % 10, and so on up; what remains after three steps is digit 0, so inputs of
// 10000 and more give a digit 0 above 9 and negative inputs give negative digits.
Digits split_digits(Code code);

// The digits of every code from 0000 to 9999, split in advance for loops that split codes by the
// million (scoring, the guess choice).
extern const std::array<Digits, 10000> k_digits;
Code compose_digits(const Digits& digits);

// 1 when every digit is in 0..9 and no two are equal, else 0.
int is_valid_code(Code code);

// Every pair of equal digits counts, 5 in the same position and 1 elsewhere, so codes with
// repeated digits score by the same pairwise rule. Symmetric in a and b.
ScoreCode score_guess(Code a, Code b);

// Writes the code as "%04d " and the score as "1H2B " (or "X " for nothing); no line break.
void print_scored(Code code, ScoreCode score);

// One row per turn: the scored guess of list a, then that of list b (either list may be null),
// then a line break.
void print_history(int rows, const Code* guesses_a, const ScoreCode* scores_a,
                   const Code* guesses_b, const ScoreCode* scores_b);

}  // namespace codes
