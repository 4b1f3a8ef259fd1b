// The computer's turn: narrow the candidates, think aloud, and name the next guess.
#include <climits>

#include "console/console.h"
#include "console/messages.h"
#include "player/player.h"

namespace player {

namespace {

using namespace console;  // for the slot names, k_slot_...

constexpr int k_none = -1;

// What the computer says by the number of candidates left, first matching row wins: a remark
// before choosing, optionally a listing of the first candidates, then the guess.
struct Comment {
  int min_count;
  int max_count;
  int remark;   // slot, or k_none
  int listing;  // slot that shows the first candidates, or k_none
  int guess;    // slot that names the guess
};
constexpr Comment k_comments[] = {
    {1, 1, k_slot_one_left, k_none, k_slot_one_left_guess},
    {2, 2, k_slot_two_left, k_slot_two_left_listed, k_slot_two_left_guess},
    {3, 3, k_slot_three_left, k_slot_three_left_listed, k_slot_three_left_guess},
    {4, 4, k_slot_four_left, k_slot_four_left_listed, k_slot_four_left_guess},
    {5, 9, k_slot_few_left, k_none, k_slot_few_left_guess},
    {201, INT_MAX, k_slot_many_left, k_none, k_slot_many_left_guess},
    {10, 200, k_none, k_none, k_slot_some_left_guess},
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
  console::print_slot(k_slot_thinking);
  candidate_count =
      filter_candidates(candidate_count, candidate_table.data(), rows, guesses, answers);
  if (candidate_count < 1) contradiction_dialog(rows, guesses, answers);
  console::print_slot(k_slot_remaining, candidate_count);

  if (rows == 1) {
    const Code guess = opening_guess(guesses[0], answers[0]);
    console::print_slot(k_slot_book_guess, guess);
    return guess;
  }

  const Comment& comment = comment_for(candidate_count);
  if (comment.remark != k_none) console::print_slot(comment.remark);
  if (comment.listing != k_none) {
    // A listing shows as many candidates as its slot takes numbers.
    console::print_slot_values(comment.listing, candidate_table.data(),
                               console::slot_argument_count(comment.listing));
  }
  const Code guess = choose_guess(candidate_count, candidate_table.data());
  console::print_slot(comment.guess, guess);
  return guess;
}

}  // namespace player
