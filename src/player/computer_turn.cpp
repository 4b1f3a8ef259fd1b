// The computer's turn: narrow the candidates, think aloud, and name the next guess.
#include <climits>

#include "console/console.h"
#include "player/player.h"

namespace player {

namespace {

enum : int {
  k_thinking = 0,
  k_remaining = 1,
  k_book_guess = 2,
};
constexpr int k_none = -1;

// What the computer says by the number of candidates left, first matching row wins: a remark
// before choosing, optionally the first `listed` candidates, then the guess.
struct Comment {
  int min_count;
  int max_count;
  int remark;   // slot, or k_none
  int listing;  // slot that shows the first `listed` candidates, or k_none
  int listed;
  int guess;  // slot that names the guess
};
constexpr Comment k_comments[] = {
    {1, 1, 3, k_none, 0, 4},
    {2, 2, 5, 6, 2, 7},
    {3, 3, 8, 9, 3, 10},
    {4, 4, 11, 12, 4, 13},
    {5, 9, 14, k_none, 0, 15},
    {201, INT_MAX, 16, k_none, 0, 17},
    {10, 200, k_none, k_none, 0, 20},
};

const Comment& comment_for(int count) {
  for (const Comment& row : k_comments) {
    if (count >= row.min_count && count <= row.max_count) return row;
  }
  return k_comments[0];  // unreachable: the rows cover every count from 1 up
}

}  // namespace

Code next_guess(const Code* guesses, const ScoreCode* answers, int rows) {
  build_candidates();
  console::print_slot(k_thinking);
  candidate_count =
      filter_candidates(candidate_count, candidate_table.data(), rows, guesses, answers);
  if (candidate_count < 1) contradiction_dialog(rows, guesses, answers);
  console::print_slot(k_remaining, candidate_count);

  if (rows == 1) {
    const Code guess = opening_guess(guesses[0], answers[0]);
    console::print_slot(k_book_guess, guess);
    return guess;
  }

  const Comment& comment = comment_for(candidate_count);
  if (comment.remark != k_none) console::print_slot(comment.remark);
  if (comment.listing != k_none) {
    console::print_slot_values(comment.listing, candidate_table.data(), comment.listed);
  }
  const Code guess = choose_guess(candidate_count, candidate_table.data());
  console::print_slot(comment.guess, guess);
  return guess;
}

}  // namespace player
