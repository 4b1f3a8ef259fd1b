// Opening book: the computer's second guess, looked up by the answer to its first. Each row
// places digits of the first guess and digits it lacks; a digit pool built per call turns the
// row into a code, so the book itself holds no codes and fits every first guess.
#include <cassert>

#include "console/console.h"
#include "player/player.h"

namespace player {

namespace {

// Where a digit of the second guess comes from: D0..D3 are the first guess's digits, thousands
// first; U0..U5 are the six digits it lacks, in ascending order.
enum Source : int { D0, D1, D2, D3, U0, U1, U2, U3, U4, U5, k_source_count };

struct BookRow {
  ScoreCode answer;
  Source digits[4];  // thousands to units
};

// One row per answer a valid code can give, 20 excepted (that answer has ended the game). Rows
// 2 and 3 place the same digits, and so do 7, 10, 11 and 15: those answers are settled by the
// same probe.
constexpr BookRow k_book[] = {
    {0, {U0, U1, U2, U3}},   // nothing: four fresh digits
    {1, {D1, U0, U1, U2}},   // 1 blow
    {2, {D1, U0, D3, U1}},   // 2 blows
    {3, {D1, U0, D3, U1}},   // 3 blows
    {4, {D1, D0, D3, U0}},   // 4 blows
    {5, {D0, U0, U1, U2}},   // 1 hit
    {6, {D0, D1, U0, U1}},   // 1 hit 1 blow
    {7, {D0, D2, U0, U1}},   // 1 hit 2 blows
    {8, {D0, D1, D3, U0}},   // 1 hit 3 blows
    {10, {D0, D2, U0, U1}},  // 2 hits
    {11, {D0, D2, U0, U1}},  // 2 hits 1 blow
    {12, {D0, D2, D1, U0}},  // 2 hits 2 blows
    {15, {D0, D2, U0, U1}},  // 3 hits
};

// The first guess's digits followed by the digits 0..9 it lacks, ascending. A code with
// repeated or out-of-range digits lacks more than six; only the first six are kept, so the pool
// never overflows even for a first guess that breaks the caller's contract.
void fill_pool(Code first_guess, int (&pool)[k_source_count]) {
  const codes::Digits digits = codes::split_digits(first_guess);
  int size = 0;
  for (int position = 0; position < 4; ++position) pool[size++] = digits[position];
  for (int digit = 0; digit <= 9 && size < k_source_count; ++digit) {
    bool present = false;
    for (int position = 0; position < 4; ++position) present |= digits[position] == digit;
    if (!present) pool[size++] = digit;
  }
}

}  // namespace

Code opening_guess(Code first_guess, ScoreCode answer) {
  assert(codes::is_valid_code(first_guess) == 1);
  for (const BookRow& row : k_book) {
    if (row.answer != answer) continue;
    int pool[k_source_count];
    fill_pool(first_guess, pool);
    codes::Digits guess{};
    for (int position = 0; position < 4; ++position) guess[position] = pool[row.digits[position]];
    return codes::compose_digits(guess);
  }
  // An answer no code can give leaves no candidate, and next_guess opens the contradiction
  // dialog before it asks the book; reaching this line means a caller skipped that.
  console::print("Error!!!\n");
  console::pause_and_end(-1);
}

}  // namespace player
